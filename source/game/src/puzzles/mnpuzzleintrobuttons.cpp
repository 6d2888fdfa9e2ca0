#include <puzzles/mnpuzzleintrobuttons.h>

#include <shell/mnsound.h>

#include <framework/ksprite.h>
#include <kelvo/input/kinputsystem.h>
#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

bool StrictlyInside(const kSprite& sprite, int x, int y) {
    return x > sprite.GetX() && x < sprite.GetX() + sprite.GetWidth() && y > sprite.GetY() &&
           y < sprite.GetY() + sprite.GetHeight();
}

} // namespace

void MNPuzzleIntroButtons::Reset() {
    m_bContinueHot = true;
    m_bHelpHot = false;
    m_bDebounce = true;
    m_bDown = false;
}

MNPuzzleIntroButtons::eChoice MNPuzzleIntroButtons::Tick(const kSprite& continueButton,
                                                         const kSprite& helpButton, int x, int y) {
    const bool bHeld = kInput != nullptr && kInput->GetInputState(KI_WII_PAD1_BUTTON_A, 0) != 0.0f;
    bool bRelease = false;
    if (bHeld) {
        if (!m_bDebounce) {
            m_bDown = true;
            m_bDebounce = true;
        }
    } else {
        if (m_bDown) {
            m_bDown = false;
            bRelease = true;
        }
        if (m_bDebounce && !bRelease) {
            m_bDebounce = false;
        }
    }
    const bool bOnContinue = StrictlyInside(continueButton, x, y);
    const bool bOnHelp = !bOnContinue && StrictlyInside(helpButton, x, y);
    if ((bOnContinue && !m_bContinueHot) || (bOnHelp && !m_bHelpHot)) {
        MNSound::PlaySoundEffect(SFX_HIGHLIGHT);
    }
    m_bContinueHot = bOnContinue;
    m_bHelpHot = bOnHelp;
    if (bRelease && (bOnContinue || bOnHelp)) {
        MNSound::PlaySoundEffect(SFX_PRESS);
        kLogFmt("%s\n", bOnContinue ? "CONTINUE" : "HELP");
        return bOnContinue ? CHOICE_CONTINUE : CHOICE_HELP;
    }
    return CHOICE_NONE;
}

} // namespace Kelvo_lib
