// The save block's byte layout, one definition for reading and writing: each record's
// Transfer lists its fields in file order, with the padding that keeps every multi-byte
// field on a four-byte boundary.
//
//   0     magic "MNSV", version u32, CRC-32 (zlib) of bytes 12 to the end
//   12    language u8, active profile s8, 6 reserved bytes
//   20    four profiles of 1,488 bytes each
#include <services/mnsavedata.h>

#include <services/mnbytecodec.h>
#include <services/mnsaveranges.h>

#include <kelvo/platform/klog.h>

#include <zlib.h>

#include <cstring>
#include <type_traits>

namespace Kelvo_lib {

namespace {

constexpr u32 kMagic = 0x4D4E5356; // "MNSV"
constexpr u32 kHeaderSize = 12;
constexpr u32 kGlobalReserved = 6;
constexpr u32 kProfileSize = 1488;
constexpr int kDefaultTargetScore = 700;
constexpr int kDefaultPasses = 7;
constexpr char kDefaultPuzzles = 15;
constexpr u8 kDefaultHandedness = 1;
constexpr u8 kDefaultMusicVolume = 3;
constexpr u8 kDefaultSoundVolume = 5;
constexpr const char* kUnusedName = "UNUSED";

class FieldWriter {
public:
    FieldWriter(u8* out, u32 size) : m_out(out, size) {}
    void Field(const bool& value) { m_out.U8(value ? 1 : 0); }
    void Field(const char& value) { m_out.U8(static_cast<u8>(value)); }
    void Field(const u8& value) { m_out.U8(value); }
    void Field(const s8& value) { m_out.U8(static_cast<u8>(value)); }
    void Field(const s16& value) { m_out.U16(static_cast<u16>(value)); }
    void Field(const s32& value) { m_out.U32(static_cast<u32>(value)); }
    void Field(const u32& value) { m_out.U32(value); }
    void Field(const float& value) { m_out.F32(value); }
    void Bytes(const void* data, u32 count) { m_out.Bytes(data, count); }
    void PatchU32(u32 offset, u32 value) { m_out.PatchU32(offset, value); }
    // A text field: the text, then zeros to its end, whatever memory held after the text.
    void Text(const char* text, u32 count) {
        const u32 length = static_cast<u32>(strnlen(text, count));
        m_out.Bytes(text, length);
        Pad(count - length);
    }
    void Pad(u32 count) {
        for (u32 i = 0; i < count; ++i) {
            m_out.U8(0);
        }
    }

private:
    MNByteWriter m_out;
};

class FieldReader {
public:
    FieldReader(const u8* data, u32 size) : m_in(data, size) {}
    void Field(bool& value) { value = m_in.U8() != 0; }
    void Field(char& value) { value = static_cast<char>(m_in.U8()); }
    void Field(u8& value) { value = m_in.U8(); }
    void Field(s8& value) { value = m_in.S8(); }
    void Field(s16& value) { value = m_in.S16(); }
    void Field(s32& value) { value = m_in.S32(); }
    void Field(u32& value) { value = m_in.U32(); }
    void Field(float& value) { value = m_in.F32(); }
    void Bytes(void* data, u32 count) { m_in.Bytes(data, count); }
    void Text(char* text, u32 count) { m_in.Bytes(text, count); }
    void Pad(u32 count) {
        for (u32 i = 0; i < count; ++i) {
            m_in.U8();
        }
    }
    bool Finished() const { return m_in.Finished(); }

private:
    MNByteReader m_in;
};

// A record type, const when writing and not when reading.
template <class Record, class Type>
concept RecordOf = std::is_same_v<std::remove_const_t<Record>, Type>;

template <class Io, RecordOf<SaveGameActivePuzzle> Record>
void Transfer(Io& io, Record& puzzle) {
    io.Field(puzzle.bActive);
    io.Pad(3);
    io.Field(puzzle.type);
    io.Field(puzzle.id);
    io.Bytes(puzzle.data, MN_ACTIVE_PUZZLE_DATA_SIZE);
    io.Pad(2);
}

template <class Io, RecordOf<MNTournamentPuzzleData> Record>
void Transfer(Io& io, Record& slot) {
    io.Field(slot.m_puzzleType);
    io.Pad(3);
    io.Field(slot.m_puzzleId);
    io.Field(slot.m_puzzleStatus);
    io.Pad(3);
    io.Field(slot.m_score);
    io.Field(slot.m_fTargetTime);
    io.Field(slot.m_fCompleteTime);
}

template <class Io, RecordOf<MNTournamentData> Record>
void Transfer(Io& io, Record& tournament) {
    io.Field(tournament.m_bNewGame);
    io.Pad(3);
    io.Field(tournament.m_currentPuzzle);
    io.Field(tournament.m_currentDifficulty);
    io.Field(tournament.m_highestDifficultyUnlocked);
    io.Field(tournament.m_numPasses);
    io.Field(tournament.m_numPassesUsed);
    io.Field(tournament.m_targetScore);
    io.Field(tournament.m_currentScore);
    for (auto& slot : tournament.m_puzzleDataList) {
        Transfer(io, slot);
    }
}

template <class Io, RecordOf<MNQuickBlastData> Record>
void Transfer(Io& io, Record& quickBlast) {
    io.Field(quickBlast.m_bNewGame);
    io.Text(quickBlast.m_name, MN_QUICKBLAST_NAME_SIZE);
    io.Field(quickBlast.m_difficulty);
    io.Pad(2);
    io.Field(quickBlast.m_fTimeLimit);
    io.Field(quickBlast.m_puzzles);
    io.Pad(3);
    io.Field(quickBlast.m_currentScore);
    io.Field(quickBlast.m_statOffset);
    for (auto& stat : quickBlast.m_statList) {
        io.Field(stat.m_score);
    }
}

template <class Io, RecordOf<MNFastAndFunData> Record>
void Transfer(Io& io, Record& fastAndFun) {
    io.Field(fastAndFun.m_currentPuzzle);
    io.Field(fastAndFun.m_mostBeginnerPuzzlesComplete);
    io.Field(fastAndFun.m_mostIntermediatePuzzlesComplete);
    io.Field(fastAndFun.m_mostProPuzzlesComplete);
}

template <class Io, RecordOf<MNSaveProfileData> Record>
void Transfer(Io& io, Record& profile) {
    io.Field(profile.bUsed);
    io.Text(profile.name, MN_PROFILE_NAME_SIZE);
    io.Field(profile.handedness);
    io.Field(profile.musicVolume);
    io.Field(profile.soundVolume);
    io.Field(profile.bSudokuHighlight);
    io.Pad(3);
    Transfer(io, profile.quickblastData);
    Transfer(io, profile.tournamentData);
    Transfer(io, profile.fastandfunData);
    Transfer(io, profile.tournamentActivePuzzle);
    Transfer(io, profile.simplypuzzleActivePuzzle);
    io.Bytes(profile.playedBits, sizeof(profile.playedBits));
    for (auto& type : profile.recent) {
        for (auto& index : type) {
            io.Field(index);
        }
    }
}

// The global settings and the profiles: everything the checksum covers.
template <class Io, class Record>
void TransferBody(Io& io, Record& data) {
    io.Field(data.language);
    io.Field(data.activeProfile);
    io.Pad(kGlobalReserved);
    for (auto& profile : data.profiles) {
        Transfer(io, profile);
    }
}

u32 Checksum(const u8* block) {
    const uLong start = crc32(0L, Z_NULL, 0);
    return static_cast<u32>(
        crc32(start, block + kHeaderSize, static_cast<uInt>(MN_SAVE_DATA_SIZE - kHeaderSize)));
}

u32 BigAt(const u8* block, u32 offset) {
    MNByteReader in(block + offset, sizeof(u32));
    return in.U32();
}

} // namespace

static_assert(kHeaderSize + 8 + MN_NUM_PROFILES * kProfileSize == MN_SAVE_DATA_SIZE);

void SaveGameActivePuzzle::Clear() {
    bActive = false;
    type = 0;
    id = 0;
    std::memset(data, 0, sizeof(data));
}

void MNTournamentData::Clear() {
    m_bNewGame = true;
    m_currentPuzzle = 0;
    SetDifficulty(PUZZLE_DIFFICULTY_BEGINNER);
    SetHighestUnlocked(PUZZLE_DIFFICULTY_BEGINNER);
    m_numPasses = kDefaultPasses;
    m_numPassesUsed = 0;
    m_targetScore = kDefaultTargetScore;
    m_currentScore = 0;
    for (int i = 0; i < MN_TOURNAMENT_SLOTS; ++i) {
        m_puzzleDataList[i] =
            MNTournamentPuzzleData{0, -1, static_cast<char>(i == 0 ? 1 : 0), 0, 0.0f, 0.0f};
    }
}

void MNQuickBlastData::Clear() {
    m_bNewGame = true;
    std::memset(m_name, 0, sizeof(m_name));
    SetDifficulty(PUZZLE_DIFFICULTY_BEGINNER);
    m_fTimeLimit = MN_QUICKBLAST_TIME_LIMIT;
    m_puzzles = kDefaultPuzzles;
    m_currentScore = 0;
    m_statOffset = 0;
    for (MNQuickBlastStat& stat : m_statList) {
        stat.m_score = -1;
    }
}

void MNFastAndFunData::Clear() {
    *this = MNFastAndFunData{0, 0, 0, 0};
}

int* MNFastAndFunData::BestRunOf(ePuzzleDifficulty level) {
    int* const bestRuns[] = {&m_mostBeginnerPuzzlesComplete, &m_mostIntermediatePuzzlesComplete,
                             &m_mostProPuzzlesComplete};
    return IsLevel(level) ? bestRuns[LevelOf(level)] : nullptr;
}

const int* MNFastAndFunData::BestRunOf(ePuzzleDifficulty level) const {
    return const_cast<MNFastAndFunData*>(this)->BestRunOf(level);
}

void MNSaveProfileData::Clear() {
    bUsed = 0;
    std::memset(name, 0, sizeof(name));
    std::strcpy(name, kUnusedName);
    handedness = kDefaultHandedness;
    musicVolume = kDefaultMusicVolume;
    soundVolume = kDefaultSoundVolume;
    bSudokuHighlight = 1;
    quickblastData.Clear();
    fastandfunData.Clear();
    ClearLanguageData();
}

void MNSaveProfileData::ClearLanguageData() {
    tournamentData.Clear();
    tournamentActivePuzzle.Clear();
    simplypuzzleActivePuzzle.Clear();
    std::memset(playedBits, 0, sizeof(playedBits));
    for (auto& type : recent) {
        for (s16& index : type) {
            index = -1;
        }
    }
}

bool MNSaveProfileData::IsPlayed(int bankIndex) const {
    if (bankIndex < 0 || bankIndex >= MN_PLAYED_BITS) {
        return false;
    }
    return (playedBits[bankIndex / 8] & (1u << (bankIndex % 8))) != 0;
}

void MNSaveProfileData::SetPlayed(int bankIndex, bool bPlayed) {
    if (bankIndex < 0 || bankIndex >= MN_PLAYED_BITS) {
        kLogFmt("MNSaveProfileData: no played bit for bank index %d\n", bankIndex);
        return;
    }
    const u8 bit = static_cast<u8>(1u << (bankIndex % 8));
    playedBits[bankIndex / 8] = static_cast<u8>(bPlayed ? playedBits[bankIndex / 8] | bit
                                                        : playedBits[bankIndex / 8] & ~bit);
}

bool MNSaveProfileData::IsRecent(int type, int bankIndex, int depth) const {
    if (type < 1 || type > MN_NUM_PUZZLE_TYPES) {
        return false;
    }
    for (int i = 0; i < depth && i < MN_RECENT_DEPTH; ++i) {
        if (recent[type - 1][i] == bankIndex) {
            return true;
        }
    }
    return false;
}

void MNSaveProfileData::AddRecent(int type, int bankIndex) {
    if (type < 1 || type > MN_NUM_PUZZLE_TYPES) {
        kLogFmt("MNSaveProfileData: no history for puzzle type %d\n", type);
        return;
    }
    s16* history = recent[type - 1];
    std::memmove(history + 1, history, sizeof(s16) * (MN_RECENT_DEPTH - 1));
    history[0] = static_cast<s16>(bankIndex);
}

void MNSaveData::Clear() {
    version = MN_SAVE_DATA_VERSION;
    language = LANGUAGE_NONE;
    activeProfile = -1;
    for (MNSaveProfileData& profile : profiles) {
        profile.Clear();
    }
}

void WriteSaveData(const MNSaveData& data, u8* out) {
    FieldWriter io(out, MN_SAVE_DATA_SIZE);
    io.Field(kMagic);
    io.Field(data.version);
    io.Field(0u); // the checksum, once the body is written
    TransferBody(io, data);
    io.PatchU32(8, Checksum(out));
}

const char* ReadSaveData(const u8* block, int size, MNSaveData& data) {
    if (block == nullptr || size != MN_SAVE_DATA_SIZE) {
        return "the block has the wrong size";
    }
    if (BigAt(block, 0) != kMagic) {
        return "the block is not save data";
    }
    if (BigAt(block, 4) != MN_SAVE_DATA_VERSION) {
        return "the block is of an unknown version";
    }
    if (BigAt(block, 8) != Checksum(block)) {
        return "the block is damaged (checksum)";
    }
    FieldReader io(block + kHeaderSize, MN_SAVE_DATA_SIZE - kHeaderSize);
    MNSaveData read;
    read.version = MN_SAVE_DATA_VERSION;
    TransferBody(io, read);
    if (!io.Finished()) {
        return "the block's layout does not add up";
    }
    BringIntoRange(read);
    data = read;
    return nullptr;
}

} // namespace Kelvo_lib
