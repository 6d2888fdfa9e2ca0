// The input table as the remotes fill it: the host's remotes (or a script) through the
// console's remote library into kInputSystemWII, then read back through kInput.
#include "log_capture.h"
#include "temporary_file.h"

#include <kelvo/input/kinputsystemwii.h>
#include <kelvo/platform/kplatform.h>

#include <console/host.h>
#include <console/host_input.h>
#include <console/wpad.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

using namespace Kelvo_lib;

namespace {

// Records logged lines and the thread that logged each.
class RecordingHook : public test_support::LogCapture {
public:
    void Message(long time, int level, int indent, const char* sys, const char* text,
                 bool newLine) override {
        LogCapture::Message(time, level, indent, sys, text, newLine);
        threads.push_back(std::this_thread::get_id());
    }

    std::vector<std::thread::id> threads;
};

class WiiInputTest : public testing::Test {
protected:
    void SetUp() override {
        kPlatform_Init();
        HostInputReset();
        m_system.Init(nullptr);
        kInputSystemBase::Select(&m_system);
        m_system.Update(); // settles the last reading on the host's start-up state
    }

    void TearDown() override {
        kInputSystemBase::Select(nullptr);
        HostInputReset();
    }

    float Value(kInputType code, unsigned int device = 0) const {
        return kInput->GetInputState(code, device);
    }

    kInputSystemWII m_system;
};

// The cross keys are written under both of their names; other buttons have one.
struct ButtonCase {
    u32 bit;
    kInputType code;
    kInputType alias;
};
const ButtonCase kButtons[] = {
    {WPAD_BUTTON_UP, KI_PAD1_UP, KI_PAD1_DPAD_UP},
    {WPAD_BUTTON_DOWN, KI_PAD1_DOWN, KI_PAD1_DPAD_DOWN},
    {WPAD_BUTTON_LEFT, KI_PAD1_LEFT, KI_PAD1_DPAD_LEFT},
    {WPAD_BUTTON_RIGHT, KI_PAD1_RIGHT, KI_PAD1_DPAD_RIGHT},
    {WPAD_BUTTON_A, KI_WII_PAD1_BUTTON_A, KI_WII_PAD1_BUTTON_A},
    {WPAD_BUTTON_B, KI_WII_PAD1_BUTTON_B, KI_WII_PAD1_BUTTON_B},
    {WPAD_BUTTON_HOME, KI_WII_PAD1_BUTTON_HOME, KI_WII_PAD1_BUTTON_HOME},
    {WPAD_BUTTON_PLUS, KI_WII_PAD1_BUTTON_PLUS, KI_WII_PAD1_BUTTON_PLUS},
    {WPAD_BUTTON_MINUS, KI_WII_PAD1_BUTTON_MINUS, KI_WII_PAD1_BUTTON_MINUS},
    {WPAD_BUTTON_1, KI_WII_PAD1_BUTTON_1, KI_WII_PAD1_BUTTON_1},
    {WPAD_BUTTON_2, KI_WII_PAD1_BUTTON_2, KI_WII_PAD1_BUTTON_2},
};

TEST_F(WiiInputTest, ButtonWritesOneOnPressNothingWhileHeldZeroOnRelease) {
    for (const ButtonCase& button : kButtons) {
        HostInputSetHeld(0, button.bit);
        m_system.Update();
        EXPECT_EQ(Value(button.code), 1.0f) << button.code;
        EXPECT_EQ(Value(button.alias), 1.0f) << button.alias;

        m_system.SetInputState(button.code, 0.5f, 0);
        m_system.Update();
        EXPECT_EQ(Value(button.code), 0.5f) << "held: not written again";

        HostInputSetHeld(0, 0);
        m_system.Update();
        EXPECT_EQ(Value(button.code), 0.0f) << button.code;
        EXPECT_EQ(Value(button.alias), 0.0f) << button.alias;
    }
}

TEST_F(WiiInputTest, PointerAndRestingMotionReachTheTableEveryFrame) {
    HostInputSetPointer(0, 0.0f, 1.0f);
    m_system.Update();
    EXPECT_FLOAT_EQ(Value(KI_MOUSE_X_AXIS), -1.35f);
    EXPECT_FLOAT_EQ(Value(KI_MOUSE_Y_AXIS), 0.6f);
    HostInputSetPointer(0, 0.75f, 0.25f);
    m_system.Update();
    EXPECT_FLOAT_EQ(Value(KI_MOUSE_X_AXIS), 0.675f);
    EXPECT_FLOAT_EQ(Value(KI_MOUSE_Y_AXIS), -0.6f);
    EXPECT_EQ(Value(KI_WII_PAD1_ACCEL_Y), -1.0f);
    EXPECT_EQ(Value(KI_WII_PAD1_HORIZON_X), 1.0f);
    EXPECT_EQ(Value(KI_WII_PAD1_VERTICAL_X), 1.0f);
    EXPECT_EQ(Value(KI_WII_PAD1_DISTANCE), 2.0f);
}

TEST_F(WiiInputTest, AbsentFirstRemoteStopsTheFrameBeforeLaterRemotes) {
    HostInputSetConnected(1, true);
    HostInputSetHeld(1, WPAD_BUTTON_A);
    HostInputSetConnected(0, false);
    m_system.Update(); // remote 0's farewell
    m_system.Update(); // remote 0 gives nothing
    EXPECT_EQ(Value(KI_WII_PAD1_BUTTON_A, 1), 0.0f);
    EXPECT_EQ(m_system.CheckStatus(0), KI_STATUS_DISCONNECTED);
    HostInputSetConnected(0, true);
    m_system.Update();
    EXPECT_EQ(Value(KI_WII_PAD1_BUTTON_A, 1), 1.0f);
    EXPECT_EQ(m_system.CheckStatus(1), KI_STATUS_OK);
}

TEST_F(WiiInputTest, ButtonHeldAtDisconnectionIsReleasedWhenTheRemoteReturns) {
    HostInputSetHeld(0, WPAD_BUTTON_A);
    m_system.Update();
    HostInputSetHeld(0, 0);
    HostInputSetConnected(0, false);
    m_system.Update();
    EXPECT_EQ(Value(KI_WII_PAD1_BUTTON_A), 1.0f) << "the table keeps its values while away";
    HostInputSetConnected(0, true);
    m_system.Update();
    EXPECT_EQ(Value(KI_WII_PAD1_BUTTON_A), 0.0f);

    HostInputSetHeld(0, WPAD_BUTTON_B);
    m_system.Update();
    HostInputSetConnected(0, false);
    m_system.Update();
    HostInputSetConnected(0, true);
    m_system.SetInputState(KI_WII_PAD1_BUTTON_B, 0.5f, 0);
    m_system.Update();
    EXPECT_EQ(Value(KI_WII_PAD1_BUTTON_B), 0.5f) << "still held on return: no new press";
}

TEST_F(WiiInputTest, StatusAndTypeFollowTheLastReading) {
    EXPECT_EQ(m_system.CheckStatus(0), KI_STATUS_OK);
    EXPECT_EQ(m_system.CheckType(0), KI_WII_DEVICE_WIIMOTE);
    EXPECT_EQ(m_system.CheckStatus(1), KI_STATUS_DISCONNECTED);
    EXPECT_EQ(m_system.CheckStatus(4), KI_STATUS_DISCONNECTED);
    EXPECT_EQ(m_system.CheckType(7), KI_DEVICE_UNKNOWN);
}

TEST_F(WiiInputTest, RefusesCodesAndDeviceSlotsOutsideTheTable) {
    const kInputType beyondCodes = static_cast<kInputType>(KI_NUM_INPUT_TYPES);
    m_system.SetInputState(beyondCodes, 1.0f, 0);
    m_system.SetInputState(KI_NONE, 1.0f, 8);
    m_system.SetInputState(KI_WII_PAD1_BUTTON_A, 1.0f, 0xFFFFFFFFu);
    for (unsigned int device = 0; device < kInputSystemBase::kNumDeviceSlots; ++device) {
        EXPECT_EQ(Value(KI_NONE, device), 0.0f) << device;
    }
    EXPECT_EQ(Value(beyondCodes, 0), 0.0f);
    EXPECT_EQ(Value(KI_NONE, 8), 0.0f);
    EXPECT_EQ(Value(static_cast<kInputType>(-1), 0), 0.0f);
}

TEST_F(WiiInputTest, SyncCallbackRunsOnTheMainThreadDuringUpdate) {
    RecordingHook hook;
    std::thread([] { HostInputPressSyncButton(); }).join();
    EXPECT_TRUE(hook.lines.empty());
    m_system.Update();
    EXPECT_EQ(hook.Count("SyncCallback: Sync button pressed"), 1);
    HostBeginFrame();
    m_system.Update();
    EXPECT_EQ(hook.Count("SyncCallback: Sync complete: 1 controllers connected"), 1);
    for (const std::thread::id& thread : hook.threads) {
        EXPECT_EQ(thread, std::this_thread::get_id());
    }
    EXPECT_TRUE(m_system.Init(nullptr));
    EXPECT_EQ(hook.Count("Init KPAD"), 0) << "the libraries are set up once";
}

// A focus change is observable only through GlobalFocus.
class FocusSystem : public kInputSystemWII {
public:
    void GlobalFocus(bool focus) override { calls.push_back(focus); }
    std::vector<bool> calls;
};

TEST(InputSelectTest, SelectMovesFocusOnlyOnChange) {
    FocusSystem first;
    FocusSystem second;
    kInputSystemBase::Select(&first);
    kInputSystemBase::Select(&first);
    kInputSystemBase::Select(&second);
    kInputSystemBase::Select(nullptr);
    EXPECT_EQ(first.calls, (std::vector<bool>{true, false}));
    EXPECT_EQ(second.calls, (std::vector<bool>{true, false}));
    EXPECT_EQ(kInput, nullptr);
}

// Frame by frame, a script's events as the table shows them after each frame's Update.
TEST_F(WiiInputTest, ScriptedInputReplaysIntoTheTableFrameByFrame) {
    const test_support::TemporaryFile script(
        "0 pointer 0.25 0.75\n"
        "2 hold A\n"
        "3 pointer 0.252 0.75        # within the play radius\n"
        "4 pointer 0.75 0.25 hold A,UP\n"
        "5 hold UP\n"
        "6 disconnect\n"
        "7 hold none\n"
        "8 connect\n"
        "9 remote 1 connect hold B\n");
    ASSERT_TRUE(HostInputLoadScript(script.Path()));
    struct Row {
        float a, up, dpadUp, x, y;
        kInputStatus status;
        float b1;
    };
    constexpr kInputStatus OK = KI_STATUS_OK, GONE = KI_STATUS_DISCONNECTED;
    const Row expected[] = {
        /* 1 */ {0, 0, 0, -0.675f, 0.2f, OK, 0},
        /* 2 */ {1, 0, 0, -0.675f, 0.2f, OK, 0},
        /* 3 */ {1, 0, 0, -0.675f, 0.2f, OK, 0},
        /* 4 */ {1, 1, 1, 0.675f, -0.6f, OK, 0},
        /* 5 */ {0, 1, 1, 0.675f, -0.6f, OK, 0},
        /* 6 */ {0, 1, 1, 0.675f, -0.6f, GONE, 0},
        /* 7 */ {0, 1, 1, 0.675f, -0.6f, GONE, 0},
        /* 8 */ {0, 0, 0, 0.675f, -0.6f, OK, 0},
        /* 9 */ {0, 0, 0, 0.675f, -0.6f, OK, 1},
    };
    u32 frame = 1;
    for (const Row& row : expected) {
        HostInputBeginFrame(frame);
        m_system.Update();
        SCOPED_TRACE(testing::Message() << "frame " << frame);
        EXPECT_EQ(Value(KI_WII_PAD1_BUTTON_A), row.a);
        EXPECT_EQ(Value(KI_PAD1_UP), row.up);
        EXPECT_EQ(Value(KI_PAD1_DPAD_UP), row.dpadUp);
        EXPECT_FLOAT_EQ(Value(KI_MOUSE_X_AXIS), row.x);
        EXPECT_FLOAT_EQ(Value(KI_MOUSE_Y_AXIS), row.y);
        EXPECT_EQ(m_system.CheckStatus(0), row.status);
        EXPECT_EQ(Value(KI_WII_PAD1_BUTTON_B, 1), row.b1);
        ++frame;
    }
}

} // namespace
