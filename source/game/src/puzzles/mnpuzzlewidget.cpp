#include <puzzles/mnheadtoheadstatus.h>
#include <puzzles/mnpuzzlewidget.h>
#include <puzzles/mnpuzzlewidgetkit.h>

#include <services/mnprofile.h>
#include <services/mnresourcemanager.h>
#include <services/mnsound.h>

#include <ui/kuimouse.h>

#include <kelvo/platform/klog.h>

#include <cstdio>
#include <cstring>

namespace Kelvo_lib {

namespace {

void Centre(const kSprite& sprite, float& x, float& y) {
    x = sprite.GetX() + 0.5f * sprite.GetWidth();
    y = sprite.GetY() + 0.5f * sprite.GetHeight();
}

} // namespace

MNPuzzleWidget::MNPuzzleWidget(const Kind& kind)
    : m_input(kind.input), m_buttons(kind.buttons), m_logName(kind.logName),
      m_puzzleName(kind.puzzleName), m_introTitle(kind.introTitle),
      m_sweep(kind.pace, kind.bFlickerHidden) {
    MNSound::ForceRandomMusicChange();
    m_introContinueButton = PixelSprite("fe", "wii_fe_button_256");
    m_introHelpButton = PixelSprite("fe", "wii_fe_button_256");
    MNPuzzleIntroButtons::Place(m_introContinueButton.Get(), m_introHelpButton.Get());
    m_introButtons.Reset();
}

MNPuzzleSources MNPuzzleWidget::GameSources() {
    return {*MNProfile::GetRandomGen(), &MNProfile::CheatKeyPressed};
}

void MNPuzzleWidget::LoadAllArt() {
    m_titleFont = MNResourceManager::GetFont("wii_font_30", "wii_font_30");
    m_font = MNResourceManager::GetFont("wii_grid_font", "wii_grid_font");
    const bool bOwnArt = LoadArt();
    const bool bButtons = m_buttons.Load();
    m_pointer =
        kSharedPtr<kSprite>(kSprite::Create(MNResourceManager::GetSpriteBank("ptr"), "ptr"));
    m_bArtComplete = bOwnArt && bButtons && m_pointer.Get() != nullptr &&
                     m_introContinueButton.Get() != nullptr && m_introHelpButton.Get() != nullptr;
    if (!m_bArtComplete) {
        kLogSys(m_logName, "Art is missing from the disc; the %s stays blank\n", m_puzzleName);
    }
}

void MNPuzzleWidget::Tick(float delta) {
    if (!m_bArtComplete || MNHeadToHeadStatus::IsPaused(Rules().bTakeTurns)) {
        return;
    }
    MNSound::PlayRandomInGameMusic();
    if (m_state == STATE_INTRO) {
        TickIntro();
    } else if (m_state == STATE_SWEEP) {
        if (m_sweep.Tick(delta, *this)) {
            SweepEnded();
        }
    } else {
        TickPlay(delta);
    }
}

void MNPuzzleWidget::TickIntro() {
    switch (m_introButtons.Tick(*m_introContinueButton.Get(), *m_introHelpButton.Get())) {
    case MNPuzzleIntroButtons::CHOICE_CONTINUE:
        m_state = STATE_PLAY;
        break;
    case MNPuzzleIntroButtons::CHOICE_HELP:
        HelpSignal();
        break;
    case MNPuzzleIntroButtons::CHOICE_NONE:
        break;
    }
}

const MNInputEdge& MNPuzzleWidget::ReadInput() {
    m_input.Update();
    return m_input;
}

void MNPuzzleWidget::StartSweep(int cols, int rows) {
    m_state = STATE_SWEEP;
    m_sweep.Start(cols, rows);
}

MNPuzzleWidget::eLook MNPuzzleWidget::OfferedHintLook(const int* hintsLeft) const {
    if (!Rules().bHintsOffered) {
        return LOOK_HIDDEN;
    }
    return hintsLeft[0] + hintsLeft[1] + hintsLeft[2] > 0 ? LOOK_LIVE : LOOK_GREYED;
}

MNPuzzleWidget::eButton MNPuzzleWidget::TickBottomButtons(const MNInputEdge& input, eLook hint,
                                                          eLook third) {
    const eButton chosen = m_buttons.Tick(input, hint, third);
    if (chosen == BUTTON_MENU) {
        MNSound::PlaySoundEffect(SFX_BACK);
        MenuSignal();
    }
    return chosen;
}

void MNPuzzleWidget::GetMenuButtonCentre(float& x, float& y) const {
    Centre(*GetMenuButton(), x, y);
}

void MNPuzzleWidget::GetHintButtonCentre(float& x, float& y) const {
    Centre(*GetHintButton(), x, y);
}

void MNPuzzleWidget::Render() {
    if (!m_bArtComplete) {
        return;
    }
    if (m_state == STATE_INTRO) {
        RenderIntro();
    } else {
        RenderPlay();
    }
}

void MNPuzzleWidget::RenderIntro() {
    m_introButtons.Render(*m_titleFont.Get(), *m_font.Get(), Txt(m_introTitle),
                          *m_introContinueButton.Get(), *m_introHelpButton.Get());
    RenderPointer();
}

void MNPuzzleWidget::RenderPointer() {
    m_pointer->SetPosition(static_cast<float>(kUIMouse::GetIntX()),
                           static_cast<float>(kUIMouse::GetIntY()));
    m_pointer->Render();
}

void MNPuzzleWidget::RenderClock(int x, int y, unsigned int colour, float playTime) {
    m_clock.Render(*m_font.Get(), x, y,
                   MNPuzzleClock::ShownSeconds(Rules().bClockRunsDown, playTime), colour);
}

void MNPuzzleWidget::RenderCounter(int x, int y, unsigned int colour, const char* label, int count,
                                   int total) {
    const size_t length = std::strlen(label);
    const char* separator = length > 0 && label[length - 1] == ':' ? " " : ": ";
    char text[96];
    std::snprintf(text, sizeof(text), "%.60s%s%d/%d", label, separator, count, total);
    m_font->SetColour(colour, false);
    m_font->Print(x, y, text, 0, 0.0f);
}

} // namespace Kelvo_lib
