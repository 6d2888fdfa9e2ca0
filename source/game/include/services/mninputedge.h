// MNInputEdge: player 1's A button and pointer as one screen reads them once a frame: the
// button as edges (pressed this frame, held, released this frame, idle) and the pointer in
// whole pixels of the display, with tests of the two against a sprite. Every screen, menu and
// puzzle widget keeps one for itself. Main thread only; without an input system the button
// reads as up.
#pragma once

namespace Kelvo_lib {

class kSprite;

class MNInputEdge {
public:
    // The button this frame, as the keyboard, the wordsearch model and the puzzle widgets take it.
    enum eButtonState { IDLE = -1, PRESSED = 1, HELD = 2, RELEASED = 3 };

    // Reads the button, then the pointer: call once a frame, after the input system's update.
    void Update();
    // Reads the button alone, for screens that show no pointer.
    void UpdateButton();
    // Takes a reading as given.
    void Set(int x, int y, bool bButtonDown);

    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    eButtonState GetState() const { return m_state; }
    bool IsHeld() const { return m_bDown; }
    bool WasPressed() const { return m_state == PRESSED; }
    bool WasReleased() const { return m_state == RELEASED; }
    // This frame's press is taken by whoever reads first: the rest of the frame sees it held.
    void TakePress();
    // The pointer on the sprite's current frame, and a press or a release there this frame.
    bool IsOver(const kSprite& sprite) const;
    bool PressedOn(const kSprite& sprite) const { return WasPressed() && IsOver(sprite); }
    bool ReleasedOn(const kSprite& sprite) const { return WasReleased() && IsOver(sprite); }
    // The state with a press held back: while bHoldBack is set the button reads idle, and the
    // hold ends once the button is up, so the press that opened a screen is not taken there.
    eButtonState StateHoldingBack(bool& bHoldBack) const;

private:
    void SetButton(bool bButtonDown);

    int m_x = 0;
    int m_y = 0;
    bool m_bDown = false;
    eButtonState m_state = IDLE;
};

} // namespace Kelvo_lib
