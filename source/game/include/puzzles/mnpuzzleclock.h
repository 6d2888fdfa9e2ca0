// MNPuzzleClock: the one clock of the puzzle screens, "hh:mm:ss" on a paper plate so that
// the dark digits their layouts ask for read on any background; under rules whose clock runs
// down it shows the mode's run clock rather than the puzzle's own. The puzzle widget owns it;
// it owns its plate sprite. Main thread only; without the plate art only the time is drawn.
#pragma once

#include <framework/ksprite.h>

#include <kelvo/containers/ksharedptr.h>

namespace Kelvo_lib {

class kFont;

class MNPuzzleClock {
public:
    MNPuzzleClock();

    // The whole seconds a puzzle shows: its play time, or with bRunClock (a clock that runs
    // down, MNPuzzleRules::bClockRunsDown) the active profile's run clock; never below 0.
    static int ShownSeconds(bool bRunClock, float playTime);
    // The time with its text's top-left corner at (x, y), in the font and colour given.
    void Render(kFont& font, int x, int y, int seconds, unsigned int colour) const;

private:
    kSharedPtr<kSprite> m_plate;
};

} // namespace Kelvo_lib
