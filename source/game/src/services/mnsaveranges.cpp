#include <services/mnsaveranges.h>

#include <services/mnvolume.h>
#include <services/puzzlebank.h>
#include <services/puzzletypes.h>

#include <kelvo/platform/klog.h>

#include <cmath>
#include <cstring>

namespace Kelvo_lib {

namespace {

constexpr int kMaxDifficulty = PUZZLE_LEVELS - 1;
constexpr float kMaxTimeLimit = 86400.0f;
// The puzzle kinds a Quick Blast run may take turns over.
constexpr int kKindBits =
    PUZZLE_FLAG_FITWORD | PUZZLE_FLAG_CROSSWORD | PUZZLE_FLAG_WORDSEARCH | PUZZLE_FLAG_SUDOKU;
constexpr int kEmptyScore = -1;

// A name ends within its field and holds at most the letters the keyboard takes.
template <int N>
void NameInRange(char (&name)[N], const char* what) {
    static_assert(N > MN_TYPED_NAME_LETTERS);
    name[N - 1] = 0;
    if (std::strlen(name) > MN_TYPED_NAME_LETTERS) {
        name[MN_TYPED_NAME_LETTERS] = 0;
        kLogFmt("MNSaveData: %s longer than %d letters, \"%s\" kept\n", what, MN_TYPED_NAME_LETTERS,
                name);
    }
}

// A field clamped into [low, high], logged with what it is when it changes.
template <class Field>
void Clamp(Field& field, int low, int high, const char* what) {
    const int value = static_cast<int>(field);
    if (value >= low && value <= high) {
        return;
    }
    const int kept = value < low ? low : high;
    kLogFmt("MNSaveData: %s %d out of range, %d kept\n", what, value, kept);
    field = static_cast<Field>(kept);
}

void ClampTime(float& seconds, const char* what) {
    const float kept = TimeInRange(seconds);
    if (!(kept == seconds)) {
        kLogFmt("MNSaveData: %s out of range, %d seconds kept\n", what, static_cast<int>(kept));
        seconds = kept;
    }
}

bool IsPuzzleKind(int type) {
    return type == PUZZLE_FLAG_FITWORD || type == PUZZLE_FLAG_CROSSWORD ||
           type == PUZZLE_FLAG_WORDSEARCH || type == PUZZLE_FLAG_SUDOKU;
}

// A level outside beginner to pro, or a run's time that is not a length of at most a day,
// back to the defaults; the kinds of puzzle only those there are; the score and the history
// within their range.
void QuickBlastInRange(MNQuickBlastData& quickBlast) {
    NameInRange(quickBlast.m_name, "Quick Blast name");
    if (quickBlast.m_difficulty < 0 || quickBlast.m_difficulty > kMaxDifficulty) {
        kLogFmt("MNSaveData: Quick Blast level %d unknown, beginner kept\n",
                quickBlast.m_difficulty);
        quickBlast.m_difficulty = 0;
    }
    if (!(quickBlast.m_fTimeLimit > 0.0f && quickBlast.m_fTimeLimit <= kMaxTimeLimit)) {
        kLogFmt("MNSaveData: Quick Blast time limit out of range, %d seconds kept\n",
                static_cast<int>(MN_QUICKBLAST_TIME_LIMIT));
        quickBlast.m_fTimeLimit = MN_QUICKBLAST_TIME_LIMIT;
    }
    if ((quickBlast.m_puzzles & ~kKindBits) != 0) {
        kLogFmt("MNSaveData: Quick Blast puzzle kinds %d unknown, %d kept\n", quickBlast.m_puzzles,
                quickBlast.m_puzzles & kKindBits);
        quickBlast.m_puzzles = static_cast<char>(quickBlast.m_puzzles & kKindBits);
    }
    Clamp(quickBlast.m_currentScore, 0, MN_MOST_POINTS, "Quick Blast score");
    Clamp(quickBlast.m_statOffset, 0, MN_MOST_POINTS, "Quick Blast runs before the history");
    for (MNQuickBlastStat& stat : quickBlast.m_statList) {
        Clamp(stat.m_score, kEmptyScore, MN_MOST_POINTS, "Quick Blast run score");
    }
}

// Why the ladder cannot be played as it stands, or null: a slot of unknown status or kind,
// or one without a puzzle while the ladder is being played (a new one is drawn first).
const char* LadderFault(const MNTournamentData& tournament) {
    for (const MNTournamentPuzzleData& slot : tournament.m_puzzleDataList) {
        if (slot.m_puzzleStatus < SLOT_LOCKED || slot.m_puzzleStatus > SLOT_PERFECT) {
            return "a slot of unknown status";
        }
        if (slot.m_puzzleType != 0 && !IsPuzzleKind(slot.m_puzzleType)) {
            return "a slot of unknown kind";
        }
        if ((slot.m_puzzleType == 0 || slot.m_puzzleId < 0) && !tournament.m_bNewGame) {
            return "a slot without a puzzle in the ladder being played";
        }
    }
    return nullptr;
}

// A ladder with locked slots and none to play opens its first locked one, as solving the slot
// before it would have.
void OpenALockedSlot(MNTournamentData& tournament) {
    MNTournamentPuzzleData* firstLocked = nullptr;
    for (MNTournamentPuzzleData& slot : tournament.m_puzzleDataList) {
        if (IsPlayableSlot(slot.m_puzzleStatus)) {
            return;
        }
        if (slot.m_puzzleStatus == SLOT_LOCKED && firstLocked == nullptr) {
            firstLocked = &slot;
        }
    }
    if (firstLocked != nullptr) {
        kLogFmt("MNSaveData: no tournament slot to play, slot %d opened\n",
                static_cast<int>(firstLocked - tournament.m_puzzleDataList) + 1);
        firstLocked->m_puzzleStatus = SLOT_OPEN;
    }
}

void SlotInRange(MNTournamentPuzzleData& slot) {
    Clamp(slot.m_score, -MN_MOST_POINTS, MN_MOST_POINTS, "Tournament slot score");
    ClampTime(slot.m_fTargetTime, "Tournament target time");
    ClampTime(slot.m_fCompleteTime, "Tournament complete time");
}

// A ladder that cannot be played is reset, with the puzzle stopped in it.
void ResetLadder(MNSaveProfileData& profile, const char* fault) {
    kLogFmt("MNSaveData: tournament reset: %s\n", fault);
    profile.tournamentData.Clear();
    profile.tournamentActivePuzzle.Clear();
}

// A ladder that can be played has each value clamped into its range.
void TournamentInRange(MNSaveProfileData& profile) {
    MNTournamentData& tournament = profile.tournamentData;
    if (const char* fault = LadderFault(tournament)) {
        ResetLadder(profile, fault);
        return;
    }
    int& current = tournament.m_currentPuzzle;
    current = current < 0 || current >= MN_TOURNAMENT_SLOTS ? 0 : current;
    Clamp(tournament.m_currentDifficulty, 0, kMaxDifficulty, "Tournament level");
    Clamp(tournament.m_highestDifficultyUnlocked, 0, kMaxDifficulty, "Tournament level unlocked");
    Clamp(tournament.m_numPasses, 0, MN_TOURNAMENT_SLOTS, "Tournament passes");
    Clamp(tournament.m_numPassesUsed, 0, tournament.m_numPasses, "Tournament passes used");
    Clamp(tournament.m_targetScore, 0, MN_MOST_POINTS, "Tournament target score");
    Clamp(tournament.m_currentScore, -MN_MOST_POINTS, MN_MOST_POINTS, "Tournament score");
    for (MNTournamentPuzzleData& slot : tournament.m_puzzleDataList) {
        SlotInRange(slot);
    }
    OpenALockedSlot(tournament);
}

void FastAndFunInRange(MNFastAndFunData& fastAndFun) {
    Clamp(fastAndFun.m_currentPuzzle, -1, MN_MOST_POINTS, "Fast and Fun puzzle");
    Clamp(fastAndFun.m_mostBeginnerPuzzlesComplete, 0, MN_MOST_POINTS, "Fast and Fun best run");
    Clamp(fastAndFun.m_mostIntermediatePuzzlesComplete, 0, MN_MOST_POINTS, "Fast and Fun best run");
    Clamp(fastAndFun.m_mostProPuzzlesComplete, 0, MN_MOST_POINTS, "Fast and Fun best run");
}

// A stopped puzzle of unknown kind cannot be resumed: it is dropped. Its state is checked by
// the puzzle that loads it.
void StoppedPuzzleInRange(SaveGameActivePuzzle& puzzle, const char* mode) {
    if (puzzle.bActive && !IsPuzzleKind(static_cast<int>(puzzle.type))) {
        kLogFmt("MNSaveData: %s puzzle of unknown kind %u dropped\n", mode, puzzle.type);
        puzzle.Clear();
    }
}

void ProfileInRange(MNSaveProfileData& profile) {
    NameInRange(profile.name, "profile name");
    profile.musicVolume = static_cast<u8>(ClampVolume(profile.musicVolume, "Saved music"));
    profile.soundVolume = static_cast<u8>(ClampVolume(profile.soundVolume, "Saved effect"));
    QuickBlastInRange(profile.quickblastData);
    TournamentInRange(profile);
    FastAndFunInRange(profile.fastandfunData);
    StoppedPuzzleInRange(profile.tournamentActivePuzzle, "stopped Tournament");
    StoppedPuzzleInRange(profile.simplypuzzleActivePuzzle, "stopped Simply Puzzle");
}

// A slot drawn from the bank names a puzzle of its kind there.
bool IsSlotInBank(const MNTournamentPuzzleData& slot, const PuzzleBank& bank, int language) {
    return slot.m_puzzleType == 0 || slot.m_puzzleId < 0 ||
           bank.HoldsPuzzle(slot.m_puzzleId, PuzzleBankType(slot.m_puzzleType), language);
}

} // namespace

float TimeInRange(float seconds) {
    if (!std::isfinite(seconds) || seconds < 0.0f) {
        return 0.0f;
    }
    return seconds > MN_LONGEST_SECONDS ? MN_LONGEST_SECONDS : seconds;
}

void BringIntoRange(MNSaveData& data) {
    if (data.language >= LANGUAGE_COUNT && data.language != LANGUAGE_NONE) {
        kLogFmt("MNSaveData: unknown language %d, none kept\n", data.language);
        data.language = LANGUAGE_NONE;
    }
    if (data.activeProfile < -1 || data.activeProfile >= MN_NUM_PROFILES) {
        data.activeProfile = -1;
    }
    for (MNSaveProfileData& profile : data.profiles) {
        ProfileInRange(profile);
    }
}

void BringLaddersIntoBank(MNSaveData& data, const PuzzleBank& bank, int language) {
    if (bank.GetNumEntries() == 0) {
        return;
    }
    for (MNSaveProfileData& profile : data.profiles) {
        for (const MNTournamentPuzzleData& slot : profile.tournamentData.m_puzzleDataList) {
            if (!IsSlotInBank(slot, bank, language)) {
                ResetLadder(profile, "a slot whose puzzle is not in the bank");
                break;
            }
        }
    }
}

} // namespace Kelvo_lib
