// MNPuzzleIntroButtons: the CONTINUE and HELP buttons of a puzzle widget's intro panel: which
// one the pointer is over (a highlight sound when that changes) and which one the A button is
// let go on (a press sound); a press held when the panel opens does not count. Every puzzle's
// intro is placed and drawn here alike. The widget owns this and the two button sprites; main
// thread only.
#pragma once

#include <services/mninputedge.h>

namespace Kelvo_lib {

class kFont;
class kSprite;

class MNPuzzleIntroButtons {
public:
    enum eChoice { CHOICE_NONE, CHOICE_CONTINUE, CHOICE_HELP };

    // The panel opens afresh: CONTINUE lit, the A button ignored until it is let go.
    void Reset();
    // One frame of the remote: the button chosen, if any.
    eChoice Tick(const kSprite& continueButton, const kSprite& helpButton);

    bool IsContinueHot() const { return m_bContinueHot; }
    bool IsHelpHot() const { return m_bHelpHot; }

    // Centres the buttons across the display, CONTINUE at y 250 and HELP at y 400; a missing
    // sprite is skipped.
    static void Place(kSprite* continueButton, kSprite* helpButton);
    // The intro: the title in white centred at y 24, then each button white, or yellow under
    // the pointer, with its caption (texts 24 and 139) in ink.
    void Render(kFont& titleFont, kFont& captionFont, const char* title, kSprite& continueButton,
                kSprite& helpButton) const;

private:
    MNInputEdge m_input;
    bool m_bDebounce = true;
    bool m_bDown = false;
    bool m_bContinueHot = true;
    bool m_bHelpHot = false;
};

} // namespace Kelvo_lib
