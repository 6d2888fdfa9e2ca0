#include <puzzles/mnpuzzleprogress.h>

#include <services/mnsaveranges.h>
#include <services/mnsound.h>

#include <kelvo/math/kmrandom.h>
#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

MNPuzzleProgress::MNPuzzleProgress(const Kind& kind, const MNPuzzleSources& sources)
    : m_kind(kind), m_random(sources.random), m_debugKeyPressed(sources.debugKeyPressed) {}

void MNPuzzleProgress::Tick(float delta) {
    if (m_state == PUZZLE_STATE_PLAYING) {
        m_time += delta;
    }
    if (m_rules.bTargetTimeWarning) {
        WarnOfTarget(delta);
    }
    if (m_debugKeyPressed()) {
        kLogFmt("Debug: Completing %s game\n", m_kind.puzzleName);
        EndPuzzle();
    }
}

void MNPuzzleProgress::WarnOfTarget(float delta) {
    if (m_bTargetPassed) {
        return;
    }
    const float left = m_rules.targetTime - m_time;
    if (m_targetCountdown.Warn(left, delta)) {
        MNSound::PlaySoundEffect(m_bTick ? SFX_TICK : SFX_TOCK);
        m_bTick = !m_bTick;
    } else if (left <= 0.0f) {
        m_bTargetPassed = true;
        MNSound::PlaySoundEffect(SFX_TARGET_EXPIRED);
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
        MNSound::PlaySoundEffect(SFX_WRONG);
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
    RestartClock(true);
}

void MNPuzzleProgress::RestartClock(bool resetTime) {
    if (resetTime) {
        m_time = 0.0f;
        m_bTargetPassed = false;
    }
    m_targetCountdown.Restart();
    m_bTick = true;
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
