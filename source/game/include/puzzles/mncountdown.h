// MNCountdown: the warning of a clock's last seconds, one each second while the time left lies
// in a window at its end: a Tournament puzzle's target time, the anagram's minute, the timed
// modes' run and player clocks. The owner says each frame how much time is left, plays the
// warning when asked and handles the time up itself; each gives the window as its rules count
// it. A plain value; main thread only.
#pragma once

namespace Kelvo_lib {

class MNCountdown {
public:
    // How the window's length is read against the time left.
    enum eWindow {
        // The whole seconds left (truncated) are 1 to the length.
        WINDOW_WHOLE_SECONDS,
        // More than 0 and less than the length are left.
        WINDOW_BELOW_LENGTH,
        // More than 0 and at most the length are left.
        WINDOW_UP_TO_LENGTH,
    };
    // When a warning comes: as the window is entered and then each second counted in it, or
    // only once a second has been counted (each frame counted before the warning is asked for).
    enum eBeat { BEAT_ON_ENTRY, BEAT_AFTER_A_SECOND };

    MNCountdown(eWindow window, float length, eBeat beat = BEAT_ON_ENTRY)
        : m_window(window), m_length(length), m_beat(beat) {
        Restart();
    }

    // The beat starts again, as it did at the start.
    void Restart() { m_toNext = m_beat == BEAT_AFTER_A_SECOND ? 1.0f : 0.0f; }
    bool InWindow(float left) const;
    // One frame of delta seconds with left seconds left: whether a warning sounds now. The
    // beat counts only inside the window.
    bool Warn(float left, float delta);

private:
    eWindow m_window;
    float m_length;
    eBeat m_beat;
    float m_toNext = 0.0f; // seconds to the next warning
};

} // namespace Kelvo_lib
