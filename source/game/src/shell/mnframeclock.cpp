#include <shell/mnframeclock.h>

namespace Kelvo_lib {

namespace {

// Seconds of slack on the period, so that rounding in the clock does not push a check one
// frame late.
constexpr float kPeriodSlack = 0.001f;

} // namespace

float MNFrameClock::NextFrameTime(float now, bool bSplashFinished) {
    const float ceiling = bSplashFinished ? K_MAX_FRAME_TIME : K_MAX_SPLASH_FRAME_TIME;
    float delta = now - m_last;
    m_last = now;
    if (delta < 0.0f) {
        delta = 0.0f;
    }
    return delta > ceiling ? ceiling : delta;
}

bool MNFrameClock::IsDiscCheckDue() {
    if (m_last - m_lastDiscCheck < K_DISC_CHECK_PERIOD - kPeriodSlack &&
        m_last >= m_lastDiscCheck) {
        return false;
    }
    m_lastDiscCheck = m_last;
    return true;
}

} // namespace Kelvo_lib
