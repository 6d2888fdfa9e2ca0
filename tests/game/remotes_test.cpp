// The entry point's hold on the remotes, through the real input system and scripted remotes:
// the pointer camera off until the game turns it on again, and every remote but player 1's
// dropped the frame it shows up, for good until it connects again.
#include "shell_test_support.h"

#include <shell/mnremotes.h>

#include <console/kpad.h>

#include <vector>

namespace {

using namespace Kelvo_lib;

// The pointer as KPAD reports a script's place (the sensor bar above the screen).
float AimX(float nx) {
    return 2.7f * nx - 1.35f;
}

class RemotesTest : public shell_test::ShellTest {
protected:
    // One frame of the main loop as far as the remotes go.
    void Frame() {
        Step();
        MNRemotes::DisconnectAllButPlayerOne();
    }

    float PointerX(unsigned int device) const {
        return m_input.GetInputState(KI_MOUSE_X_AXIS, device);
    }
};

TEST_F(RemotesTest, PointerIsOffUntilTheGameTurnsItOnAgain) {
    LoadScript({"pointer 0.25 0.5", "", "", "pointer 0.75 0.5", "", ""});
    Frame();
    Frame();
    EXPECT_FLOAT_EQ(PointerX(0), AimX(0.25f));
    MNRemotes::TurnPointersOff();
    for (int frame = 0; frame < 3; ++frame) {
        Frame();
        EXPECT_FLOAT_EQ(PointerX(0), AimX(0.25f)) << "off: the move is not reported";
    }
    for (s32 channel = 0; channel < WPAD_MAX_CONTROLLERS; ++channel) {
        KPADEnableDPD(channel); // as the input system's Init turns it on
    }
    Frame();
    EXPECT_FLOAT_EQ(PointerX(0), AimX(0.75f));
}

TEST_F(RemotesTest, AnotherRemoteIsDroppedAtOnceAndStaysDownUntilItConnectsAgain) {
    LoadScript({"remote 1 connect pointer 0.2 0.3 hold A", "remote 1 pointer 0.8 0.7", "",
                "remote 1 connect", ""});
    std::vector<bool> connected;
    for (int frame = 0; frame < 5; ++frame) {
        Frame();
        connected.push_back(HostInputGetRemote(1).connected);
        EXPECT_NE(PointerX(1), AimX(0.2f)) << "frame " << frame;
        EXPECT_NE(PointerX(1), AimX(0.8f)) << "frame " << frame;
        EXPECT_TRUE(HostInputGetRemote(0).connected) << "player 1 stays";
        if (frame == 0) {
            EXPECT_EQ(m_input.GetInputState(KI_WII_PAD1_BUTTON_A, 1), 1.0f) << "read once";
        } else if (frame == 1) {
            EXPECT_EQ(m_input.CheckStatus(1), KI_STATUS_DISCONNECTED) << "its drop is seen";
        }
    }
    EXPECT_EQ(connected, std::vector<bool>(5, false));
    EXPECT_EQ(m_input.CheckStatus(0), KI_STATUS_OK);
}

} // namespace
