// The puzzle bank's field encoding, one definition for its reader and its writer: the
// record bodies laid out in puzzlebankformat.h, through the game's big-endian byte codec.
// Decoding checks every count, length and index against the body and the record's own
// grid before anything is allocated or indexed, and returns null or the reason it
// refused the body (the record is then partly filled and must be dropped). Encoding
// refuses, the same way, a record whose counts or values its fields cannot hold. One
// thread.
#pragma once

#include <services/mnbytecodec.h>
#include <services/puzzledata.h>

namespace Kelvo_lib {

const char* DecodeSudokuBody(const u8* data, u32 size, SudokuData& sudoku);
const char* DecodeWordsearchBody(const u8* data, u32 size, WordsearchData& wordsearch);
const char* DecodeCrosswordBody(const u8* data, u32 size, CrosswordData& crossword);
const char* DecodeFitwordBody(const u8* data, u32 size, FitwordData& fitword);
// numCells: the cells of the grid the hidden word lies in.
const char* DecodeSpelloutBody(const u8* data, u32 size, int numCells, SpelloutData& spellout);

const char* EncodeSudokuBody(const SudokuData& sudoku, MNByteWriter& out);
const char* EncodeWordsearchBody(const WordsearchData& wordsearch, MNByteWriter& out);
const char* EncodeCrosswordBody(const CrosswordData& crossword, MNByteWriter& out);
const char* EncodeFitwordBody(const FitwordData& fitword, MNByteWriter& out);
const char* EncodeSpelloutBody(const SpelloutData& spellout, MNByteWriter& out);

} // namespace Kelvo_lib
