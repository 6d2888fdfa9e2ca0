// The save block's bytes: where each field lies, that reading gives back what was written,
// and that no damaged, foreign or wrongly sized block is ever taken in.
#include <services/mnsavedata.h>

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <limits>
#include <vector>

using namespace Kelvo_lib;

namespace {

constexpr size_t kProfileBase = 20;
constexpr size_t kProfileSize = 1488;

// Every field of every profile a value of its own.
MNSaveData DistinctData() {
    MNSaveData data;
    data.Clear();
    data.language = LANGUAGE_GERMAN;
    data.activeProfile = 2;
    for (int p = 0; p < MN_NUM_PROFILES; ++p) {
        MNSaveProfileData& profile = data.profiles[p];
        profile.bUsed = 1;
        std::snprintf(profile.name, sizeof(profile.name), "PLAYER%d", p);
        profile.handedness = static_cast<u8>(p % 2);
        profile.musicVolume = static_cast<u8>(p);
        profile.soundVolume = static_cast<u8>(p + 1);
        profile.bSudokuHighlight = static_cast<u8>(p % 2);
        profile.quickblastData.m_fTimeLimit = 300.5f + static_cast<float>(p);
        profile.quickblastData.m_statList[49].m_score = 4900 + p;
        profile.tournamentData.m_currentPuzzle = 10 + p;
        profile.tournamentData.m_puzzleDataList[3].m_puzzleId = 0x01020304 + p;
        profile.tournamentData.m_puzzleDataList[19].m_fCompleteTime = 99.25f;
        profile.fastandfunData.m_mostProPuzzlesComplete = 40 + p;
        profile.tournamentActivePuzzle.bActive = true;
        profile.tournamentActivePuzzle.type = 4;
        profile.tournamentActivePuzzle.id = 0xA0B0C0D0u + static_cast<u32>(p);
        for (int i = 0; i < MN_ACTIVE_PUZZLE_DATA_SIZE; ++i) {
            profile.tournamentActivePuzzle.data[i] = static_cast<u8>(i + p);
        }
        profile.simplypuzzleActivePuzzle.type = 8;
        profile.SetPlayed(1535, true);
        profile.SetPlayed(p, true);
        profile.AddRecent(4, 1000 + p);
        for (int i = 0; i < MN_RECENT_DEPTH - 1; ++i) {
            profile.AddRecent(4, i);
        }
    }
    return data;
}

std::vector<u8> Bytes(const MNSaveData& data) {
    std::vector<u8> bytes(MN_SAVE_DATA_SIZE);
    WriteSaveData(data, bytes.data());
    return bytes;
}

u32 Big32At(const std::vector<u8>& bytes, size_t offset) {
    return (u32(bytes[offset]) << 24) | (u32(bytes[offset + 1]) << 16) |
           (u32(bytes[offset + 2]) << 8) | u32(bytes[offset + 3]);
}

u32 Big16At(const std::vector<u8>& bytes, size_t offset) {
    return (u32(bytes[offset]) << 8) | u32(bytes[offset + 1]);
}

} // namespace

TEST(MNSaveData, FieldsLieBigEndianAtTheirOffsets) {
    const std::vector<u8> bytes = Bytes(DistinctData());
    ASSERT_EQ(bytes.size(), 5972u);
    EXPECT_EQ(Big32At(bytes, 0), 0x4D4E5356u); // "MNSV"
    EXPECT_EQ(Big32At(bytes, 4), MN_SAVE_DATA_VERSION);
    EXPECT_EQ(bytes[12], LANGUAGE_GERMAN);
    EXPECT_EQ(bytes[13], 2);
    const size_t base = kProfileBase + kProfileSize; // profile 1
    EXPECT_EQ(bytes[base], 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[base + 1])), "PLAYER1");
    EXPECT_EQ(bytes[base + 19], 2); // sound volume
    EXPECT_EQ(Big32At(bytes, base + 24 + 36), std::bit_cast<u32>(301.5f));
    EXPECT_EQ(Big32At(bytes, base + 24 + 52 + 49 * 4), 4901u);
    EXPECT_EQ(Big32At(bytes, base + 276 + 4), 11u);
    EXPECT_EQ(Big32At(bytes, base + 276 + 20 + 3 * 24 + 4), 0x01020305u);
    EXPECT_EQ(Big32At(bytes, base + 276 + 20 + 19 * 24 + 20), std::bit_cast<u32>(99.25f));
    EXPECT_EQ(Big32At(bytes, base + 776 + 12), 41u);
    EXPECT_EQ(bytes[base + 792], 1);
    EXPECT_EQ(Big32At(bytes, base + 792 + 8), 0xA0B0C0D1u);
    EXPECT_EQ(bytes[base + 792 + 12 + 209], static_cast<u8>(210));
    EXPECT_EQ(Big32At(bytes, base + 1016 + 4), 8u);
    EXPECT_EQ(bytes[base + 1240], 0x02);                            // played bit of bank index 1
    EXPECT_EQ(bytes[base + 1240 + 191], 0x80);                      // and of index 1535
    EXPECT_EQ(Big16At(bytes, base + 1432 + 3 * 7 * 2), 5u);         // newest sudoku
    EXPECT_EQ(Big16At(bytes, base + 1432 + 3 * 7 * 2 + 12), 1001u); // oldest sudoku
    EXPECT_EQ(Big16At(bytes, kProfileBase + 4 * kProfileSize - 2), 1003u); // the last field

    MNSaveData read;
    ASSERT_EQ(ReadSaveData(bytes.data(), MN_SAVE_DATA_SIZE, read), nullptr);
    EXPECT_EQ(Bytes(read), bytes);
}

TEST(MNSaveData, EverySingleBitFlipIsRefused) {
    const std::vector<u8> good = Bytes(DistinctData());
    int taken = 0;
    for (size_t offset = 0; offset < good.size(); ++offset) {
        std::vector<u8> damaged = good;
        damaged[offset] ^= static_cast<u8>(1u << (offset % 8));
        MNSaveData read;
        taken += ReadSaveData(damaged.data(), MN_SAVE_DATA_SIZE, read) == nullptr ? 1 : 0;
    }
    EXPECT_EQ(taken, 0);
}

TEST(MNSaveData, BlocksOfAnotherSizeAreRefusedAndChangeNothing) {
    std::vector<u8> bytes = Bytes(DistinctData());
    bytes.resize(5984);
    MNSaveData kept;
    kept.Clear();
    for (int size : {MN_SAVE_DATA_SIZE - 1, 5984}) {
        EXPECT_STREQ(ReadSaveData(bytes.data(), size, kept), "the block has the wrong size");
    }
    EXPECT_STREQ(kept.profiles[0].name, "UNUSED");
}

TEST(MNSaveData, ValuesOutOfRangeAreBroughtIntoRange) {
    MNSaveData wild = DistinctData();
    wild.language = 9;
    wild.activeProfile = 7;
    wild.profiles[0].musicVolume = 200;
    wild.profiles[1].tournamentData.m_currentPuzzle = -3;
    wild.profiles[2].tournamentData.m_currentPuzzle = 20;
    std::memset(wild.profiles[3].name, 'A', sizeof(wild.profiles[3].name));
    wild.profiles[0].quickblastData.m_difficulty = 3;
    wild.profiles[1].quickblastData.m_fTimeLimit = std::numeric_limits<float>::quiet_NaN();
    wild.profiles[2].quickblastData.m_fTimeLimit = -300.0f;
    wild.profiles[3].quickblastData.m_fTimeLimit = 1.0e12f;
    MNSaveData read;
    const std::vector<u8> bytes = Bytes(wild);
    ASSERT_EQ(ReadSaveData(bytes.data(), MN_SAVE_DATA_SIZE, read), nullptr);
    EXPECT_EQ(read.language, LANGUAGE_NONE);
    EXPECT_EQ(read.activeProfile, -1);
    EXPECT_EQ(read.profiles[0].musicVolume, MN_MAX_VOLUME);
    EXPECT_EQ(read.profiles[1].tournamentData.m_currentPuzzle, 0);
    EXPECT_EQ(read.profiles[2].tournamentData.m_currentPuzzle, 0);
    EXPECT_EQ(std::strlen(read.profiles[3].name), static_cast<size_t>(MN_TYPED_NAME_LETTERS));
    EXPECT_EQ(read.profiles[0].quickblastData.m_difficulty, 0);
    for (int p = 1; p < MN_NUM_PROFILES; ++p) {
        EXPECT_EQ(read.profiles[p].quickblastData.m_fTimeLimit, 1200.0f) << p;
    }
}

// A shorter name written over a longer one: what memory keeps behind the terminator never
// reaches the file.
TEST(MNSaveData, NameFieldsAreWrittenZeroFilledBehindTheirText) {
    MNSaveData data = DistinctData();
    MNSaveProfileData& profile = data.profiles[1];
    std::memset(profile.name, 'X', sizeof(profile.name));
    std::memcpy(profile.name, "BO", 3);
    std::memset(profile.quickblastData.m_name, 'Y', sizeof(profile.quickblastData.m_name));
    profile.quickblastData.m_name[0] = '\0';
    const std::vector<u8> bytes = Bytes(data);
    MNSaveData clean = DistinctData();
    std::snprintf(clean.profiles[1].name, sizeof(clean.profiles[1].name), "BO");
    std::memset(clean.profiles[1].quickblastData.m_name, 0,
                sizeof(clean.profiles[1].quickblastData.m_name));
    EXPECT_EQ(bytes, Bytes(clean));
    const size_t name = kProfileBase + kProfileSize + 1;
    EXPECT_EQ(
        std::vector<u8>(bytes.begin() + name + 2, bytes.begin() + name + sizeof(profile.name)),
        std::vector<u8>(sizeof(profile.name) - 2, 0));
}
