// PuzzleBankWriter: builds a puzzle bank file (puzzlebankformat.h) in memory, for the
// data tool, the tests and the fuzz corpus. Each Add checks the record the way the
// bank's reader will and refuses, with a logged line and false, a record the reader
// would refuse, a bank id already taken, or a record past the bank's 1,536 entries.
// Write lays the entries out in ascending bank id. One thread.
#pragma once

#include <services/puzzlebankformat.h>
#include <services/puzzledata.h>
#include <services/puzzletypes.h>

namespace Kelvo_lib {

class PuzzleBankWriter {
public:
    bool AddSudoku(const SudokuData& sudoku);
    bool AddWordsearch(const WordsearchData& wordsearch);
    // spellout: the hidden word, or null.
    bool AddCrossword(const CrosswordData& crossword, const SpelloutData* spellout);
    bool AddFitword(const FitwordData& fitword, const SpelloutData* spellout);

    int GetNumEntries() const { return m_entries.Size(); }
    // The whole file into file (emptied first).
    void Write(kArray<u8>& file) const;

private:
    struct PendingEntry {
        PuzzleBankEntry entry;
        u32 formStart; // the record's group in m_forms
        u32 formSize;
    };

    // The reason the entry is refused (language as an int, before it became a byte),
    // or null.
    const char* CheckEntry(const PuzzleBankEntry& entry, int language) const;
    // Appends the record's group from its encoded body and hidden word, unless error
    // or the entry refuses it (logged).
    bool AddRecord(const PuzzleBankEntry& entry, int language, const char* error,
                   const kArray<u8>& body, const kArray<u8>* spellout);
    template <class Record, class Encode, class Decode>
    bool AddGridRecord(const Record& record, ePuzzleType type, const SpelloutData* spellout,
                       Encode encode, Decode decode);

    kArray<PendingEntry> m_entries;
    kArray<u8> m_forms;
};

} // namespace Kelvo_lib
