// The puzzle bank writer: each record encoded, read back as the bank's reader will, and
// framed in IFF chunks with the index, in ascending bank id.
#include <services/puzzlebankwriter.h>
#include <services/puzzlerecordcodec.h>
#include <services/puzzletypes.h>

#include <kelvo/platform/klog.h>

#include <algorithm>

namespace Kelvo_lib {

namespace {

constexpr int kMaxDifficulty = BankValueOf(PUZZLE_DIFFICULTY_PRO);
constexpr int kMaxLanguage = 7;
constexpr u8 kWordsearchAllLanguages = 255;

// Chunk framing: a header whose size is filled in when the chunk ends, and the pad
// byte after an odd payload.
class ChunkFramer {
public:
    explicit ChunkFramer(MNByteWriter& out) : m_out(out) {}

    // The place of the size field, for End.
    u32 Begin(u32 id) {
        m_out.U32(id);
        const u32 sizeAt = m_out.Size();
        m_out.U32(0);
        return sizeAt;
    }

    u32 BeginGroup(u32 id, u32 subId) {
        const u32 sizeAt = Begin(id);
        m_out.U32(subId);
        return sizeAt;
    }

    void End(u32 sizeAt) {
        const u32 size = m_out.Size() - sizeAt - 4;
        m_out.PatchU32(sizeAt, size);
        if ((size & 1u) != 0) {
            m_out.U8(0);
        }
    }

    void Chunk(u32 id, const kArray<u8>& payload) {
        const u32 sizeAt = Begin(id);
        m_out.Bytes(payload.Data(), static_cast<u32>(payload.Size()));
        End(sizeAt);
    }

    MNByteWriter& Out() { return m_out; }

private:
    MNByteWriter& m_out;
};

// Encodes a body into its own bytes, then reads it back as the bank's reader will;
// the reason either refused it, or null.
template <class Encode, class Decode>
const char* EncodeChecked(kArray<u8>& body, Encode encode, Decode decode) {
    MNByteWriter out(body);
    if (const char* error = encode(out)) {
        return error;
    }
    return decode(body.Data(), static_cast<u32>(body.Size()));
}

const char* EncodeSpelloutChecked(const SpelloutData& spellout, int numCells, kArray<u8>& body) {
    return EncodeChecked(
        body, [&](MNByteWriter& out) { return EncodeSpelloutBody(spellout, out); },
        [&](const u8* data, u32 size) {
            SpelloutData check;
            return DecodeSpelloutBody(data, size, numCells, check);
        });
}

int EntryLanguage(int language) {
    return language;
}

int EntryLanguage(unsigned char language) {
    return language == kWordsearchAllLanguages ? PUZZLE_LANGUAGE_ALL : language;
}

template <class Record>
PuzzleBankEntry EntryOf(const Record& record, ePuzzleType type, int* language) {
    *language = EntryLanguage(record.language);
    return PuzzleBankEntry{record.puzzleID,   record.oldPuzzleID,         static_cast<u8>(type),
                           record.difficulty, static_cast<s8>(*language), 0};
}

} // namespace

const char* PuzzleBankWriter::CheckEntry(const PuzzleBankEntry& entry, int language) const {
    if (m_entries.Size() >= PUZZLE_BANK_MAX_ENTRIES) {
        return "the bank is full";
    }
    if (entry.difficulty > kMaxDifficulty) {
        return "difficulty out of range";
    }
    if (language < PUZZLE_LANGUAGE_ALL || language > kMaxLanguage) {
        return "language out of range";
    }
    for (int i = 0; i < m_entries.Size(); ++i) {
        if (m_entries(i).entry.id == entry.id) {
            return "bank id already taken";
        }
    }
    return nullptr;
}

bool PuzzleBankWriter::AddRecord(const PuzzleBankEntry& entry, int language, const char* error,
                                 const kArray<u8>& body, const kArray<u8>* spellout) {
    if (error == nullptr) {
        error = CheckEntry(entry, language);
    }
    if (error != nullptr) {
        kLogFmt("PuzzleBankWriter: puzzle %d refused: %s\n", entry.id, error);
        return false;
    }
    u32 formId = 0;
    u32 bodyId = 0;
    PuzzleBankRecordIds(entry.type, &formId, &bodyId);
    MNByteWriter out(m_forms);
    ChunkFramer framer(out);
    const u32 formStart = out.Size();
    const u32 form = framer.BeginGroup(PUZZLE_BANK_ID_FORM, formId);
    framer.Chunk(bodyId, body);
    if (spellout != nullptr) {
        framer.Chunk(PUZZLE_BANK_ID_SPELLOUT, *spellout);
    }
    framer.End(form);
    m_entries.Push(PendingEntry{entry, formStart, out.Size() - formStart});
    return true;
}

bool PuzzleBankWriter::AddSudoku(const SudokuData& sudoku) {
    kArray<u8> body;
    const char* error = EncodeChecked(
        body, [&](MNByteWriter& out) { return EncodeSudokuBody(sudoku, out); },
        [](const u8* data, u32 size) {
            SudokuData check;
            return DecodeSudokuBody(data, size, check);
        });
    int language = 0;
    const PuzzleBankEntry entry = EntryOf(sudoku, PUZZLE_TYPE_SUDOKU, &language);
    return AddRecord(entry, language, error, body, nullptr);
}

bool PuzzleBankWriter::AddWordsearch(const WordsearchData& wordsearch) {
    kArray<u8> body;
    const char* error = EncodeChecked(
        body, [&](MNByteWriter& out) { return EncodeWordsearchBody(wordsearch, out); },
        [](const u8* data, u32 size) {
            WordsearchData check;
            return DecodeWordsearchBody(data, size, check);
        });
    int language = 0;
    const PuzzleBankEntry entry = EntryOf(wordsearch, PUZZLE_TYPE_WORDSEARCH, &language);
    return AddRecord(entry, language, error, body, nullptr);
}

template <class Record, class Encode, class Decode>
bool PuzzleBankWriter::AddGridRecord(const Record& record, ePuzzleType type,
                                     const SpelloutData* spellout, Encode encode, Decode decode) {
    kArray<u8> body;
    kArray<u8> hidden;
    const char* error = EncodeChecked(
        body, [&](MNByteWriter& out) { return encode(record, out); },
        [&](const u8* data, u32 size) {
            Record check;
            return decode(data, size, check);
        });
    if (error == nullptr && spellout != nullptr) {
        error = EncodeSpelloutChecked(*spellout, record.numRows * record.numCols, hidden);
    }
    int language = 0;
    const PuzzleBankEntry entry = EntryOf(record, type, &language);
    return AddRecord(entry, language, error, body, spellout != nullptr ? &hidden : nullptr);
}

bool PuzzleBankWriter::AddCrossword(const CrosswordData& crossword, const SpelloutData* spellout) {
    return AddGridRecord(crossword, PUZZLE_TYPE_CROSSWORD, spellout, EncodeCrosswordBody,
                         DecodeCrosswordBody);
}

bool PuzzleBankWriter::AddFitword(const FitwordData& fitword, const SpelloutData* spellout) {
    return AddGridRecord(fitword, PUZZLE_TYPE_FITWORD, spellout, EncodeFitwordBody,
                         DecodeFitwordBody);
}

void PuzzleBankWriter::Write(kArray<u8>& file) const {
    kArray<int> order;
    order.SetSize(m_entries.Size());
    for (int i = 0; i < order.Size(); ++i) {
        order(i) = i;
    }
    std::sort(order.Data(), order.Data() + order.Size(),
              [&](int a, int b) { return m_entries(a).entry.id < m_entries(b).entry.id; });

    file.Empty();
    MNByteWriter out(file);
    ChunkFramer framer(out);
    const u32 bank = framer.BeginGroup(PUZZLE_BANK_ID_FORM, PUZZLE_BANK_ID_BANK);

    const u32 header = framer.Begin(PUZZLE_BANK_ID_HEADER);
    out.U16(PUZZLE_BANK_VERSION);
    out.U16(0);
    out.U32(static_cast<u32>(m_entries.Size()));
    framer.End(header);

    // The records follow the index and the list's own header.
    const u32 indexSize = PUZZLE_BANK_ENTRY_SIZE * static_cast<u32>(m_entries.Size());
    u32 recordOffset = out.Size() + 8 + indexSize + 12;
    const u32 index = framer.Begin(PUZZLE_BANK_ID_INDEX);
    for (int i = 0; i < order.Size(); ++i) {
        const PendingEntry& pending = m_entries(order(i));
        out.U32(static_cast<u32>(pending.entry.id));
        out.U32(static_cast<u32>(pending.entry.oldId));
        out.U8(pending.entry.type);
        out.U8(pending.entry.difficulty);
        out.U8(static_cast<u8>(pending.entry.language));
        out.U8(0);
        out.U32(recordOffset);
        recordOffset += pending.formSize;
    }
    framer.End(index);

    const u32 records = framer.BeginGroup(PUZZLE_BANK_ID_LIST, PUZZLE_BANK_ID_RECORDS);
    for (int i = 0; i < order.Size(); ++i) {
        const PendingEntry& pending = m_entries(order(i));
        out.Bytes(m_forms.Data() + pending.formStart, pending.formSize);
    }
    framer.End(records);
    framer.End(bank);
}

} // namespace Kelvo_lib
