// MNButtonEdge: one button of remote 1 read from the current input system once a frame,
// reported as presses and releases. Without an input system the button reads as up.
// Main thread only.
#pragma once

#include <kelvo/input/kinputtypes.h>

namespace Kelvo_lib {

class MNButtonEdge {
public:
    explicit MNButtonEdge(kInputType button) : m_button(button) {}

    // Reads the button; call once a frame, after the input system's update.
    void Update();
    bool IsHeld() const { return m_bHeld; }
    // Went down, or up, at the last Update.
    bool WasPressed() const { return m_bHeld && !m_bWasHeld; }
    bool WasReleased() const { return !m_bHeld && m_bWasHeld; }

private:
    kInputType m_button;
    bool m_bHeld = false;
    bool m_bWasHeld = false;
};

} // namespace Kelvo_lib
