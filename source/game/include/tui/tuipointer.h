// TUIPointer: one reading per tick of the remote's pointer, in whole pixels of the display,
// and of its A button as the menus see it: pressed this tick, held, released this tick,
// idle. A value each menu keeps for itself. Main thread only; without an input system the
// button reads as idle.
#pragma once

namespace Kelvo_lib {

class TUIPointer {
public:
    // The states as the keyboard and the puzzle widgets number them.
    enum eButtonState { IDLE = -1, PRESSED = 1, HELD = 2, RELEASED = 3 };

    // Reads the pointer and the A button of player 1.
    void Update();
    // Takes a reading as given (for callers that read the input themselves).
    void Set(float x, float y, bool bButtonDown);

    float GetX() const { return m_x; }
    float GetY() const { return m_y; }
    eButtonState GetState() const { return m_state; }
    // The state with a press held back: while bHoldBack is set the button reads idle, and the
    // hold ends once the button is up, so the press that opened a screen is not taken there.
    eButtonState StateHoldingBack(bool& bHoldBack) const;
    bool IsPressed() const { return m_state == PRESSED; }
    bool IsReleased() const { return m_state == RELEASED; }

private:
    float m_x = 0.0f;
    float m_y = 0.0f;
    bool m_bDown = false;
    eButtonState m_state = IDLE;
};

} // namespace Kelvo_lib
