// What the game shell's suites share: the UI suites' frame loop fixture (the render layer
// started, the remote input system selected over the host's remotes), a fresh flash
// memory, and remote 1's A button held or let go by hand.
#pragma once

#include "../framework/ui_test_support.h"
#include "temporary_host_directory.h"

#include <console/wpad.h>

namespace shell_test {

class ShellTest : public ui_test::ScriptedInputTest {
protected:
    // Holds or lets go of A, as the input system reads it from now on.
    void HoldA(bool bHeld) {
        HostInputSetHeld(0, bHeld ? u32{WPAD_BUTTON_A} : 0u);
        m_input.Update();
    }

    test_support::TemporaryNand m_nand;
};

} // namespace shell_test
