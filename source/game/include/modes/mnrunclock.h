// MNRunClock: the clock of a timed run of puzzles (Quick Blast, Fast and Fun): the time of
// the run's finished puzzles and of the one being played, as last read from its screen. The
// run's clock moves only on frames where the puzzle's own clock moved, so it stands through
// the intro, help and completion. A plain value its mode owns; main thread only.
#pragma once

namespace Kelvo_lib {

class MNRunClock {
public:
    // The run's seconds so far.
    float Total() const { return m_finished + m_puzzle; }
    // Takes the playing puzzle's clock; false, and nothing taken, when it has not moved.
    bool Follow(float puzzleTime) {
        if (puzzleTime == m_puzzle) {
            return false;
        }
        m_puzzle = puzzleTime;
        return true;
    }
    // The next puzzle's clock starts at 0.
    void StartPuzzle() { m_puzzle = 0.0f; }
    // The puzzle ends having taken puzzleTime, or the time last read: it counts as finished.
    void EndPuzzle(float puzzleTime) {
        m_finished += puzzleTime;
        m_puzzle = 0.0f;
    }
    void EndPuzzle() { EndPuzzle(m_puzzle); }
    // A new run: nothing on the clock.
    void Clear() { m_finished = m_puzzle = 0.0f; }

private:
    float m_finished = 0.0f;
    float m_puzzle = 0.0f;
};

} // namespace Kelvo_lib
