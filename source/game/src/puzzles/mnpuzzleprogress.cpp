#include <puzzles/mnpuzzleprogress.h>

#include <services/mnsaveranges.h>
#include <services/mnsound.h>

#include <kelvo/math/kmrandom.h>
#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

MNPuzzleProgress::MNPuzzleProgress(const Kind& kind, const MNPuzzleSources& sources)
    : m_kind(kind), m_random(sources.random), m_debugKeyPressed(sources.debugKeyPressed),
      m_targetWarning(kind.typeFlag) {}

void MNPuzzleProgress::Tick(float delta) {
    if (m_state == PUZZLE_STATE_PLAYING) {
        m_time += delta;
    }
    if (m_rules.bTargetTimeWarning) {
        m_targetWarning.Tick(m_time, delta);
    }
    if (m_debugKeyPressed()) {
        kLogFmt("Debug: Completing %s game\n", m_kind.puzzleName);
        EndPuzzle();
    }
}

bool MNPuzzleProgress::CheckWin() {
    if (!IsSolved()) {
        return false;
    }
    if (m_kind.solvedLog != nullptr) {
        kLogFmt("%s\n", m_kind.solvedLog);
    }
    m_state = PUZZLE_STATE_COMPLETED;
    return true;
}

bool MNPuzzleProgress::EndIfSolved() {
    if (!CheckWin()) {
        return false;
    }
    GameOverSignal();
    return true;
}

bool MNPuzzleProgress::JudgeSweep() {
    if (!CheckWin()) {
        return false;
    }
    MNSound::PlaySoundEffect(SFX_RIGHT);
    GameOverSignal();
    return true;
}

void MNPuzzleProgress::EndPuzzle() {
    m_state = PUZZLE_STATE_COMPLETED;
    GameOverSignal();
}

void MNPuzzleProgress::StartPuzzle(const MNPuzzleRules& rules) {
    m_rules = rules;
    m_time = 0.0f;
    m_targetWarning.Reset(true);
}

void MNPuzzleProgress::RestartClock(bool resetTime) {
    if (resetTime) {
        m_time = 0.0f;
    }
    m_targetWarning.Reset(resetTime);
}

void MNPuzzleProgress::LoadTime(float stored) {
    m_time = TimeInRange(stored);
    if (!(m_time == stored)) {
        kLogSys(m_kind.logName, "LoadPuzzleState: play time out of range, %d seconds kept\n",
                static_cast<int>(m_time));
    }
}

int MNPuzzleProgress::RandomBelow(int n) {
    return static_cast<int>(m_random.rand()) % n;
}

void MNPuzzleProgress::RejectEntry() {
    ++m_errorsMade;
    if (m_rules.bTakeTurns) {
        MNSound::PlaySoundEffect(SFX_WRONG);
    }
    InvalidEntrySignal();
}

void MNPuzzleProgress::AcceptEntry() {
    if (m_rules.bTakeTurns) {
        MNSound::PlaySoundEffect(SFX_RIGHT);
    }
    ValidEntrySignal();
}

} // namespace Kelvo_lib
