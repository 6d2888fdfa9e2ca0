// The save block: global settings and four profile records, written to flash memory as
// exactly MN_SAVE_DATA_SIZE bytes. The layout is defined once (mnsavedata.cpp): every
// field big-endian at a fixed offset behind a header of magic, version and a checksum of
// the rest. Plain records owned by whoever holds the MNSaveData; one thread. Reading a
// block of the wrong size, magic, version or checksum fails with a reason and leaves the
// records untouched.
#pragma once

#include <services/mnvolume.h>
#include <services/puzzletypes.h>

#include <console/types.h>

namespace Kelvo_lib {

constexpr int MN_SAVE_DATA_SIZE = 5972;
constexpr u32 MN_SAVE_DATA_VERSION = 1;
constexpr int MN_NUM_PROFILES = 4;
constexpr int MN_PROFILE_NAME_SIZE = 16;
// The most letters the on-screen keyboard takes for a profile's or a Quick Blast run's name.
constexpr int MN_TYPED_NAME_LETTERS = 8;
constexpr int MN_ACTIVE_PUZZLE_DATA_SIZE = 210;
constexpr int MN_TOURNAMENT_DATA_SIZE = 500;
constexpr int MN_TOURNAMENT_SLOTS = 20;
constexpr int MN_QUICKBLAST_NAME_SIZE = 32;
constexpr int MN_QUICKBLAST_STATS = 50;
// A Quick Blast run's time until the player chooses one, in seconds.
constexpr float MN_QUICKBLAST_TIME_LIMIT = 1200.0f;
// One played bit per puzzle-bank entry.
constexpr int MN_PLAYED_BITS = 1536;
// How many of the last puzzles of each bank type a new round of the played set avoids.
constexpr int MN_RECENT_DEPTH = 7;
constexpr int MN_NUM_PUZZLE_TYPES = 4;

// The game's languages, as the save block and the puzzle bank number them.
enum eLanguage {
    LANGUAGE_UK_ENGLISH = 0,
    LANGUAGE_FRENCH = 1,
    LANGUAGE_ITALIAN = 2,
    LANGUAGE_GERMAN = 3,
    LANGUAGE_SPANISH = 4,
    LANGUAGE_DUTCH = 5,
    LANGUAGE_US_ENGLISH = 6,
    LANGUAGE_CANADIAN_ENGLISH = 7,
    LANGUAGE_COUNT = 8,
    LANGUAGE_NONE = 255, // none saved yet
};

// A puzzle in progress that can be resumed.
struct SaveGameActivePuzzle {
    bool bActive;
    u32 type; // ePuzzleTypeFlag
    u32 id;   // bank puzzle id
    u8 data[MN_ACTIVE_PUZZLE_DATA_SIZE];

    void Clear();
};

// A ladder slot's m_puzzleStatus.
enum eTournamentSlotStatus {
    SLOT_LOCKED = 0,
    SLOT_OPEN = 1,
    SLOT_FAILED = 2,   // ended unsolved while open
    SLOT_PASSED = 3,   // passed or abandoned
    SLOT_COMPLETE = 4, // solved late, or solved after a fail or pass
    SLOT_PERFECT = 5,  // solved within the target time at the first attempt
};

// Whether a slot of the status can be chosen and played: open, failed or passed.
constexpr bool IsPlayableSlot(int status) {
    return status == SLOT_OPEN || status == SLOT_FAILED || status == SLOT_PASSED;
}

struct MNTournamentPuzzleData {
    char m_puzzleType;   // ePuzzleTypeFlag; 0 before the ladder is drawn
    int m_puzzleId;      // -1 before the ladder is drawn
    char m_puzzleStatus; // eTournamentSlotStatus
    int m_score;
    float m_fTargetTime;
    float m_fCompleteTime;
};

// A record's levels are stored as LevelOf numbers them; the modes read and write them as
// ePuzzleDifficulty through the records' own calls.
struct MNTournamentData {
    bool m_bNewGame;
    int m_currentPuzzle;
    char m_currentDifficulty;         // the ladder's level
    char m_highestDifficultyUnlocked; // the highest level opened
    char m_numPasses;
    char m_numPassesUsed;
    int m_targetScore;
    int m_currentScore;
    MNTournamentPuzzleData m_puzzleDataList[MN_TOURNAMENT_SLOTS];

    void Clear();
    ePuzzleDifficulty GetDifficulty() const { return DifficultyOfLevel(m_currentDifficulty); }
    void SetDifficulty(ePuzzleDifficulty level) {
        m_currentDifficulty = static_cast<char>(LevelOf(level));
    }
    ePuzzleDifficulty GetHighestUnlocked() const {
        return DifficultyOfLevel(m_highestDifficultyUnlocked);
    }
    void SetHighestUnlocked(ePuzzleDifficulty level) {
        m_highestDifficultyUnlocked = static_cast<char>(LevelOf(level));
    }
};

struct MNQuickBlastStat {
    int m_score; // -1: empty
};

struct MNQuickBlastData {
    bool m_bNewGame;
    char m_name[MN_QUICKBLAST_NAME_SIZE];
    char m_difficulty; // the run's level
    float m_fTimeLimit;
    char m_puzzles; // ePuzzleTypeFlag bits
    int m_currentScore;
    int m_statOffset;
    MNQuickBlastStat m_statList[MN_QUICKBLAST_STATS];

    void Clear();
    ePuzzleDifficulty GetDifficulty() const { return DifficultyOfLevel(m_difficulty); }
    void SetDifficulty(ePuzzleDifficulty level) {
        m_difficulty = static_cast<char>(LevelOf(level));
    }
};

struct MNFastAndFunData {
    int m_currentPuzzle;
    int m_mostBeginnerPuzzlesComplete;
    int m_mostIntermediatePuzzlesComplete;
    int m_mostProPuzzlesComplete;

    void Clear();
    // The best run of a level; null for MINI or past pro.
    int* BestRunOf(ePuzzleDifficulty level);
    const int* BestRunOf(ePuzzleDifficulty level) const;
};

struct MNSaveProfileData {
    u8 bUsed;
    char name[MN_PROFILE_NAME_SIZE];
    u8 handedness;
    u8 musicVolume;
    u8 soundVolume;
    u8 bSudokuHighlight; // highlight the row and column of the sudoku cell in use
    MNQuickBlastData quickblastData;
    MNTournamentData tournamentData;
    MNFastAndFunData fastandfunData;
    SaveGameActivePuzzle tournamentActivePuzzle;
    SaveGameActivePuzzle simplypuzzleActivePuzzle;
    u8 playedBits[MN_PLAYED_BITS / 8];
    // Per bank type (1 to 4 at 0 to 3), the bank indices of its last puzzles, newest
    // first; -1 for none.
    s16 recent[MN_NUM_PUZZLE_TYPES][MN_RECENT_DEPTH];

    // Everything to the defaults of an unused slot.
    void Clear();
    // What belongs to the language's puzzle bank: tournament, resume records, played
    // puzzles.
    void ClearLanguageData();

    bool IsPlayed(int bankIndex) const;
    void SetPlayed(int bankIndex, bool bPlayed);
    // Whether the bank index is among the last depth puzzles of the bank type.
    bool IsRecent(int type, int bankIndex, int depth) const;
    void AddRecent(int type, int bankIndex);
};

struct MNSaveData {
    u32 version;
    u8 language;      // eLanguage, LANGUAGE_NONE when none is saved
    s8 activeProfile; // 0 to 3, -1 none
    MNSaveProfileData profiles[MN_NUM_PROFILES];

    // A fresh block: no language, no active profile, four unused slots.
    void Clear();
};

// The block as its bytes; out holds MN_SAVE_DATA_SIZE bytes.
void WriteSaveData(const MNSaveData& data, u8* out);
// Fills data from a block of size bytes; the reason it was refused, or null. Every field is
// brought into its range (mnsaveranges.h).
const char* ReadSaveData(const u8* block, int size, MNSaveData& data);

} // namespace Kelvo_lib
