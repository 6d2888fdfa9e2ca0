// The puzzle bank file, one per language ("wii/puz_uken.kmn"): an IFF file whose every
// number is big-endian. The index is read once at load; each record is a group of its
// own at a known offset, read when it is asked for, so a load touches only the index.
//
//   FORM "PZBK"
//     "PBHD"  8 bytes: format version u16 (1), 0 u16, entry count u32 (at most 1,536)
//     "PBIX"  16 bytes per entry, in bank order, bank ids strictly ascending:
//             bank id s32, old id s32, type u8 (ePuzzleType), difficulty u8 (0-3),
//             language s8 (an eLanguage 0-7, or -1 for all), 0 u8,
//             offset u32 of the record's FORM header from the start of the file
//     LIST "PZRC"  the records, each one group inside this list:
//       FORM "SDKU"  "SDAT" sudoku
//       FORM "WSCH"  "WDAT" wordsearch
//       FORM "CRWD"  "CDAT" crossword, and "SPEL" when it has a hidden word
//       FORM "FTWD"  "FDAT" fitword, and "SPEL" when it has a hidden word
//   Chunks of other ids are skipped. A record's ids, difficulty and language are its
//   index entry's; the bodies hold the rest (str8: length u8 below 128, then the bytes;
//   str16: length u16 below 512, then the bytes; no terminators):
//     SDAT  size u8 (9 or 6); givens, size x size u8 (0 or 1 to size); solution,
//           size x size u8 (1 to size; every given agrees with it)
//     WDAT  rows u8, cols u8 (1 to 15 each); title str8; rows x cols letters u8;
//           trail count u8, then that many cells u8; word count u8 (at most 24), then
//           per word: first u8, last u8 (indices into the trail, one per letter), word str8
//     CDAT  rows u8, cols u8 (1 or more each); spellout index s16; word count u16 (at
//           most 255), then per word: direction u8 (0 across, 1 down), start cell u16,
//           word str8 (within the grid from its start), clue str16; then per cell:
//           across word u8, its letter u8, down word u8, its letter u8 (255 none);
//           then rows x cols solution letters u8 (0 for a block)
//     FDAT  as CDAT without the clues
//     SPEL  difficulty u32, word str8, cell count u16, then that many cells u16
//           (numbered from 1)
#pragma once

#include <services/puzzletypes.h>

#include <kelvo/io/kiff.h>

#include <console/types.h>

namespace Kelvo_lib {

constexpr unsigned int PUZZLE_BANK_VERSION = 1;
constexpr int PUZZLE_BANK_MAX_ENTRIES = 1536;
constexpr unsigned int PUZZLE_BANK_HEADER_SIZE = 8;
constexpr unsigned int PUZZLE_BANK_ENTRY_SIZE = 16;

constexpr unsigned int PUZZLE_BANK_ID_FORM = kIFFMakeId("FORM");
constexpr unsigned int PUZZLE_BANK_ID_LIST = kIFFMakeId("LIST");
constexpr unsigned int PUZZLE_BANK_ID_BANK = kIFFMakeId("PZBK");
constexpr unsigned int PUZZLE_BANK_ID_HEADER = kIFFMakeId("PBHD");
constexpr unsigned int PUZZLE_BANK_ID_INDEX = kIFFMakeId("PBIX");
constexpr unsigned int PUZZLE_BANK_ID_RECORDS = kIFFMakeId("PZRC");
constexpr unsigned int PUZZLE_BANK_ID_SPELLOUT = kIFFMakeId("SPEL");

// Wordsearch limits: a cell index fits a byte of saved state, with 255 meaning none.
constexpr int PUZZLE_WORDSEARCH_MAX_SIDE = 15;
constexpr int PUZZLE_WORDSEARCH_MAX_WORDS = 24;
constexpr int PUZZLE_WORDSEARCH_MAX_TRAIL_CELLS = 255;

// One index entry: where a record is and what it is.
struct PuzzleBankEntry {
    int id;
    int oldId;
    u8 type;       // ePuzzleType
    u8 difficulty; // 0 to 3
    s8 language;   // an eLanguage, -1 for all
    u32 offset;    // of the record's FORM header from the start of the file
};

// The group and body chunk ids of a record type; false for an unknown type.
bool PuzzleBankRecordIds(int type, unsigned int* formId, unsigned int* bodyId);

} // namespace Kelvo_lib
