// PuzzleBank: the puzzle bank of one language (file layout in puzzlebankformat.h).
// Load reads and checks the index once and keeps the file open; GetPuzzle reads one
// record from it and returns the bank's current Puzzle, which the bank owns and
// replaces at the next GetPuzzle. A missing or corrupt file leaves the bank empty, and
// a corrupt record gives null, each with a logged error. Random draws take the generator
// and the player's record of played puzzles from the caller. Main thread only.
#pragma once

#include <services/puzzlebankformat.h>

#include <kelvo/containers/karray.h>
#include <kelvo/io/kfileiostream.h>

namespace Kelvo_lib {

class Puzzle;
class kmRandomMersenneTwister;
struct MNSaveProfileData;

class PuzzleBank {
public:
    PuzzleBank() = default;
    PuzzleBank(const PuzzleBank&) = delete;
    PuzzleBank& operator=(const PuzzleBank&) = delete;
    ~PuzzleBank() { Unload(); }

    // The disc path of a language's bank ("wii/puz_uken.kmn" for eLanguage 0) into
    // name; false for a language outside 0 to 7 or a name that does not fit.
    static bool GetFileName(int language, char* name, int size);

    // Loads the bank of an eLanguage from the disc; false when it is missing or corrupt.
    bool Load(int language);
    // Loads a bank from a stream that its owner keeps, unmoved by anyone else, until
    // Unload or the bank's end; false when it is corrupt.
    bool Load(kIOStreamSeekable* stream);
    // Drops the index, the current puzzle and the file.
    void Unload();

    // The puzzle with that bank id, when its entry is of that eLanguage or of all;
    // null (logged) when there is none or its record is corrupt.
    Puzzle* GetPuzzle(int id, int language);

    // Steps currentIdx back or forward through the bank ids of that type and
    // difficulty in the language (or all languages), in bank order, and returns the id
    // there; past either end returns -2, leaving currentIdx at -1 or at the count.
    int GetNextPrevPuzzleId(int& currentIdx, int type, ePuzzleDifficulty difficulty, int language,
                            bool bPrevious);

    // A random bank id of that type and difficulty in the language (or all languages),
    // from random. With a player's record: never one it has played until it has played
    // them all, then, starting over, never one of its last seven of the type; the id is
    // marked played and recent in it. Without one (null): any, marking nothing. -1 when
    // the bank has none.
    int GetRandomPuzzleId(int type, ePuzzleDifficulty difficulty, int language,
                          kmRandomMersenneTwister& random, MNSaveProfileData* record);
    // That puzzle, loaded; null when none can be drawn or loaded.
    Puzzle* GetRandomPuzzle(int type, ePuzzleDifficulty difficulty, int language,
                            kmRandomMersenneTwister& random, MNSaveProfileData* record);

    int GetNumEntries() const { return m_entries.Size(); }
    const PuzzleBankEntry& GetEntry(int index) const { return m_entries(index); }
    // The index of the entry with that bank id, or -1.
    int FindEntry(int id) const;
    // Whether the bank id is a puzzle of that ePuzzleType in the language (or all).
    bool HoldsPuzzle(int id, int type, int language) const;

private:
    // Reads the index of the stream, which the bank then reads its records from.
    bool Open(kIOStreamSeekable* stream);
    bool ReadIndex();
    // Fills the entries from the index chunk; the reason they are refused, or null.
    const char* ParseIndex(const kArray<u8>& bytes, u32 count);
    // Enters the record group at the entry's offset, when it has the type's group id and
    // lies inside the records.
    bool EnterRecord(const PuzzleBankEntry& entry, u32 formId, kIFFContext* top,
                     kIFFContext* record);
    Puzzle* ReadRecord(const PuzzleBankEntry& entry);
    // The bank indices of the entries of that type and difficulty in the language.
    kArray<int> MatchingEntries(int type, ePuzzleDifficulty difficulty, int language) const;

    kArray<PuzzleBankEntry> m_entries;
    kIOStreamSeekable* m_stream = nullptr;
    kFileIOStream m_file; // the disc file, when loaded by language
    u32 m_recordsStart = 0;
    u32 m_recordsEnd = 0;
    Puzzle* m_current = nullptr;
};

} // namespace Kelvo_lib
