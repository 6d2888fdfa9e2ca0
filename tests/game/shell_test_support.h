// What the game shell's suites share: the UI suites' frame loop fixture (the render layer
// started, the remote input system selected over the host's remotes, remote 1's A button
// held or let go by hand) and a fresh flash memory.
#pragma once

#include "../framework/ui_test_support.h"
#include "temporary_host_directory.h"

namespace shell_test {

class ShellTest : public ui_test::ScriptedInputTest {
protected:
    test_support::TemporaryNand m_nand;
};

} // namespace shell_test
