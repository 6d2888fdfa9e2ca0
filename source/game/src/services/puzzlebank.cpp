// The puzzle bank reader: the index checked once at load, one record read and decoded per
// request, and the choice of the next or a random unplayed puzzle from the player's record.
#include <services/mnsavedata.h>
#include <services/puzzle.h>
#include <services/puzzlebank.h>
#include <services/puzzlerecordcodec.h>

#include <kelvo/math/kmrandom.h>

#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>

#include <cstring>

namespace Kelvo_lib {

namespace {

const char* const kBankCodes[] = {"uken", "fr", "it", "de", "es", "nl", "usen", "caen"};
constexpr int kNumBankLanguages = static_cast<int>(sizeof(kBankCodes) / sizeof(kBankCodes[0]));
constexpr int kMaxDifficulty = BankValueOf(PUZZLE_DIFFICULTY_PRO);
// A record's group header: id, size and sub id.
constexpr u32 kGroupHeaderSize = 12;
// No valid record chunk comes near this; a larger one is refused before it is read.
constexpr u32 kMaxChunkBytes = 1u << 20;
constexpr int kNotListed = -2;

bool IsInLanguage(const PuzzleBankEntry& entry, int language) {
    return entry.language == language || entry.language == PUZZLE_LANGUAGE_ALL;
}

// Reads the whole payload of the current chunk into bytes; false when it is too large
// or cannot be read.
bool ReadPayload(kIFFContext* ctx, kArray<u8>& bytes) {
    const u32 size = ctx->chunkHdr.size;
    if (size > kMaxChunkBytes) {
        return false;
    }
    bytes.SetSize(static_cast<s32>(size));
    return kIFFRead::ReadChunkBytes(ctx, bytes.Data(), size) == K_IFF_OK;
}

// Enters the group that is the current chunk of parent, when it has the id and sub id.
bool EnterGroup(kIFFContext* parent, u32 id, u32 subId, kIFFContext* group) {
    return parent->chunkHdr.chunkId == id && parent->groupSubId == subId &&
           kIFFRead::OpenGroup(parent, group) == K_IFF_OK;
}

const char* ParseHeader(const kArray<u8>& bytes, u32* count) {
    MNByteReader in(bytes.Data(), static_cast<u32>(bytes.Size()));
    const u32 version = in.U16();
    in.U16();
    *count = in.U32();
    if (!in.Finished() || version != PUZZLE_BANK_VERSION) {
        return "unknown bank header";
    }
    return *count > PUZZLE_BANK_MAX_ENTRIES ? "too many entries" : nullptr;
}

PuzzleBankEntry ReadEntry(MNByteReader& in) {
    PuzzleBankEntry entry{};
    entry.id = in.S32();
    entry.oldId = in.S32();
    entry.type = in.U8();
    entry.difficulty = in.U8();
    entry.language = in.S8();
    in.U8();
    entry.offset = in.U32();
    return entry;
}

bool ValidEntry(const PuzzleBankEntry& entry) {
    u32 formId = 0;
    u32 bodyId = 0;
    return PuzzleBankRecordIds(entry.type, &formId, &bodyId) &&
           entry.difficulty <= kMaxDifficulty && entry.language >= PUZZLE_LANGUAGE_ALL &&
           entry.language < kNumBankLanguages;
}

template <class Record>
void SetEntryFields(const PuzzleBankEntry& entry, Record& record) {
    record.puzzleID = entry.id;
    record.oldPuzzleID = entry.oldId;
    record.difficulty = entry.difficulty;
    record.language = static_cast<decltype(record.language)>(entry.language);
}

// Decodes a sudoku or wordsearch record's body into a new puzzle of that kind.
template <class Kind, class Record>
Puzzle* BuildPlain(const PuzzleBankEntry& entry, const kArray<u8>& body, Record* Kind::*record,
                   const char* (*decode)(const u8*, u32, Record&), const char** error) {
    Kind* puzzle = new Kind;
    Record& data = *(puzzle->*record);
    *error = decode(body.Data(), static_cast<u32>(body.Size()), data);
    SetEntryFields(entry, data);
    return puzzle;
}

// Decodes a crossword or fitword record's body and hidden word into a new puzzle.
template <class Kind, class Record>
Puzzle* BuildGrid(const PuzzleBankEntry& entry, const kArray<u8>& body, const kArray<u8>* spellout,
                  Record* Kind::*record, const char* (*decode)(const u8*, u32, Record&),
                  const char** error) {
    Kind* puzzle = static_cast<Kind*>(BuildPlain(entry, body, record, decode, error));
    if (*error == nullptr && spellout != nullptr) {
        const Record& data = *(puzzle->*record);
        puzzle->m_spellout = new SpelloutData;
        *error = DecodeSpelloutBody(spellout->Data(), static_cast<u32>(spellout->Size()),
                                    data.numRows * data.numCols, *puzzle->m_spellout);
    }
    return puzzle;
}

Puzzle* BuildPuzzle(const PuzzleBankEntry& entry, const kArray<u8>& body,
                    const kArray<u8>* spellout, const char** error) {
    switch (entry.type) {
    case PUZZLE_TYPE_SUDOKU:
        return BuildPlain(entry, body, &SudokuPuzzle::m_sudoku, DecodeSudokuBody, error);
    case PUZZLE_TYPE_WORDSEARCH:
        return BuildPlain(entry, body, &WordsearchPuzzle::m_wordsearch, DecodeWordsearchBody,
                          error);
    case PUZZLE_TYPE_CROSSWORD:
        return BuildGrid(entry, body, spellout, &CrosswordPuzzle::m_crossword, DecodeCrosswordBody,
                         error);
    default:
        return BuildGrid(entry, body, spellout, &FitwordPuzzle::m_fitword, DecodeFitwordBody,
                         error);
    }
}

bool HasSpellout(int type) {
    return type == PUZZLE_TYPE_CROSSWORD || type == PUZZLE_TYPE_FITWORD;
}

// Hands each chunk of a group level to visit, which returns the reason to stop or null;
// the reason, the reader's own on a fault of the framing, or null at the level's end.
template <class Visit>
const char* ReadLevel(kIFFContext* level, Visit visit) {
    int code = K_IFF_OK;
    while ((code = kIFFRead::NextChunk(level)) == K_IFF_OK) {
        if (const char* error = visit(level)) {
            return error;
        }
    }
    return code == K_IFF_DONE ? nullptr : kIFFGetErrorString(code);
}

// What the bank group holds: its header and index, and where its records lie.
struct BankChunks {
    kArray<u8> header;
    kArray<u8> index;
    bool haveRecords = false;
    u32 recordsStart = 0;
    u32 recordsEnd = 0;
};

const char* ReadBankChunks(kIOStreamSeekable* stream, BankChunks& chunks) {
    kIFFContext top;
    kIFFContext bank;
    stream->Seek(0, K_IO_SEEK_SET);
    kIFFRead::OpenStream(&top, stream);
    if (kIFFRead::NextChunk(&top) != K_IFF_OK ||
        !EnterGroup(&top, PUZZLE_BANK_ID_FORM, PUZZLE_BANK_ID_BANK, &bank)) {
        return "not a puzzle bank";
    }
    const char* error = ReadLevel(&bank, [&](kIFFContext* chunk) -> const char* {
        const u32 id = chunk->chunkHdr.chunkId;
        if (id == PUZZLE_BANK_ID_HEADER) {
            return ReadPayload(chunk, chunks.header) ? nullptr : "unreadable header";
        }
        if (id == PUZZLE_BANK_ID_INDEX) {
            return ReadPayload(chunk, chunks.index) ? nullptr : "unreadable index";
        }
        if (id == PUZZLE_BANK_ID_LIST && chunk->groupSubId == PUZZLE_BANK_ID_RECORDS) {
            chunks.haveRecords = true;
            chunks.recordsStart = chunk->position;
            chunks.recordsEnd = chunk->position + (chunk->chunkHdr.size - chunk->bytesSoFar);
        }
        return nullptr;
    });
    return error == nullptr && !chunks.haveRecords ? "no records" : error;
}

// The chunks of one record group: its body and its hidden word.
struct RecordChunks {
    kArray<u8> body;
    kArray<u8> spellout;
    bool haveBody = false;
    bool haveSpellout = false;
};

const char* ReadRecordChunks(kIFFContext* record, int type, u32 bodyId, RecordChunks& chunks) {
    const char* error = ReadLevel(record, [&](kIFFContext* chunk) -> const char* {
        const u32 id = chunk->chunkHdr.chunkId;
        if (id == bodyId && !chunks.haveBody) {
            chunks.haveBody = true;
            return ReadPayload(chunk, chunks.body) ? nullptr : "record body unreadable";
        }
        if (id == PUZZLE_BANK_ID_SPELLOUT && HasSpellout(type) && !chunks.haveSpellout) {
            chunks.haveSpellout = true;
            return ReadPayload(chunk, chunks.spellout) ? nullptr : "hidden word unreadable";
        }
        return nullptr;
    });
    return error == nullptr && !chunks.haveBody ? "record has no body" : error;
}

template <class Keep>
kArray<int> Filter(const kArray<int>& indices, Keep keep) {
    kArray<int> kept;
    kept.SetReserve(indices.Size());
    for (int i = 0; i < indices.Size(); ++i) {
        if (keep(indices(i))) {
            kept.Push(indices(i));
        }
    }
    return kept;
}

kArray<int> Unplayed(const kArray<int>& candidates, const MNSaveProfileData& record) {
    return Filter(candidates, [&](int index) { return !record.IsPlayed(index); });
}

// A new round of the played set: every candidate unplayed but the type's most recent
// ones, as many of them as leave something to draw (the last seven unless the pool is
// smaller); the candidates that can be drawn.
kArray<int> StartOver(const kArray<int>& candidates, MNSaveProfileData& record, int type) {
    int depth = MN_RECENT_DEPTH;
    auto outsideRecent = [&](int index) { return !record.IsRecent(type, index, depth); };
    while (depth > 0 && Filter(candidates, outsideRecent).Size() == 0) {
        --depth;
    }
    for (int i = 0; i < candidates.Size(); ++i) {
        record.SetPlayed(candidates(i), record.IsRecent(type, candidates(i), depth));
    }
    return Unplayed(candidates, record);
}

} // namespace

bool PuzzleBank::GetFileName(int language, char* name, int size) {
    if (language < 0 || language >= kNumBankLanguages || name == nullptr) {
        return false;
    }
    char full[32]; // room for the longest code
    kPlatform_snprintf(full, sizeof(full), "%spuz_%s.kmn", "wii/", kBankCodes[language]);
    const int length = static_cast<int>(std::strlen(full));
    if (length >= size) {
        return false;
    }
    std::memcpy(name, full, static_cast<std::size_t>(length) + 1);
    return true;
}

bool PuzzleBank::Load(int language) {
    Unload();
    char name[32];
    if (!GetFileName(language, name, sizeof(name))) {
        kLogFmt("PuzzleBank: no bank for language %d\n", language);
        return false;
    }
    SysFileHandle* handle = kPlatform_FileOpen(name, K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT);
    if (handle == nullptr) {
        kLogFmt("PuzzleBank: cannot open %s\n", name);
        return false;
    }
    m_file.Attach(handle);
    if (!Open(&m_file)) {
        kLogFmt("PuzzleBank: %s not loaded\n", name);
        return false;
    }
    return true;
}

bool PuzzleBank::Load(kIOStreamSeekable* stream) {
    Unload();
    return Open(stream);
}

bool PuzzleBank::Open(kIOStreamSeekable* stream) {
    m_stream = stream;
    if (stream == nullptr || !ReadIndex()) {
        Unload();
        return false;
    }
    return true;
}

void PuzzleBank::Unload() {
    delete m_current;
    m_current = nullptr;
    m_entries.Empty();
    m_stream = nullptr;
    m_recordsStart = m_recordsEnd = 0;
    if (m_file.IsValid()) {
        m_file.Close();
    }
}

bool PuzzleBank::ReadIndex() {
    BankChunks chunks;
    const char* error = ReadBankChunks(m_stream, chunks);
    u32 count = 0;
    if (error == nullptr) {
        error = ParseHeader(chunks.header, &count);
    }
    if (error == nullptr) {
        m_recordsStart = chunks.recordsStart;
        m_recordsEnd = chunks.recordsEnd;
        error = ParseIndex(chunks.index, count);
    }
    if (error != nullptr) {
        kLogFmt("PuzzleBank: %s\n", error);
        return false;
    }
    return true;
}

const char* PuzzleBank::ParseIndex(const kArray<u8>& bytes, u32 count) {
    if (static_cast<u32>(bytes.Size()) != count * PUZZLE_BANK_ENTRY_SIZE) {
        return "index does not match the entry count";
    }
    MNByteReader in(bytes.Data(), static_cast<u32>(bytes.Size()));
    m_entries.SetSize(static_cast<s32>(count));
    for (int i = 0; i < m_entries.Size(); ++i) {
        const PuzzleBankEntry entry = ReadEntry(in);
        if (!ValidEntry(entry)) {
            return "index entry out of range";
        }
        if (i > 0 && entry.id <= m_entries(i - 1).id) {
            return "index not in ascending bank id";
        }
        if (entry.offset < m_recordsStart || entry.offset > m_recordsEnd ||
            m_recordsEnd - entry.offset < kGroupHeaderSize) {
            return "index entry points outside the records";
        }
        m_entries(i) = entry;
    }
    return nullptr;
}

int PuzzleBank::FindEntry(int id) const {
    int low = 0;
    int high = m_entries.Size() - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const int found = m_entries(middle).id;
        if (found == id) {
            return middle;
        }
        if (found < id) {
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return -1;
}

bool PuzzleBank::HoldsPuzzle(int id, int type, int language) const {
    const int index = FindEntry(id);
    return index >= 0 && m_entries(index).type == type && IsInLanguage(m_entries(index), language);
}

Puzzle* PuzzleBank::GetPuzzle(int id, int language) {
    delete m_current;
    m_current = nullptr;
    const int index = FindEntry(id);
    if (index < 0) {
        kLogFmt("PuzzleBank: no puzzle %d\n", id);
        return nullptr;
    }
    const PuzzleBankEntry& entry = m_entries(index);
    if (!IsInLanguage(entry, language)) {
        kLogFmt("PuzzleBank: puzzle %d is not in language %d\n", id, language);
        return nullptr;
    }
    m_current = ReadRecord(entry);
    return m_current;
}

bool PuzzleBank::EnterRecord(const PuzzleBankEntry& entry, u32 formId, kIFFContext* top,
                             kIFFContext* record) {
    const int offset = static_cast<int>(entry.offset);
    return m_stream->Seek(offset, K_IO_SEEK_SET) == offset &&
           kIFFRead::OpenStream(top, m_stream) == K_IFF_OK &&
           kIFFRead::NextChunk(top) == K_IFF_OK &&
           top->chunkHdr.size - top->bytesSoFar <= m_recordsEnd - top->position &&
           EnterGroup(top, PUZZLE_BANK_ID_FORM, formId, record);
}

Puzzle* PuzzleBank::ReadRecord(const PuzzleBankEntry& entry) {
    u32 formId = 0;
    u32 bodyId = 0;
    PuzzleBankRecordIds(entry.type, &formId, &bodyId);
    kIFFContext top;
    kIFFContext record;
    RecordChunks chunks;
    const char* error = EnterRecord(entry, formId, &top, &record)
                            ? ReadRecordChunks(&record, entry.type, bodyId, chunks)
                            : "record group is damaged";
    Puzzle* puzzle = nullptr;
    if (error == nullptr) {
        puzzle = BuildPuzzle(entry, chunks.body, chunks.haveSpellout ? &chunks.spellout : nullptr,
                             &error);
    }
    if (error != nullptr) {
        kLogFmt("PuzzleBank: puzzle %d: %s\n", entry.id, error);
        delete puzzle;
        return nullptr;
    }
    return puzzle;
}

int PuzzleBank::GetNextPrevPuzzleId(int& currentIdx, int type, ePuzzleDifficulty difficulty,
                                    int language, bool bPrevious) {
    kLogFmt(bPrevious ? "PREV %d,%d,%d,%d" : "NEXT %d,%d,%d,%d", currentIdx, type,
            BankValueOf(difficulty), language);
    const kArray<int> indices = MatchingEntries(type, difficulty, language);
    kLogFmt("%d puzzles", indices.Size());
    const long long next = static_cast<long long>(currentIdx) + (bPrevious ? -1 : 1);
    if (next < 0) {
        kLogFmt("<=0");
        currentIdx = -1;
        return kNotListed;
    }
    if (next >= indices.Size()) {
        kLogFmt(">=Size");
        currentIdx = indices.Size();
        return kNotListed;
    }
    currentIdx = static_cast<int>(next);
    return m_entries(indices(currentIdx)).id;
}

kArray<int> PuzzleBank::MatchingEntries(int type, ePuzzleDifficulty difficulty,
                                        int language) const {
    kArray<int> indices;
    indices.SetReserve(m_entries.Size());
    for (int i = 0; i < m_entries.Size(); ++i) {
        const PuzzleBankEntry& entry = m_entries(i);
        if (entry.type == type && DifficultyOfBankValue(entry.difficulty) == difficulty &&
            IsInLanguage(entry, language)) {
            indices.Push(i);
        }
    }
    return indices;
}

int PuzzleBank::GetRandomPuzzleId(int type, ePuzzleDifficulty difficulty, int language,
                                  kmRandomMersenneTwister& random, MNSaveProfileData* record) {
    const kArray<int> candidates = MatchingEntries(type, difficulty, language);
    if (candidates.Size() == 0) {
        kLogFmt("PuzzleBank: no puzzle of type %d, difficulty %d, language %d\n", type,
                BankValueOf(difficulty), language);
        return -1;
    }
    if (record == nullptr) {
        return m_entries(candidates(random.randInt(candidates.Size()))).id;
    }
    kArray<int> pool = Unplayed(candidates, *record);
    if (pool.Size() == 0) {
        kLogFmt("PuzzleBank: every puzzle of type %d, difficulty %d played; starting over\n", type,
                BankValueOf(difficulty));
        pool = StartOver(candidates, *record, type);
    }
    const int index = pool(random.randInt(pool.Size()));
    record->SetPlayed(index, true);
    record->AddRecent(type, index);
    return m_entries(index).id;
}

Puzzle* PuzzleBank::GetRandomPuzzle(int type, ePuzzleDifficulty difficulty, int language,
                                    kmRandomMersenneTwister& random, MNSaveProfileData* record) {
    const int id = GetRandomPuzzleId(type, difficulty, language, random, record);
    if (id < 0) {
        kLogFmt("Couldn't get a puzzle ID\n");
        return nullptr;
    }
    return GetPuzzle(id, language);
}

} // namespace Kelvo_lib
