#include <puzzles/mnpuzzleintrobuttons.h>
#include <puzzles/mnpuzzlewidgetkit.h>

#include <services/mnpalette.h>
#include <services/mnsound.h>
#include <services/mntextid.h>

#include <framework/kfont.h>
#include <framework/ksprite.h>
#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

constexpr float kContinueY = 250.0f;
constexpr float kHelpY = 400.0f;
constexpr int kTitleY = 24;
constexpr unsigned int kHotTint = 0xFFFFFF00;

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
                                                         const kSprite& helpButton) {
    m_input.Update();
    const int x = m_input.GetX();
    const int y = m_input.GetY();
    bool bRelease = false;
    if (m_input.IsHeld()) {
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

void MNPuzzleIntroButtons::Place(kSprite* continueButton, kSprite* helpButton) {
    const int halfWidth = DisplayWidth() / 2;
    const struct {
        kSprite* sprite;
        float y;
    } buttons[] = {{continueButton, kContinueY}, {helpButton, kHelpY}};
    for (const auto& button : buttons) {
        if (button.sprite != nullptr) {
            button.sprite->SetPosition(halfWidth - 0.5f * button.sprite->GetWidth(), button.y);
        }
    }
}

// The captions are ink, as the buttons are light whether lit or not.
void MNPuzzleIntroButtons::Render(kFont& titleFont, kFont& captionFont, const char* title,
                                  kSprite& continueButton, kSprite& helpButton) const {
    int w = 0;
    int h = 0;
    titleFont.SetColour(MNPalette::kWhite, false);
    titleFont.GetStringBound(w, h, title);
    titleFont.Print(DisplayWidth() / 2 - w / 2, kTitleY, title, 0, 0.0f);
    const struct {
        kSprite* sprite;
        bool bHot;
        int text;
    } buttons[] = {{&continueButton, m_bContinueHot, TEXT_CONTINUE},
                   {&helpButton, m_bHelpHot, TEXT_HOW_TO_PLAY}};
    for (const auto& button : buttons) {
        button.sprite->SetColour(button.bHot ? kHotTint : MNPalette::kWhite);
        button.sprite->Render();
        PrintCentred(captionFont, *button.sprite, Txt(button.text), MNPalette::kInk);
    }
}

} // namespace Kelvo_lib
