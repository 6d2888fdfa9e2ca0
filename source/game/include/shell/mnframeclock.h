// MNFrameClock: the main loop's timing from the platform clock: each frame's time, cut to
// a ceiling so that a stall does not leap the game forward, and when the next disc check
// is due. Main thread only; a clock that goes backwards gives a frame time of 0.
#pragma once

namespace Kelvo_lib {

class MNFrameClock {
public:
    // The ceiling once the splash sequence has finished, and before.
    static constexpr float K_MAX_FRAME_TIME = 0.06f;
    static constexpr float K_MAX_SPLASH_FRAME_TIME = 1.0f / 15.0f;
    static constexpr float K_DISC_CHECK_PERIOD = 2.0f;

    // now: the platform clock's seconds when the loop starts.
    explicit MNFrameClock(float now) : m_last(now), m_lastDiscCheck(now) {}

    // The seconds since the previous frame, cut to the ceiling; starts a new frame.
    float NextFrameTime(float now, bool bSplashFinished);
    // True once each K_DISC_CHECK_PERIOD of the clock, at the frame that reaches it.
    bool IsDiscCheckDue();

private:
    float m_last;
    float m_lastDiscCheck;
};

} // namespace Kelvo_lib
