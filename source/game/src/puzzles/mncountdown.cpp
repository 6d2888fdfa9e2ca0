#include <puzzles/mncountdown.h>

namespace Kelvo_lib {

bool MNCountdown::InWindow(float left) const {
    switch (m_window) {
    case WINDOW_WHOLE_SECONDS:
        // Truncated to whole seconds, 1 to the length: compared as floats, so that no time
        // left is converted out of an int's range.
        return left >= 1.0f && left < m_length + 1.0f;
    case WINDOW_BELOW_LENGTH:
        return left > 0.0f && left < m_length;
    case WINDOW_UP_TO_LENGTH:
        return left > 0.0f && left <= m_length;
    }
    return false;
}

bool MNCountdown::Warn(float left, float delta) {
    if (!InWindow(left)) {
        return false;
    }
    if (m_beat == BEAT_AFTER_A_SECOND) {
        m_toNext -= delta;
    }
    const bool bDue = m_toNext <= 0.0f;
    if (bDue) {
        m_toNext += 1.0f;
    }
    if (m_beat == BEAT_ON_ENTRY) {
        m_toNext -= delta;
    }
    return bDue;
}

} // namespace Kelvo_lib
