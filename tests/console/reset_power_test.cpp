// RESET and POWER: presses raised on any thread reach the callbacks only at the retrace
// wait, on the main thread, once per delivery; the input script raises them by frame.
#include "temporary_file.h"

#include <console/host.h>
#include <console/host_input.h>
#include <console/os.h>
#include <console/vi.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

struct Call {
    char button;
    std::thread::id thread;
};
std::vector<Call> s_calls;

void OnReset() {
    s_calls.push_back({'R', std::this_thread::get_id()});
}
void OnPower() {
    s_calls.push_back({'P', std::this_thread::get_id()});
}

std::string Buttons() {
    std::string buttons;
    for (const Call& call : s_calls) {
        buttons += call.button;
    }
    return buttons;
}

class ResetPowerTest : public testing::Test {
protected:
    void SetUp() override {
        HostDeliverButtonPresses(); // drops whatever an earlier test left pressed
        s_calls.clear();
        OSSetResetCallback(OnReset);
        OSSetPowerCallback(OnPower);
    }
    void TearDown() override {
        OSSetResetCallback(nullptr);
        OSSetPowerCallback(nullptr);
        HostDeliverButtonPresses();
        HostInputReset();
    }
};

TEST_F(ResetPowerTest, PressesFromAnotherThreadRunAtTheRetraceOnTheMainThread) {
    std::thread([] {
        HostRaiseReset();
        HostRaisePower();
    }).join();
    EXPECT_EQ(Buttons(), "");
    VIWaitForRetrace();
    EXPECT_EQ(Buttons(), "RP");
    for (const Call& call : s_calls) {
        EXPECT_EQ(call.thread, std::this_thread::get_id());
    }
    VIWaitForRetrace();
    EXPECT_EQ(Buttons(), "RP");
}

TEST_F(ResetPowerTest, PressesBeforeOneDeliveryCountOnce) {
    HostRaiseReset();
    HostRaiseReset();
    HostRaiseReset();
    HostDeliverButtonPresses();
    HostDeliverButtonPresses();
    EXPECT_EQ(Buttons(), "R");
}

TEST_F(ResetPowerTest, PressWithoutCallbackIsDropped) {
    EXPECT_TRUE(OSHasPowerCallback());
    EXPECT_EQ(OSSetPowerCallback(nullptr), &OnPower);
    EXPECT_FALSE(OSHasPowerCallback());
    HostRaisePower();
    HostDeliverButtonPresses();
    OSSetPowerCallback(OnPower);
    HostDeliverButtonPresses();
    EXPECT_EQ(Buttons(), "");
}

TEST_F(ResetPowerTest, ScriptPressesTheButtonsOnTheirFrames) {
    const test_support::TemporaryFile script("2 reset\n3 power reset\n");
    ASSERT_TRUE(HostInputLoadScript(script.Path()));
    std::vector<std::string> byFrame;
    for (u32 frame = 1; frame <= 4; ++frame) {
        HostInputBeginFrame(frame);
        HostDeliverButtonPresses();
        byFrame.push_back(Buttons());
        s_calls.clear();
    }
    EXPECT_EQ(byFrame, (std::vector<std::string>{"", "R", "RP", ""}));
}

TEST_F(ResetPowerTest, ScriptRefusesARemoteOnTheConsolesButtons) {
    for (const char* line : {"1 remote 1 reset\n", "1 remote 0 power\n", "1 reboot\n"}) {
        const test_support::TemporaryFile script(line);
        EXPECT_FALSE(HostInputCheckScript(script.Path())) << line;
    }
}

} // namespace
