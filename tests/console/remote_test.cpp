// The remote library over the host's remotes: memory, connection, pointer, sync callbacks.
#include <console/host.h>
#include <console/host_input.h>
#include <console/kpad.h>
#include <console/wpad.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

int s_allocations = 0;
int s_frees = 0;

void* CountingAlloc(u32 size) {
    ++s_allocations;
    return std::malloc(size);
}

BOOL CountingFree(void* block) {
    ++s_frees;
    std::free(block);
    return TRUE;
}

struct SyncCall {
    s32 result;
    s32 count;
    std::thread::id thread;
};
std::vector<SyncCall> s_syncCalls;

void RecordSync(s32 result, s32 count) {
    s_syncCalls.push_back({result, count, std::this_thread::get_id()});
    if (result == WPAD_SYNC_EVT_START) {
        WPADStartSyncDevice();
    }
}

class RemoteTest : public testing::Test {
protected:
    void SetUp() override {
        HostResetRemoteLibrary();
        HostInputReset();
        s_allocations = 0;
        s_frees = 0;
        s_syncCalls.clear();
    }

    void TearDown() override {
        HostResetRemoteLibrary();
        HostInputReset();
    }

    static void StartLibrary() {
        ASSERT_EQ(WPADRegisterAllocator(CountingAlloc, CountingFree), WPAD_ERR_NONE);
        KPADInit();
        for (s32 channel = 0; channel < WPAD_MAX_CONTROLLERS; ++channel) {
            KPADEnableDPD(channel);
        }
    }

    static s32 Read(s32 channel, KPADStatus* status) { return KPADRead(channel, status, 1); }
};

TEST_F(RemoteTest, DeliversNothingUntilInitialisedWithAnAllocator) {
    KPADStatus status{};
    EXPECT_EQ(Read(0, &status), 0);
    EXPECT_EQ(WPADProbe(0, nullptr), WPAD_ERR_NO_CONTROLLER);
    EXPECT_EQ(WPADRegisterAllocator(nullptr, CountingFree), WPAD_ERR_INVALID);
    KPADInit();
    EXPECT_EQ(Read(0, &status), 0);

    StartLibrary();
    KPADInit();
    EXPECT_EQ(s_allocations, 1);
    EXPECT_EQ(Read(0, &status), 1);
    HostResetRemoteLibrary();
    EXPECT_EQ(s_frees, 1);
}

TEST_F(RemoteTest, OnlyRemoteZeroIsConnectedAtStart) {
    StartLibrary();
    KPADStatus status{};
    ASSERT_EQ(Read(0, &status), 1);
    EXPECT_EQ(status.dev_type, WPAD_DEV_CORE);
    u32 type = 99;
    EXPECT_EQ(WPADProbe(0, &type), WPAD_ERR_NONE);
    EXPECT_EQ(type, WPAD_DEV_CORE);
    for (s32 channel = 1; channel < WPAD_MAX_CONTROLLERS; ++channel) {
        EXPECT_EQ(Read(channel, &status), 0) << channel;
        EXPECT_EQ(WPADProbe(channel, nullptr), WPAD_ERR_NO_CONTROLLER) << channel;
    }
    EXPECT_EQ(Read(4, &status), 0);
    EXPECT_EQ(Read(-1, &status), 0);
    EXPECT_EQ(WPADProbe(4, nullptr), WPAD_ERR_NO_CONTROLLER);
    EXPECT_EQ(KPADRead(0, nullptr, 1), 0);
    EXPECT_EQ(KPADRead(0, &status, 0), 0);
}

TEST_F(RemoteTest, PointerLandsWhereTheGameMapsItBack) {
    StartLibrary();
    EXPECT_NE(WPADGetSensorBarPosition() & 0xFF, 0);
    struct Case {
        f32 nx, ny;  // host pointer, fractions of the picture
        f32 x, y;    // remote's pointer
        f32 mappedY; // the game's (y + 1.0) / 1.6, clamped
    };
    const Case cases[] = {
        {0.0f, 0.0f, -1.35f, -1.0f, 0.0f}, {1.0f, 1.0f, 1.35f, 0.6f, 1.0f},
        {0.5f, 0.25f, 0.0f, -0.6f, 0.25f}, {0.25f, 0.75f, -0.675f, 0.2f, 0.75f},
        {2.0f, -1.0f, 1.35f, -1.0f, 0.0f}, // off the picture: held at its edge
    };
    for (const Case& c : cases) {
        HostInputSetPointer(0, c.nx, c.ny);
        KPADStatus status{};
        ASSERT_EQ(Read(0, &status), 1);
        EXPECT_FLOAT_EQ(status.pos.x, c.x) << c.nx;
        EXPECT_FLOAT_EQ(status.pos.y, c.y) << c.ny;
        EXPECT_NEAR((status.pos.y + 1.0f) / 1.6f, c.mappedY, 1e-6f) << c.ny;
        EXPECT_NEAR((status.pos.x + 1.35f) / 2.7f, std::min(c.nx, 1.0f), 1e-6f) << c.nx;
    }
}

TEST_F(RemoteTest, PlayRadiusHoldsSmallMovesAndSensitivityScalesLargeOnes) {
    StartLibrary();
    KPADSetPosParam(0, 0.015f, 1.0f);
    KPADStatus status{};
    HostInputSetPointer(0, 0.5f, 0.5f);
    Read(0, &status);
    HostInputSetPointer(0, 0.503f, 0.5f); // 0.0081 across: inside the radius
    Read(0, &status);
    EXPECT_FLOAT_EQ(status.pos.x, 0.0f);
    HostInputSetPointer(0, 0.51f, 0.5f); // 0.027: followed all the way
    Read(0, &status);
    EXPECT_FLOAT_EQ(status.pos.x, 2.7f * 0.51f - 1.35f);

    KPADSetPosParam(0, -1.0f, 1.0f); // refused: settings stay
    KPADSetPosParam(0, 0.0f, 1.5f);
    KPADSetPosParam(0, 0.0f, 0.5f);
    HostInputSetPointer(0, 1.0f, 0.5f);
    const f32 before = status.pos.x;
    Read(0, &status);
    EXPECT_FLOAT_EQ(status.pos.x, (before + 1.35f) / 2.0f);
}

TEST_F(RemoteTest, DroppedRemoteSaysFarewellOnceThenNothing) {
    StartLibrary();
    HostInputSetHeld(0, WPAD_BUTTON_A | WPAD_BUTTON_UP);
    KPADStatus status{};
    ASSERT_EQ(Read(0, &status), 1);
    EXPECT_EQ(status.hold, WPAD_BUTTON_A | WPAD_BUTTON_UP);

    HostInputSetConnected(0, false);
    ASSERT_EQ(Read(0, &status), 1);
    EXPECT_EQ(status.dev_type, WPAD_DEV_NOT_FOUND);
    EXPECT_EQ(status.hold, 0u);
    EXPECT_EQ(Read(0, &status), 0);
    EXPECT_EQ(WPADProbe(0, nullptr), WPAD_ERR_NO_CONTROLLER);

    HostInputToggleConnected(0);
    ASSERT_EQ(Read(0, &status), 1);
    EXPECT_EQ(status.dev_type, WPAD_DEV_CORE);
}

// The program drops a remote: it is gone at once, says farewell at the next read and stays
// away until it connects again; a remote connecting then shows its pointer a read later.
TEST_F(RemoteTest, DisconnectedRemoteStaysDownAndAConnectingOnesCameraStartsARead) {
    KPADDisableDPD(2); // before KPADInit: every camera is off anyway
    StartLibrary();
    HostInputSetConnected(2, true);
    HostInputSetPointer(2, 0.25f, 0.25f);
    KPADStatus status{};
    ASSERT_EQ(Read(2, &status), 1);
    EXPECT_EQ(status.pos.x, 0.0f) << "the camera is starting";
    WPADDisconnect(2);
    WPADDisconnect(3); // not connected: nothing
    WPADDisconnect(4);
    EXPECT_EQ(WPADProbe(2, nullptr), WPAD_ERR_NO_CONTROLLER);
    ASSERT_EQ(Read(2, &status), 1);
    EXPECT_EQ(status.dev_type, WPAD_DEV_NOT_FOUND);
    HostInputSetPointer(2, 0.75f, 0.75f);
    EXPECT_EQ(Read(2, &status), 0) << "down until it connects again";
    HostInputSetConnected(2, true);
    ASSERT_EQ(Read(2, &status), 1);
    EXPECT_EQ(status.pos.x, 0.0f);
    ASSERT_EQ(Read(2, &status), 1);
    EXPECT_FLOAT_EQ(status.pos.x, 2.7f * 0.75f - 1.35f);
    KPADDisableDPD(2);
    HostInputSetPointer(2, 0.5f, 0.5f);
    ASSERT_EQ(Read(2, &status), 1);
    EXPECT_FLOAT_EQ(status.pos.x, 2.7f * 0.75f - 1.35f) << "off: not reported";
    EXPECT_TRUE(HostInputGetRemote(0).connected);
}

TEST_F(RemoteTest, ButtonsCombineAndBadRemotesChangeNothing) {
    HostInputSetButton(1, WPAD_BUTTON_A, true);
    HostInputSetButton(1, WPAD_BUTTON_B | WPAD_BUTTON_HOME, true);
    HostInputSetButton(1, WPAD_BUTTON_A, false);
    EXPECT_EQ(HostInputGetRemote(1).held, WPAD_BUTTON_A | WPAD_BUTTON_B | WPAD_BUTTON_HOME)
        << "A's release waits for the frame after the one that sees its press";
    HostInputBeginFrame(1);
    EXPECT_EQ(HostInputGetRemote(1).held, WPAD_BUTTON_A | WPAD_BUTTON_B | WPAD_BUTTON_HOME);
    HostInputBeginFrame(2);
    EXPECT_EQ(HostInputGetRemote(1).held, WPAD_BUTTON_B | WPAD_BUTTON_HOME);
    HostInputSetPointer(1, std::nanf(""), 0.5f);
    EXPECT_FLOAT_EQ(HostInputGetRemote(1).nx, 0.5f);
    HostInputSetConnected(4, true);
    HostInputSetHeld(-1, WPAD_BUTTON_A);
    EXPECT_FALSE(HostInputGetRemote(4).connected);
}

TEST_F(RemoteTest, SyncCallbacksRunOnTheReadingThread) {
    StartLibrary();
    WPADSetSyncDeviceCallback(RecordSync);
    std::thread host([] { HostInputPressSyncButton(); });
    host.join();
    EXPECT_TRUE(s_syncCalls.empty());

    KPADStatus status{};
    Read(0, &status);
    ASSERT_EQ(s_syncCalls.size(), 1u);
    EXPECT_EQ(s_syncCalls[0].result, WPAD_SYNC_EVT_START);
    EXPECT_EQ(s_syncCalls[0].thread, std::this_thread::get_id());
    Read(1, &status);
    EXPECT_EQ(s_syncCalls.size(), 1u) << "pairing finishes in a later frame";

    HostInputSetConnected(2, true);
    HostBeginFrame();
    Read(0, &status);
    ASSERT_EQ(s_syncCalls.size(), 2u);
    EXPECT_EQ(s_syncCalls[1].result, WPAD_SYNC_EVT_DONE);
    EXPECT_EQ(s_syncCalls[1].count, 2);
    EXPECT_EQ(s_syncCalls[1].thread, std::this_thread::get_id());
}

} // namespace
