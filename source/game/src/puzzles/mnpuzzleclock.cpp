#include <puzzles/mnpuzzleclock.h>
#include <puzzles/mnpuzzlewidgetkit.h>

#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <tui/splittime.h>

#include <framework/kfont.h>

#include <cstdio>

namespace Kelvo_lib {

namespace {

// The plate's margin around the text: room for the digits and the plate's rounded edge.
constexpr float kPlateLeft = 10.0f;
constexpr float kPlateTop = 5.0f;

} // namespace

MNPuzzleClock::MNPuzzleClock() : m_plate(PixelSprite("puzzles", "clock_plate")) {}

int MNPuzzleClock::ShownSeconds(bool bRunClock, float playTime) {
    float seconds = playTime;
    MNProfile* profile = MNProfileManager::GetActiveProfile();
    if (bRunClock && profile != nullptr) {
        seconds = profile->m_hackTimer;
    }
    return seconds > 0.0f ? static_cast<int>(seconds) : 0;
}

void MNPuzzleClock::Render(kFont& font, int x, int y, int seconds, unsigned int colour) const {
    if (m_plate.Get() != nullptr) {
        m_plate->SetPosition(static_cast<float>(x) - kPlateLeft, static_cast<float>(y) - kPlateTop);
        m_plate->Render();
    }
    int sec = 0;
    int min = 0;
    int hours = 0;
    SplitTime(seconds, &sec, &min, &hours);
    char text[32];
    std::snprintf(text, sizeof(text), "%02d:%02d:%02d", hours, min, sec);
    font.SetColour(colour, false);
    font.Print(x, y, text, 0, 0.0f);
}

} // namespace Kelvo_lib
