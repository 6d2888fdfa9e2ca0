// The save file's flash-memory I/O: the banner built at set-up, the rounded and padded
// save file, the space asked for, loads refusing files of the wrong length, failed writes
// keeping the previous save, and the wait keeping input and console events polled.
#include "storage_test_support.h"

#include <framework/kevent.h>

#include <kelvo/input/kinputsystemwii.h>

#include <console/host_input.h>
#include <console/wpad.h>

#include <cstring>
#include <functional>

using namespace Kelvo_lib;
using namespace storage_test;

namespace {

std::u16string BannerTitle(const NANDBanner& banner) {
    std::u16string title;
    for (u32 i = 0; i < NAND_BANNER_COMMENT_CHARS; ++i) {
        const char16_t c =
            static_cast<char16_t>(banner.comment[0][2 * i] << 8 | banner.comment[0][2 * i + 1]);
        if (c == 0) {
            break;
        }
        title.push_back(c);
    }
    return title;
}

bool Filled(const u8* bytes, size_t size, u8 value) {
    return std::all_of(bytes, bytes + size, [=](u8 byte) { return byte == value; });
}

u32 SpeedWord(const NANDBanner& banner) {
    return static_cast<u32>(banner.iconSpeed[0]) << 8 | banner.iconSpeed[1];
}

class StorageNandTest : public StorageTest {};

TEST_F(StorageNandTest, InitBuildsTheBannerFromTheDiscImages) {
    InitGameStorage();
    const NANDBanner& banner = NandBanner();
    EXPECT_EQ(NandDataSize(), kBlockSize);
    EXPECT_EQ(banner.signature[0], NAND_BANNER_SIGNATURE >> 24);
    EXPECT_EQ(BannerTitle(banner), u"Puzzles");
    EXPECT_EQ(banner.comment[1][0] | banner.comment[1][1], 0) << "an empty subtitle";
    EXPECT_EQ(SpeedWord(banner), 0xAAAAu);
    EXPECT_TRUE(Filled(banner.bannerTexture, NAND_BANNER_TEXTURE_SIZE, kBannerFill));
    for (u32 i = 0; i < NAND_BANNER_ICON_MAX; ++i) {
        EXPECT_TRUE(Filled(banner.iconTexture[i], NAND_BANNER_ICON_SIZE, kIconFill + i)) << i;
    }
}

// The banner names the game as its title screen does, whatever the console's language.
TEST_F(StorageNandTest, BannerTitleIsTheGamesNameInEveryLanguage) {
    struct Case {
        u8 language;
        bool bForceEnglish;
    };
    const Case cases[] = {
        {SC_LANG_JAPANESE, false}, {SC_LANG_ENGLISH, false},
        {SC_LANG_GERMAN, false},   {SC_LANG_FRENCH, false},
        {SC_LANG_SPANISH, false},  {SC_LANG_ITALIAN, false},
        {SC_LANG_DUTCH, false},    {9, false},
        {SC_LANG_GERMAN, true},
    };
    for (const Case& c : cases) {
        SCSetLanguageForTest(c.language);
        StorageManagerWiiForceEnglishOnly(c.bForceEnglish);
        kStorageManager::Init(kBlockSize, "", "");
        EXPECT_EQ(BannerTitle(NandBanner()), u"Puzzles")
            << int(c.language) << " " << c.bForceEnglish;
        kStorageManager::Deinit();
    }
}

TEST_F(StorageNandTest, BadImagesLeaveTheBannerWithoutThem) {
    struct Case {
        const char* what;
        std::function<void()> damage;
        u32 speeds;
        int iconsDrawn;
    };
    const Case cases[] = {
        {"icon 3 of 4,607 bytes",
         [&] { WriteFile(DiscFile("save/save_icon_03.tpl.bin"), std::vector<u8>(4607, 1)); },
         0x000Au, 2},
        {"icon 8 missing", [&] { fs::remove(DiscFile("save/save_icon_08.tpl.bin")); }, 0x2AAAu, 7},
        {"banner of 24,577 bytes",
         [&] { WriteFile(DiscFile("save/save_banner.tpl.bin"), std::vector<u8>(24577, 1)); }, 0, 0},
        {"banner missing", [&] { fs::remove(DiscFile("save/save_banner.tpl.bin")); }, 0, 0},
    };
    for (const Case& c : cases) {
        WriteBannerImages(NAND_BANNER_TEXTURE_SIZE, NAND_BANNER_ICON_SIZE);
        c.damage();
        kStorageManager::Init(kBlockSize, "", "");
        const NANDBanner& banner = NandBanner();
        EXPECT_EQ(SpeedWord(banner), c.speeds) << c.what;
        EXPECT_TRUE(Filled(banner.bannerTexture, NAND_BANNER_TEXTURE_SIZE, 0)) << c.what;
        for (int i = 0; i < static_cast<int>(NAND_BANNER_ICON_MAX); ++i) {
            const u8 fill = i < c.iconsDrawn ? static_cast<u8>(kIconFill + i) : 0;
            EXPECT_TRUE(Filled(banner.iconTexture[i], NAND_BANNER_ICON_SIZE, fill)) << c.what << i;
        }
        EXPECT_EQ(BannerTitle(banner), u"Puzzles") << c.what;
        kStorageManager::Deinit();
    }
}

TEST_F(StorageNandTest, BlockSizeMustBeBelowTheFileLimit) {
    EXPECT_DEATH(kStorageManager::Init(MAX_FILE_SIZE, "", ""), "s_dataSize < MAX_FILE_SIZE");
    kStorageManager::Init(MAX_FILE_SIZE - 1, "", "");
    EXPECT_EQ(NandDataSize(), MAX_FILE_SIZE - 1);
}

TEST_F(StorageNandTest, SaveFileHoldsTheBlockZeroPaddedToTheRoundedSize) {
    InitGameStorage();
    std::vector<u8> block = Block(1);
    NandSetDataBlock(block.data());
    ASSERT_TRUE(NandCreate());
    ASSERT_TRUE(NandSave());
    EXPECT_EQ(ReadFile(SaveFile()), SaveFileOf(block));
    ASSERT_TRUE(NandSaveBanner());
    const std::vector<u8> banner = ReadFile(BannerFile());
    ASSERT_EQ(banner.size(), 61600u);
    EXPECT_EQ(std::memcmp(banner.data(), &NandBanner(), banner.size()), 0);
    const fs::perms others = fs::perms::others_read | fs::perms::others_write;
    EXPECT_EQ(fs::status(SaveFile()).permissions() & others, fs::perms::none);
    EXPECT_EQ(fs::status(BannerFile()).permissions() & others, fs::perms::others_read);

    std::vector<u8> loaded(kBlockSize, 0);
    NandSetDataBlock(loaded.data());
    ASSERT_TRUE(NandLoad());
    EXPECT_EQ(loaded, block);
    ASSERT_TRUE(NandDeleteSave());
    EXPECT_FALSE(NandFindFile());
    EXPECT_EQ(NandLastError(), NAND_RESULT_NOEXISTS);
}

TEST_F(StorageNandTest, SpaceAsksForFiveBlocksAndTwoInodes) {
    InitGameStorage();
    const NANDCapacity roomy = NANDDefaultCapacity();
    NANDSetCapacityForTest(NANDCapacity{4, 2, roomy.freeBlocks, roomy.freeInodes});
    EXPECT_FALSE(NandSpace());
    EXPECT_EQ(NandLastError(), static_cast<int>(NAND_CHECK_HOME_BLOCKS));
    NANDSetCapacityForTest(NANDCapacity{5, 1, roomy.freeBlocks, roomy.freeInodes});
    EXPECT_FALSE(NandSpace());
    EXPECT_EQ(NandLastError(), static_cast<int>(NAND_CHECK_HOME_INODES));
    NANDSetCapacityForTest(NANDCapacity{5, 2, roomy.freeBlocks, roomy.freeInodes});
    EXPECT_TRUE(NandSpace());
}

TEST_F(StorageNandTest, LoadRefusesASaveFileOfAnyOtherLength) {
    InitGameStorage();
    const std::vector<u8> block = Block(2);
    for (size_t length : {size_t{0}, size_t{32}, kRoundedSize - 12, kRoundedSize - 1,
                          kRoundedSize + 1, kRoundedSize + 32}) {
        std::vector<u8> file = SaveFileOf(block);
        file.resize(length, 0);
        WriteFile(SaveFile(), file);
        std::vector<u8> loaded(kBlockSize, 0x55);
        NandSetDataBlock(loaded.data());
        EXPECT_FALSE(NandLoad()) << length;
        EXPECT_EQ(NandLastError(), static_cast<int>(length));
        EXPECT_TRUE(Filled(loaded.data(), loaded.size(), 0x55)) << length;
    }
}

TEST_F(StorageNandTest, FailedOrShortWriteKeepsThePreviousSave) {
    InitGameStorage();
    const std::vector<u8> previous = Block(3);
    std::vector<u8> next = Block(4);
    const std::pair<const char*, int> cases[] = {
        {"nand-write:short@1", static_cast<int>(kRoundedSize / 2)},
        {"nand-write:maxblocks@1", NAND_RESULT_MAXBLOCKS},
        {"nand-write:corrupt@1", NAND_RESULT_CORRUPT},
        {"nand-safe-open:busy@1", NAND_RESULT_BUSY},
        {"nand-safe-close:ecc-crit@1", NAND_RESULT_ECC_CRIT},
    };
    for (const auto& [rule, error] : cases) {
        WriteFile(SaveFile(), SaveFileOf(previous));
        FaultReset();
        ASSERT_TRUE(FaultAddText(rule));
        NandSetDataBlock(next.data());
        EXPECT_FALSE(NandSave()) << rule;
        EXPECT_EQ(NandLastError(), error) << rule;
        EXPECT_EQ(ReadFile(SaveFile()), SaveFileOf(previous)) << rule;
        EXPECT_TRUE(fs::is_empty(WorkingCopies())) << rule;
    }
}

TEST_F(StorageNandTest, SaveBannerReplacesAnExistingBanner) {
    InitGameStorage();
    WriteFile(BannerFile(), std::vector<u8>(100, 0x77));
    ASSERT_TRUE(NandSaveBanner());
    const std::vector<u8> banner = ReadFile(BannerFile());
    ASSERT_EQ(banner.size(), sizeof(NANDBanner));
    EXPECT_EQ(std::memcmp(banner.data(), &NandBanner(), banner.size()), 0);
}

// A safe file that did not open is not cancelled, so the flash library reports no misuse.
TEST_F(StorageNandTest, FailedSafeOpenLeavesTheFileAloneQuietly) {
    InitGameStorage();
    WriteFile(BannerFile(), std::vector<u8>(100, 0x77));
    std::vector<u8> block = Block(6);
    NandSetDataBlock(block.data());
    const std::pair<const char*, bool (*)()> cases[] = {{"save", NandSave},
                                                        {"banner", NandSaveBanner}};
    for (const auto& [name, write] : cases) {
        FaultReset();
        ASSERT_TRUE(FaultAddText("nand-safe-open:busy@1"));
        testing::internal::CaptureStderr();
        EXPECT_FALSE(write()) << name;
        const std::string reported = testing::internal::GetCapturedStderr();
        EXPECT_EQ(reported.find("is not open"), std::string::npos) << name << reported;
        EXPECT_EQ(NandLastError(), NAND_RESULT_BUSY) << name;
    }
    EXPECT_EQ(ReadFile(BannerFile()), std::vector<u8>(100, 0x77));
}

class HomeCounter : public kHasSlots<> {
public:
    void Home() { ++m_presses; }
    int m_presses = 0;
};

TEST_F(StorageNandTest, WaitKeepsTheRemotesAndConsoleEventsPolled) {
    InitGameStorage();
    kInputSystemWII input;
    HostInputReset();
    input.Init(nullptr);
    kInputSystemBase::Select(&input);
    kEvent::Init();
    HomeCounter counter;
    kEvent::HomeButtonSignal.Connect(&counter, &HomeCounter::Home);
    WriteFile(SaveFile(), SaveFileOf(Block(5)));
    HostInputSetButton(0, WPAD_BUTTON_HOME, true);

    std::vector<u8> loaded(kBlockSize);
    NandSetDataBlock(loaded.data());
    EXPECT_TRUE(NandLoad());
    EXPECT_GE(counter.m_presses, 1) << "HOME seen while the load waited";

    kEvent::Deinit();
    kInputSystemBase::Select(nullptr);
    HostInputReset();
}

} // namespace
