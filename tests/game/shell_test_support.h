// What the game shell's suites share: the render layer started (render_fixture), the
// remote input system selected over the host's remotes, a fresh flash memory, and remote
// 1's A button pressed and released by hand, frame by frame.
#pragma once

#include "render_fixture.h"
#include "temporary_host_directory.h"

#include <kelvo/input/kinputsystemwii.h>

#include <console/host_input.h>
#include <console/wpad.h>

namespace shell_test {

class ShellTest : public render_fixture::RenderTest {
protected:
    void SetUp() override {
        HostInputReset();
        m_input.Init(nullptr);
        Kelvo_lib::kInputSystemBase::Select(&m_input);
        RenderTest::SetUp();
    }

    void TearDown() override {
        RenderTest::TearDown();
        Kelvo_lib::kInputSystemBase::Select(nullptr);
        HostInputReset();
    }

    // Holds or lets go of A, as the input system reads it from now on.
    void HoldA(bool bHeld) {
        HostInputSetHeld(0, bHeld ? u32{WPAD_BUTTON_A} : 0u);
        m_input.Update();
    }

    test_support::TemporaryNand m_nand;
    Kelvo_lib::kInputSystemWII m_input;
};

} // namespace shell_test
