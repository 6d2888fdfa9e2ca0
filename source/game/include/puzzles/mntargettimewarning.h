// MNTargetTimeWarning: the Tournament target-time warning each puzzle model owns. In the last
// seconds before the target time of the tournament's current slot it plays a tick or a tock,
// alternating, once a second, then one sound when the target passes, and is silent after.
// It reads the active profile and plays through MNSound; main thread only. With no profile,
// no current slot or a slot of another puzzle type it stays silent.
#pragma once

namespace Kelvo_lib {

class MNTargetTimeWarning {
public:
    static constexpr float kWarningSeconds = 30.0f;

    // puzzleType: the ePuzzleTypeFlag of the owning model.
    explicit MNTargetTimeWarning(int puzzleType) : m_puzzleType(puzzleType) {}

    // Restarts the beat; bNewTarget also forgets that the target has passed.
    void Reset(bool bNewTarget);
    // One frame of a Tournament puzzle whose clock now reads timer seconds.
    void Tick(float timer, float delta);

private:
    int m_puzzleType;
    float m_fSecondTimer = 0.0f;
    bool m_bTickTock = true;
    bool m_bExpired = false;
};

} // namespace Kelvo_lib
