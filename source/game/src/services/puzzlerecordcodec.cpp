// The encoding and decoding of each puzzle kind's body and hidden word, checked against the
// body's size and the record's grid.
#include <services/puzzlebankformat.h>
#include <services/puzzlerecordcodec.h>

#include <cstring>
#include <type_traits>

namespace Kelvo_lib {

namespace {

constexpr u32 kShortStringCapacity = 128;
constexpr u32 kClueCapacity = 512;
constexpr int kMaxGridWords = 255; // a cell's word index is a byte, 255 meaning none
constexpr u8 kDirectionDown = 1;

// Fixed bytes of one grid word before its strings: direction, start cell, word length.
constexpr u32 kGridWordMinBytes = 4;
// Bytes of one grid cell: its four word bytes and its solution letter.
constexpr u32 kGridCellBytes = 5;

bool FitsU8(int value) {
    return value >= 0 && value <= 0xFF;
}

bool FitsU16(int value) {
    return value >= 0 && value <= 0xFFFF;
}

int TextLength(const char* text, u32 capacity) {
    return static_cast<int>(strnlen(text, capacity));
}

} // namespace

bool PuzzleBankRecordIds(int type, unsigned int* formId, unsigned int* bodyId) {
    switch (type) {
    case PUZZLE_TYPE_SUDOKU:
        *formId = kIFFMakeId("SDKU");
        *bodyId = kIFFMakeId("SDAT");
        return true;
    case PUZZLE_TYPE_WORDSEARCH:
        *formId = kIFFMakeId("WSCH");
        *bodyId = kIFFMakeId("WDAT");
        return true;
    case PUZZLE_TYPE_CROSSWORD:
        *formId = kIFFMakeId("CRWD");
        *bodyId = kIFFMakeId("CDAT");
        return true;
    case PUZZLE_TYPE_FITWORD:
        *formId = kIFFMakeId("FTWD");
        *bodyId = kIFFMakeId("FDAT");
        return true;
    default:
        return false;
    }
}

// Sudoku.

const char* DecodeSudokuBody(const u8* data, u32 size, SudokuData& sudoku) {
    MNByteReader in(data, size);
    sudoku.size = in.U8();
    if (sudoku.size != 9 && sudoku.size != 6) {
        return "sudoku size is not 9 or 6";
    }
    const u32 cells = static_cast<u32>(sudoku.size) * sudoku.size;
    std::memset(sudoku.givens, 0, sizeof(sudoku.givens));
    std::memset(sudoku.solution, 0, sizeof(sudoku.solution));
    in.Bytes(sudoku.givens, cells);
    in.Bytes(sudoku.solution, cells);
    if (!in.Finished()) {
        return "sudoku body has the wrong length";
    }
    for (u32 cell = 0; cell < cells; ++cell) {
        const u8 digit = sudoku.solution[cell];
        const u8 given = sudoku.givens[cell];
        if (digit < 1 || digit > sudoku.size || (given != 0 && given != digit)) {
            return "sudoku digit out of range or given unlike the solution";
        }
    }
    return nullptr;
}

const char* EncodeSudokuBody(const SudokuData& sudoku, MNByteWriter& out) {
    if (sudoku.size != 9 && sudoku.size != 6) {
        return "sudoku size is not 9 or 6";
    }
    const u32 cells = static_cast<u32>(sudoku.size) * sudoku.size;
    out.U8(sudoku.size);
    out.Bytes(sudoku.givens, cells);
    out.Bytes(sudoku.solution, cells);
    return nullptr;
}

// Wordsearch.

namespace {

const char* DecodeWordsearchWord(MNByteReader& in, int numTrailCells, WordsearchDataWord& word) {
    word.cellStartIndex = in.U8();
    word.cellEndIndex = in.U8();
    in.String(word.word, kShortStringCapacity, false);
    if (in.Failed()) {
        return "wordsearch body is truncated";
    }
    if (word.cellStartIndex > word.cellEndIndex || word.cellEndIndex >= numTrailCells ||
        TextLength(word.word, kShortStringCapacity) !=
            word.cellEndIndex - word.cellStartIndex + 1) {
        return "wordsearch word does not match its trail";
    }
    return nullptr;
}

// Whether the word's trail runs in one straight line of neighbouring cells (across, down
// or diagonal, either way) and its cells show the word's letters.
bool IsWordsearchTrailStraight(const WordsearchData& wordsearch, const WordsearchDataWord& word) {
    const int cols = wordsearch.numCols;
    const int first = wordsearch.wordTrails(word.cellStartIndex);
    int stepX = 0;
    int stepY = 0;
    for (int i = word.cellStartIndex; i <= word.cellEndIndex; ++i) {
        const int cell = wordsearch.wordTrails(i);
        if (wordsearch.gridMap(cell) != word.word[i - word.cellStartIndex]) {
            return false;
        }
        if (i == word.cellStartIndex + 1) {
            stepX = cell % cols - first % cols;
            stepY = cell / cols - first / cols;
            if (stepX < -1 || stepX > 1 || stepY < -1 || stepY > 1 || (stepX == 0 && stepY == 0)) {
                return false;
            }
        }
        const int steps = i - word.cellStartIndex;
        if (cell % cols != first % cols + steps * stepX ||
            cell / cols != first / cols + steps * stepY) {
            return false;
        }
    }
    return true;
}

} // namespace

const char* DecodeWordsearchBody(const u8* data, u32 size, WordsearchData& wordsearch) {
    MNByteReader in(data, size);
    wordsearch.numRows = in.U8();
    wordsearch.numCols = in.U8();
    if (wordsearch.numRows < 1 || wordsearch.numRows > PUZZLE_WORDSEARCH_MAX_SIDE ||
        wordsearch.numCols < 1 || wordsearch.numCols > PUZZLE_WORDSEARCH_MAX_SIDE) {
        return "wordsearch grid size out of range";
    }
    const int cells = wordsearch.numRows * wordsearch.numCols;
    in.String(wordsearch.title, kShortStringCapacity, false);
    wordsearch.gridMap.SetSize(cells);
    in.Bytes(wordsearch.gridMap.Data(), static_cast<u32>(cells));
    wordsearch.numTrailCells = in.U8();
    if (in.Remaining() < wordsearch.numTrailCells) {
        return "wordsearch body is truncated";
    }
    wordsearch.wordTrails.SetSize(wordsearch.numTrailCells);
    for (int i = 0; i < wordsearch.numTrailCells; ++i) {
        wordsearch.wordTrails(i) = in.U8();
        if (wordsearch.wordTrails(i) >= cells) {
            return "wordsearch trail cell outside the grid";
        }
    }
    wordsearch.numWords = in.U8();
    if (wordsearch.numWords > PUZZLE_WORDSEARCH_MAX_WORDS) {
        return "wordsearch has too many words";
    }
    wordsearch.words.SetSize(wordsearch.numWords);
    for (int i = 0; i < wordsearch.numWords; ++i) {
        if (const char* error =
                DecodeWordsearchWord(in, wordsearch.numTrailCells, wordsearch.words(i))) {
            return error;
        }
        if (!IsWordsearchTrailStraight(wordsearch, wordsearch.words(i))) {
            return "wordsearch trail is not a straight line of the word's letters";
        }
    }
    return in.Finished() ? nullptr : "wordsearch body has the wrong length";
}

const char* EncodeWordsearchBody(const WordsearchData& wordsearch, MNByteWriter& out) {
    const int cells = wordsearch.numRows * wordsearch.numCols;
    if (wordsearch.gridMap.Size() != cells || !FitsU8(wordsearch.wordTrails.Size()) ||
        !FitsU8(wordsearch.words.Size())) {
        return "wordsearch arrays do not fit the format";
    }
    out.U8(wordsearch.numRows);
    out.U8(wordsearch.numCols);
    out.String(wordsearch.title, kShortStringCapacity, false);
    out.Bytes(wordsearch.gridMap.Data(), static_cast<u32>(cells));
    out.U8(static_cast<u8>(wordsearch.wordTrails.Size()));
    for (int i = 0; i < wordsearch.wordTrails.Size(); ++i) {
        if (!FitsU8(wordsearch.wordTrails(i))) {
            return "wordsearch trail cell does not fit the format";
        }
        out.U8(static_cast<u8>(wordsearch.wordTrails(i)));
    }
    out.U8(static_cast<u8>(wordsearch.words.Size()));
    for (int i = 0; i < wordsearch.words.Size(); ++i) {
        const WordsearchDataWord& word = wordsearch.words(i);
        if (!FitsU8(word.cellStartIndex) || !FitsU8(word.cellEndIndex)) {
            return "wordsearch word trail does not fit the format";
        }
        out.U8(static_cast<u8>(word.cellStartIndex));
        out.U8(static_cast<u8>(word.cellEndIndex));
        out.String(word.word, kShortStringCapacity, false);
    }
    return nullptr;
}

// Crossword and fitword: the same grid of words, the crossword's words with clues.

namespace {

template <class Word>
constexpr bool kHasClue = requires(Word word) {
    word.clue;
};

template <class Record>
int CellCount(const Record& record) {
    return record.numRows * record.numCols;
}

// Whether the word lies inside the grid from its start cell along its direction.
template <class Record, class Word>
bool WordFitsGrid(const Record& record, const Word& word) {
    const int length = TextLength(word.word, kShortStringCapacity);
    if (length < 1 || word.startCell < 0 || word.startCell >= CellCount(record)) {
        return false;
    }
    const int row = word.startCell / record.numCols;
    const int col = word.startCell % record.numCols;
    return word.bDirection ? row + length <= record.numRows : col + length <= record.numCols;
}

template <class Record>
const char* DecodeGridWords(MNByteReader& in, Record& record) {
    using Word = std::remove_reference_t<decltype(record.words(0))>;
    const int count = in.U16();
    if (count < 1 || count > kMaxGridWords ||
        in.Remaining() < static_cast<u32>(count) * kGridWordMinBytes) {
        return "grid word count out of range";
    }
    record.words.SetSize(count);
    for (int i = 0; i < count; ++i) {
        Word& word = record.words(i);
        std::memset(&word, 0, sizeof(word));
        const u8 direction = in.U8();
        word.bDirection = direction == kDirectionDown;
        word.startCell = in.U16();
        in.String(word.word, kShortStringCapacity, false);
        if constexpr (kHasClue<Word>) {
            in.String(word.clue, kClueCapacity, true);
        }
        if (in.Failed()) {
            return "grid body is truncated";
        }
        if (direction > kDirectionDown || !WordFitsGrid(record, word)) {
            return "grid word does not fit the grid";
        }
    }
    return nullptr;
}

// A cell's word index and letter: no word (255), or a letter of an existing word.
template <class Record>
bool ValidCellWord(const Record& record, u8 wordIndex, u8 letter) {
    if (wordIndex == CROSSWORD_NO_WORD) {
        return true;
    }
    return wordIndex < record.words.Size() &&
           letter < TextLength(record.words(wordIndex).word, kShortStringCapacity);
}

// Whether every letter of every word lies in a cell that names the word at that letter and
// holds that letter as its solution, and every cell names only words that run through it.
template <class Record>
bool CellsAgreeWithWords(const Record& record) {
    for (int i = 0; i < record.words.Size(); ++i) {
        const auto& word = record.words(i);
        const int step = word.bDirection ? record.numCols : 1;
        const int length = TextLength(word.word, kShortStringCapacity);
        for (int n = 0; n < length; ++n) {
            const int cell = word.startCell + n * step;
            const CrosswordDataCell& data = record.cells(cell);
            const u8 index = word.bDirection ? data.wordIndexD : data.wordIndexA;
            const u8 letter = word.bDirection ? data.wordLetterD : data.wordLetterA;
            if (index != i || letter != n || record.cellsDone(cell) != word.word[n]) {
                return false;
            }
        }
    }
    for (int cell = 0; cell < record.cells.Size(); ++cell) {
        const CrosswordDataCell& data = record.cells(cell);
        if ((data.wordIndexA != CROSSWORD_NO_WORD && record.words(data.wordIndexA).bDirection) ||
            (data.wordIndexD != CROSSWORD_NO_WORD && !record.words(data.wordIndexD).bDirection)) {
            return false;
        }
    }
    return true;
}

template <class Record>
const char* DecodeGridCells(MNByteReader& in, Record& record) {
    const int cells = CellCount(record);
    if (in.Remaining() != static_cast<u32>(cells) * kGridCellBytes) {
        return "grid cells do not match the grid";
    }
    record.cells.SetSize(cells);
    for (int i = 0; i < cells; ++i) {
        CrosswordDataCell& cell = record.cells(i);
        cell.wordIndexA = in.U8();
        cell.wordLetterA = in.U8();
        cell.wordIndexD = in.U8();
        cell.wordLetterD = in.U8();
        if (!ValidCellWord(record, cell.wordIndexA, cell.wordLetterA) ||
            !ValidCellWord(record, cell.wordIndexD, cell.wordLetterD)) {
            return "grid cell names a word or letter that does not exist";
        }
    }
    record.cellsDone.SetSize(cells);
    in.Bytes(record.cellsDone.Data(), static_cast<u32>(cells));
    if (!in.Finished()) {
        return "grid body has the wrong length";
    }
    return CellsAgreeWithWords(record) ? nullptr : "grid cells disagree with the words";
}

template <class Record>
const char* DecodeGridBody(const u8* data, u32 size, Record& record) {
    MNByteReader in(data, size);
    record.numRows = in.U8();
    record.numCols = in.U8();
    record.spelloutIndex = in.S16();
    if (in.Failed() || record.numRows < 1 || record.numCols < 1) {
        return "grid size out of range";
    }
    if (const char* error = DecodeGridWords(in, record)) {
        return error;
    }
    return DecodeGridCells(in, record);
}

template <class Record>
const char* EncodeGridBody(const Record& record, MNByteWriter& out) {
    const int cells = CellCount(record);
    if (!FitsU16(record.words.Size()) || record.cells.Size() != cells ||
        record.cellsDone.Size() != cells) {
        return "grid arrays do not match the grid";
    }
    out.U8(record.numRows);
    out.U8(record.numCols);
    out.U16(static_cast<u16>(record.spelloutIndex));
    out.U16(static_cast<u16>(record.words.Size()));
    for (int i = 0; i < record.words.Size(); ++i) {
        const auto& word = record.words(i);
        if (!FitsU16(word.startCell)) {
            return "grid word start does not fit the format";
        }
        out.U8(word.bDirection ? kDirectionDown : 0);
        out.U16(static_cast<u16>(word.startCell));
        out.String(word.word, kShortStringCapacity, false);
        if constexpr (kHasClue<std::remove_cvref_t<decltype(word)>>) {
            out.String(word.clue, kClueCapacity, true);
        }
    }
    for (int i = 0; i < cells; ++i) {
        const CrosswordDataCell& cell = record.cells(i);
        out.U8(cell.wordIndexA);
        out.U8(cell.wordLetterA);
        out.U8(cell.wordIndexD);
        out.U8(cell.wordLetterD);
    }
    out.Bytes(record.cellsDone.Data(), static_cast<u32>(cells));
    return nullptr;
}

} // namespace

const char* DecodeCrosswordBody(const u8* data, u32 size, CrosswordData& crossword) {
    return DecodeGridBody(data, size, crossword);
}

const char* DecodeFitwordBody(const u8* data, u32 size, FitwordData& fitword) {
    return DecodeGridBody(data, size, fitword);
}

const char* EncodeCrosswordBody(const CrosswordData& crossword, MNByteWriter& out) {
    return EncodeGridBody(crossword, out);
}

const char* EncodeFitwordBody(const FitwordData& fitword, MNByteWriter& out) {
    return EncodeGridBody(fitword, out);
}

// Hidden word.

const char* DecodeSpelloutBody(const u8* data, u32 size, int numCells, SpelloutData& spellout) {
    MNByteReader in(data, size);
    spellout.difficulty = in.U32();
    in.String(spellout.word, kShortStringCapacity, false);
    const u32 count = in.U16();
    if (in.Failed() || spellout.word[0] == 0 || in.Remaining() != count * 2) {
        return "hidden word body is malformed";
    }
    spellout.cells.SetSize(static_cast<s32>(count));
    for (u32 i = 0; i < count; ++i) {
        const int cell = in.U16();
        if (cell < 1 || cell > numCells) {
            return "hidden word cell outside the grid";
        }
        spellout.cells(static_cast<s32>(i)) = cell;
    }
    return nullptr;
}

const char* EncodeSpelloutBody(const SpelloutData& spellout, MNByteWriter& out) {
    if (!FitsU16(spellout.cells.Size())) {
        return "hidden word has too many cells";
    }
    out.U32(spellout.difficulty);
    out.String(spellout.word, kShortStringCapacity, false);
    out.U16(static_cast<u16>(spellout.cells.Size()));
    for (int i = 0; i < spellout.cells.Size(); ++i) {
        if (!FitsU16(spellout.cells(i))) {
            return "hidden word cell does not fit the format";
        }
        out.U16(static_cast<u16>(spellout.cells(i)));
    }
    return nullptr;
}

} // namespace Kelvo_lib
