// The flash file system over a host directory: where it lies, the console's result codes,
// quotas, asynchronous completion at the main thread's yield, safe files, injected faults
// and power cuts, the banner record and the return to the menu.
#include "power_cut.h"
#include "temporary_host_directory.h"

#include <console/fault.h>
#include <console/host.h>
#include <console/nand.h>
#include <console/os.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr u8 kOwnerRW = NAND_PERM_OWNER_READ | NAND_PERM_OWNER_WRITE;

std::string ReadHostFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct Completion {
    int calls = 0;
    s32 result = 0;
    bool onMainThread = false;
};
Completion s_completion;

void RecordCompletion(s32 result, NANDCommandBlock*) {
    ++s_completion.calls;
    s_completion.result = result;
    s_completion.onMainThread = gettid() == getpid();
}

// Each test on a flash memory of its own.
class NandTest : public testing::Test {
protected:
    void SetUp() override {
        NANDResetForTest();
        FaultReset();
        s_completion = Completion{};
    }

    void TearDown() override {
        NANDResetForTest();
        FaultReset();
    }

    fs::path Root() const { return m_nand.Root(); }
    fs::path Home() const { return Root() / "title/puzzles/data"; }
    fs::path Work() const { return Root() / "tmp"; }

    // Starts an asynchronous call, then yields once as a waiting program does.
    s32 Await(const std::function<s32(NANDCommandBlock*)>& start) {
        NANDCommandBlock block{};
        s_completion = Completion{};
        const s32 started = start(&block);
        if (started != NAND_RESULT_OK) {
            return started;
        }
        OSYieldThread();
        EXPECT_EQ(s_completion.calls, 1);
        return s_completion.result;
    }

    void CreateWith(const char* name, const std::string& bytes) {
        ASSERT_EQ(NANDCreate(name, kOwnerRW, 0), NAND_RESULT_OK);
        NANDFileInfo info{};
        ASSERT_EQ(NANDOpen(name, &info, NAND_ACCESS_WRITE), NAND_RESULT_OK);
        ASSERT_EQ(NANDWrite(&info, bytes.data(), static_cast<u32>(bytes.size())),
                  static_cast<s32>(bytes.size()));
        ASSERT_EQ(NANDClose(&info), NAND_RESULT_OK);
    }

    // Replaces a file through a safe open, write and close.
    s32 SafeWrite(const char* name, const std::string& bytes) {
        NANDFileInfo info{};
        s32 result = Await([&](NANDCommandBlock* block) {
            return NANDSimpleSafeOpenAsync(name, &info, NAND_ACCESS_RW, m_copyBuffer,
                                           sizeof(m_copyBuffer), RecordCompletion, block);
        });
        if (result != NAND_RESULT_OK) {
            return result;
        }
        result = Await([&](NANDCommandBlock* block) {
            return NANDWriteAsync(&info, bytes.data(), static_cast<u32>(bytes.size()),
                                  RecordCompletion, block);
        });
        if (result != static_cast<s32>(bytes.size())) {
            return result;
        }
        return Await([&](NANDCommandBlock* block) {
            return NANDSimpleSafeCloseAsync(&info, RecordCompletion, block);
        });
    }

    test_support::TemporaryNand m_nand;
    alignas(32) u8 m_copyBuffer[1024];
};

TEST_F(NandTest, HomeDirectoryIsMadeUnderTheRootAndLeftoverWorkingCopiesGo) {
    fs::create_directories(Work());
    std::ofstream(Work() / "safe7") << "a copy a power cut left";
    char home[NAND_MAX_PATH];
    ASSERT_EQ(NANDGetHomeDir(home), NAND_RESULT_OK);
    EXPECT_STREQ(home, "/title/puzzles/data");
    EXPECT_TRUE(fs::is_directory(Home()));
    EXPECT_TRUE(fs::is_empty(Work()));
    EXPECT_EQ(NANDChangeDir("/title/missing"), NAND_RESULT_NOEXISTS);
    ASSERT_EQ(NANDChangeDir("/title"), NAND_RESULT_OK);
    ASSERT_EQ(NANDCreate("x.dat", kOwnerRW, 0), NAND_RESULT_OK);
    EXPECT_TRUE(fs::exists(Root() / "title/x.dat"));
}

TEST_F(NandTest, DefaultRootFollowsXdgDataHomeThenHome) {
    HostOptions options = HostGetOptions();
    options.nandDir[0] = '\0';
    HostSetOptions(options);
    const char* savedXdg = std::getenv("XDG_DATA_HOME");
    const std::string xdg = savedXdg != nullptr ? savedXdg : "";
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";

    setenv("XDG_DATA_HOME", (Root() / "xdg").c_str(), 1);
    EXPECT_EQ(std::string(NANDHostRoot()), (Root() / "xdg/puzzles/nand").string());
    EXPECT_TRUE(fs::is_directory(Root() / "xdg/puzzles/nand/title/puzzles/data"));
    setenv("XDG_DATA_HOME", "relative/not/used", 1);
    setenv("HOME", (Root() / "home").c_str(), 1);
    EXPECT_EQ(std::string(NANDHostRoot()), (Root() / "home/.local/share/puzzles/nand").string());

    setenv("HOME", home.c_str(), 1);
    if (savedXdg != nullptr) {
        setenv("XDG_DATA_HOME", xdg.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
}

TEST_F(NandTest, BadPathsAndMissingFilesGetTheirResultCodes) {
    NANDFileInfo info{};
    u32 answer = 0;
    const std::vector<std::pair<std::function<s32()>, s32>> calls = {
        {[] { return NANDCreate("nodir/x.dat", kOwnerRW, 0); }, NAND_RESULT_NOEXISTS},
        {[] { return NANDCreate("abcdefghijklm", kOwnerRW, 0); }, NAND_RESULT_INVALID},
        {[] { return NANDCreate("../x.dat", kOwnerRW, 0); }, NAND_RESULT_INVALID},
        {[] { return NANDCreate("a b", kOwnerRW, 0); }, NAND_RESULT_INVALID},
        {[] { return NANDCreate("dir/", kOwnerRW, 0); }, NAND_RESULT_INVALID},
        {[] { return NANDCreate("", kOwnerRW, 0); }, NAND_RESULT_INVALID},
        {[] { return NANDCreate(nullptr, kOwnerRW, 0); }, NAND_RESULT_INVALID},
        {[&] { return NANDOpen("none.dat", &info, NAND_ACCESS_READ); }, NAND_RESULT_NOEXISTS},
        {[&] { return NANDOpen("none.dat", &info, 0); }, NAND_RESULT_INVALID},
        {[] { return NANDDelete("none.dat"); }, NAND_RESULT_NOEXISTS},
        {[] { return NANDDelete("/"); }, NAND_RESULT_ACCESS},
        {[] { return NANDMove("none.dat", "/tmp"); }, NAND_RESULT_NOEXISTS},
        {[] { return NANDMove("/title", "/tmp"); }, NAND_RESULT_NOEXISTS},
        {[&] { return NANDClose(&info); }, NAND_RESULT_INVALID},
        {[&] { return NANDRead(&info, &answer, 4); }, NAND_RESULT_INVALID},
        {[] { return NANDCheck(1, 1, nullptr); }, NAND_RESULT_INVALID},
    };
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].first(), calls[i].second) << "call " << i;
    }
}

// A file of the flash memory that is a symbolic link on the host could lead anywhere: it
// opens for nothing, and a delete removes the link, not what it points at.
TEST_F(NandTest, SymbolicLinksAreRefusedAndOnlyTheLinkIsDeleted) {
    char home[NAND_MAX_PATH];
    ASSERT_EQ(NANDGetHomeDir(home), NAND_RESULT_OK);
    const fs::path outside = Root() / "outside.txt";
    std::ofstream(outside) << "not the flash memory's";
    fs::create_symlink(outside, Home() / "save.dat");
    NANDFileInfo info{};
    EXPECT_EQ(NANDOpen("save.dat", &info, NAND_ACCESS_READ), NAND_RESULT_ACCESS);
    EXPECT_EQ(Await([&](NANDCommandBlock* block) {
                  return NANDSimpleSafeOpenAsync("save.dat", &info, NAND_ACCESS_WRITE, m_copyBuffer,
                                                 sizeof(m_copyBuffer), RecordCompletion, block);
              }),
              NAND_RESULT_ACCESS);
    EXPECT_EQ(NANDDelete("save.dat"), NAND_RESULT_OK);
    EXPECT_FALSE(fs::exists(fs::symlink_status(Home() / "save.dat")));
    EXPECT_TRUE(fs::exists(outside));
}

// A move puts a file under its own name in another folder, never over another file.
TEST_F(NandTest, MoveTakesAFileIntoAFolderUnlessTheNameIsTaken) {
    CreateWith("/tmp/a.dat", "new");
    CreateWith("b.dat", "old");
    EXPECT_EQ(NANDMove("/tmp/a.dat", "/title/puzzles/data"), NAND_RESULT_OK);
    EXPECT_FALSE(fs::exists(Work() / "a.dat"));
    EXPECT_EQ(fs::file_size(Home() / "a.dat"), 3u);
    CreateWith("/tmp/b.dat", "newer");
    EXPECT_EQ(NANDMove("/tmp/b.dat", "/title/puzzles/data"), NAND_RESULT_EXISTS);
    std::string kept;
    std::ifstream(Home() / "b.dat") >> kept;
    EXPECT_EQ(kept, "old");
}

TEST_F(NandTest, PermissionsOpenFilesAndDeletesAreChecked) {
    ASSERT_EQ(NANDCreate("ro.dat", NAND_PERM_OWNER_READ, 0), NAND_RESULT_OK);
    EXPECT_EQ(NANDCreate("ro.dat", kOwnerRW, 0), NAND_RESULT_EXISTS);
    NANDFileInfo info{};
    EXPECT_EQ(NANDOpen("ro.dat", &info, NAND_ACCESS_RW), NAND_RESULT_ACCESS);
    ASSERT_EQ(NANDOpen("ro.dat", &info, NAND_ACCESS_READ), NAND_RESULT_OK);
    EXPECT_EQ(NANDWrite(&info, "x", 1), NAND_RESULT_ACCESS);
    EXPECT_EQ(NANDDelete("ro.dat"), NAND_RESULT_OPENFD);
    EXPECT_EQ(NANDClose(&info), NAND_RESULT_OK);
    EXPECT_EQ(NANDClose(&info), NAND_RESULT_INVALID);
    EXPECT_EQ(NANDDelete("ro.dat"), NAND_RESULT_OK);

    CreateWith("a.dat", "abc");
    std::vector<NANDFileInfo> open(NAND_MAX_OPEN_FILES);
    for (NANDFileInfo& file : open) {
        ASSERT_EQ(NANDOpen("a.dat", &file, NAND_ACCESS_READ), NAND_RESULT_OK);
    }
    EXPECT_EQ(NANDOpen("a.dat", &info, NAND_ACCESS_READ), NAND_RESULT_MAXFD);
    ASSERT_EQ(NANDClose(&open[3]), NAND_RESULT_OK);
    EXPECT_EQ(NANDOpen("a.dat", &info, NAND_ACCESS_READ), NAND_RESULT_OK);
    EXPECT_EQ(NANDClose(&open[3]), NAND_RESULT_INVALID) << "a reused slot is not the old file";
}

TEST_F(NandTest, QuotasMakeSpaceRunOut) {
    NANDSetCapacityForTest(NANDCapacity{2, 2, 10, 10});
    u32 answer = 99;
    ASSERT_EQ(NANDCheck(2, 2, &answer), NAND_RESULT_OK);
    EXPECT_EQ(answer, 0u);
    ASSERT_EQ(NANDCheck(3, 3, &answer), NAND_RESULT_OK);
    EXPECT_EQ(answer, NAND_CHECK_HOME_BLOCKS | NAND_CHECK_HOME_INODES);
    NANDSetCapacityForTest(NANDCapacity{100, 100, 1, 0});
    ASSERT_EQ(NANDCheck(2, 1, &answer), NAND_RESULT_OK);
    EXPECT_EQ(answer, NAND_CHECK_SYSTEM_BLOCKS | NAND_CHECK_SYSTEM_INODES);

    NANDSetCapacityForTest(NANDCapacity{2, 2, 10, 10});
    CreateWith("a.dat", std::string(2 * NAND_FS_BLOCK_SIZE, 'a'));
    ASSERT_EQ(NANDCheck(1, 1, &answer), NAND_RESULT_OK);
    EXPECT_EQ(answer, NAND_CHECK_HOME_BLOCKS) << "the file's two blocks count";
    NANDFileInfo info{};
    ASSERT_EQ(NANDOpen("a.dat", &info, NAND_ACCESS_RW), NAND_RESULT_OK);
    char byte = 'b';
    ASSERT_EQ(NANDRead(&info, m_copyBuffer, sizeof(m_copyBuffer)), 1024);
    EXPECT_EQ(NANDWrite(&info, &byte, 1), 1) << "within the blocks the file has";
    ASSERT_EQ(NANDClose(&info), NAND_RESULT_OK);
    ASSERT_EQ(NANDOpen("a.dat", &info, NAND_ACCESS_WRITE), NAND_RESULT_OK);
    std::string more(2 * NAND_FS_BLOCK_SIZE + 1, 'c');
    EXPECT_EQ(NANDWrite(&info, more.data(), static_cast<u32>(more.size())), NAND_RESULT_MAXBLOCKS);
    ASSERT_EQ(NANDClose(&info), NAND_RESULT_OK);
    EXPECT_EQ(fs::file_size(Home() / "a.dat"), 2u * NAND_FS_BLOCK_SIZE);
    ASSERT_EQ(NANDCreate("b.dat", kOwnerRW, 0), NAND_RESULT_OK);
    EXPECT_EQ(NANDCreate("c.dat", kOwnerRW, 0), NAND_RESULT_MAXFILES);
}

TEST_F(NandTest, AsynchronousCallsCompleteOnTheMainThreadsNextYield) {
    ASSERT_EQ(NANDCreate("a.dat", kOwnerRW, 0), NAND_RESULT_OK);
    NANDFileInfo info{};
    NANDCommandBlock block{};
    ASSERT_EQ(NANDOpenAsync("a.dat", &info, NAND_ACCESS_RW, RecordCompletion, &block),
              NAND_RESULT_OK);
    EXPECT_EQ(NANDOpenAsync("a.dat", &info, NAND_ACCESS_RW, RecordCompletion, &block),
              NAND_RESULT_BUSY);
    EXPECT_EQ(NANDOpenAsync("a.dat", &info, NAND_ACCESS_RW, RecordCompletion, nullptr),
              NAND_RESULT_INVALID);
    EXPECT_EQ(s_completion.calls, 0);
    OSYieldThread();
    EXPECT_EQ(s_completion.calls, 1);
    EXPECT_EQ(s_completion.result, NAND_RESULT_OK);
    EXPECT_TRUE(s_completion.onMainThread);

    const char bytes[64] = "written later";
    ASSERT_EQ(NANDWriteAsync(&info, bytes, sizeof(bytes), RecordCompletion, &block),
              NAND_RESULT_OK);
    EXPECT_EQ(fs::file_size(Home() / "a.dat"), 0u);
    OSYieldThread();
    EXPECT_EQ(s_completion.result, 64);
    EXPECT_EQ(fs::file_size(Home() / "a.dat"), 64u);
    OSYieldThread();
    EXPECT_EQ(s_completion.calls, 2) << "a yield runs each command once";
}

TEST_F(NandTest, SafeCloseCommitsTheWorkingCopyAndCancelDiscardsIt) {
    CreateWith("a.dat", "old contents");
    NANDFileInfo info{};
    ASSERT_EQ(Await([&](NANDCommandBlock* block) {
                  return NANDSimpleSafeOpenAsync("a.dat", &info, NAND_ACCESS_RW, m_copyBuffer,
                                                 sizeof(m_copyBuffer), RecordCompletion, block);
              }),
              NAND_RESULT_OK);
    char read[3] = {};
    ASSERT_EQ(NANDRead(&info, read, 3), 3);
    EXPECT_EQ(std::string(read, 3), "old") << "the working copy starts as the file";
    ASSERT_EQ(NANDWrite(&info, "NEW", 3), 3);
    EXPECT_EQ(ReadHostFile(Home() / "a.dat"), "old contents");
    EXPECT_FALSE(fs::is_empty(Work()));
    EXPECT_EQ(NANDClose(&info), NAND_RESULT_INVALID) << "a safe file needs the safe close";
    ASSERT_EQ(Await([&](NANDCommandBlock* block) {
                  return NANDSimpleSafeCloseAsync(&info, RecordCompletion, block);
              }),
              NAND_RESULT_OK);
    EXPECT_EQ(ReadHostFile(Home() / "a.dat"), "oldNEWntents");
    EXPECT_TRUE(fs::is_empty(Work()));

    ASSERT_EQ(Await([&](NANDCommandBlock* block) {
                  return NANDSimpleSafeOpenAsync("a.dat", &info, NAND_ACCESS_WRITE, m_copyBuffer,
                                                 sizeof(m_copyBuffer), RecordCompletion, block);
              }),
              NAND_RESULT_OK);
    ASSERT_EQ(NANDWrite(&info, "zzzzzzzzzzzzzzzzzzzz", 20), 20);
    ASSERT_EQ(Await([&](NANDCommandBlock* block) {
                  return NANDSimpleSafeCancelAsync(&info, RecordCompletion, block);
              }),
              NAND_RESULT_OK);
    EXPECT_EQ(ReadHostFile(Home() / "a.dat"), "oldNEWntents");
    EXPECT_TRUE(fs::is_empty(Work()));

    EXPECT_EQ(SafeWrite("none.dat", "x"), NAND_RESULT_NOEXISTS);
    EXPECT_EQ(Await([&](NANDCommandBlock* block) {
                  return NANDSimpleSafeOpenAsync("a.dat", &info, NAND_ACCESS_RW, m_copyBuffer + 1,
                                                 64, RecordCompletion, block);
              }),
              NAND_RESULT_INVALID)
        << "the copy buffer is 32-byte aligned";
}

struct NandFaultCase {
    const char* rule;
    // The calls after the rule is added, each with the result it must give.
    std::vector<std::pair<std::function<s32(NANDFileInfo*)>, s32>> calls;
};

TEST_F(NandTest, FaultRulesFailTheCallsOfTheirKind) {
    char buffer[64] = {};
    u32 answer = 0;
    const auto openRead = [](NANDFileInfo* info) {
        const s32 result = NANDOpen("a.dat", info, NAND_ACCESS_READ);
        if (result == NAND_RESULT_OK) {
            NANDClose(info);
        }
        return result;
    };
    const auto openRw = [](NANDFileInfo* info) { return NANDOpen("a.dat", info, NAND_ACCESS_RW); };
    const std::vector<NandFaultCase> cases = {
        {"nand-open:corrupt@1", {{openRead, NAND_RESULT_CORRUPT}, {openRead, NAND_RESULT_OK}}},
        {"nand-open:busy@2x2",
         {{openRead, NAND_RESULT_OK},
          {openRead, NAND_RESULT_BUSY},
          {openRead, NAND_RESULT_BUSY},
          {openRead, NAND_RESULT_OK}}},
        {"nand-create:maxfiles@1",
         {{[](NANDFileInfo*) { return NANDCreate("b.dat", kOwnerRW, 0); }, NAND_RESULT_MAXFILES}}},
        {"nand-delete:fatal@1",
         {{[](NANDFileInfo*) { return NANDDelete("a.dat"); }, NAND_RESULT_FATAL_ERROR}}},
        {"nand-check:home-blocks@1",
         {{[&](NANDFileInfo*) { return NANDCheck(1, 1, &answer) + static_cast<s32>(answer); },
           static_cast<s32>(NAND_CHECK_HOME_BLOCKS)}}},
        {"nand-read:short@1",
         {{[&](NANDFileInfo* info) {
               openRw(info);
               return NANDRead(info, buffer, 64);
           },
           32}}},
        {"nand-write:short@1",
         {{[&](NANDFileInfo* info) {
               openRw(info);
               return NANDWrite(info, buffer, 64);
           },
           32}}},
        {"nand-write:maxblocks@1",
         {{[&](NANDFileInfo* info) {
               openRw(info);
               return NANDWrite(info, buffer, 64);
           },
           NAND_RESULT_MAXBLOCKS}}},
        {"nand-safe-open:alloc-failed@1",
         {{[&](NANDFileInfo*) { return SafeWrite("a.dat", "new"); }, NAND_RESULT_ALLOC_FAILED}}},
        {"nand-safe-close:corrupt@1",
         {{[&](NANDFileInfo*) { return SafeWrite("a.dat", "new"); }, NAND_RESULT_CORRUPT}}},
    };
    for (const NandFaultCase& faultCase : cases) {
        NANDResetForTest();
        fs::remove_all(Home());
        CreateWith("a.dat", std::string(64, 'a'));
        FaultReset();
        ASSERT_TRUE(FaultAddText(faultCase.rule)) << faultCase.rule;
        for (size_t i = 0; i < faultCase.calls.size(); ++i) {
            NANDFileInfo info{};
            EXPECT_EQ(faultCase.calls[i].first(&info), faultCase.calls[i].second)
                << faultCase.rule << ", call " << i + 1;
        }
        NANDResetForTest();
        EXPECT_EQ(ReadHostFile(Home() / "a.dat").substr(32), std::string(32, 'a'))
            << faultCase.rule << ": a failed safe write leaves the file";
        EXPECT_TRUE(fs::is_empty(Work())) << faultCase.rule;
    }
}

TEST(NandFaultRulesTest, RefusesKindsATargetCannotHave) {
    FaultRule rules[kFaultMaxRules];
    u32 count = 0;
    EXPECT_TRUE(FaultParse("nand-step:power-cut@3,nand-check:system-inodes@1x2", rules,
                           kFaultMaxRules, &count));
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(rules[1].target, FaultTarget::NandCheck);
    EXPECT_EQ(rules[1].duration, 2u);
    for (const char* bad :
         {"nand-open:short@1", "nand-step:busy@1", "nand-check:power-cut@1", "nand-read:no-disc@1",
          "dvd-read:corrupt@1", "nand-write:home-blocks@1"}) {
        EXPECT_FALSE(FaultParse(bad, rules, kFaultMaxRules, &count)) << bad;
    }
}

TEST_F(NandTest, PowerCutAtEveryStepOfASafeWriteLeavesTheOldOrTheNewFile) {
    const std::string before(100, 'o');
    const std::string after(200, 'n');
    test_support::ExpectEveryPowerCutLeavesTheOldOrTheNew(
        [&] {
            NANDResetForTest();
            fs::remove_all(Home());
            CreateWith("a.dat", before);
        },
        [&] { SafeWrite("a.dat", after); },
        [&](int step) {
            NANDResetForTest();
            char home[NAND_MAX_PATH];
            EXPECT_EQ(NANDGetHomeDir(home), NAND_RESULT_OK);
            EXPECT_TRUE(fs::is_empty(Work())) << "step " << step;
            const std::string found = ReadHostFile(Home() / "a.dat");
            return found == before  ? test_support::FoundAfterPowerCut::Old
                   : found == after ? test_support::FoundAfterPowerCut::New
                                    : test_support::FoundAfterPowerCut::Neither;
        });
}

TEST(NandBannerTest, RecordHoldsFieldsInTheFilesByteOrder) {
    NANDBanner banner;
    std::memset(&banner, 0xEE, sizeof(banner));
    NANDInitBanner(&banner, 0x01020304, u"É title that is longer than thirty-two characters",
                   nullptr);
    EXPECT_EQ(banner.signature[0], NAND_BANNER_SIGNATURE >> 24);
    EXPECT_EQ(banner.signature[3], NAND_BANNER_SIGNATURE & 0xFF);
    EXPECT_EQ(banner.flag[0], 1);
    EXPECT_EQ(banner.flag[3], 4);
    EXPECT_EQ(banner.comment[0][0], 0x00);
    EXPECT_EQ(banner.comment[0][1], 0xC9);
    EXPECT_EQ(banner.comment[0][63], 'r') << "cut at 32 characters";
    EXPECT_EQ(banner.comment[1][0], 0);
    EXPECT_EQ(banner.bannerTexture[100], 0);
    for (u32 frame = 0; frame < NAND_BANNER_ICON_MAX; ++frame) {
        NANDSetIconSpeed(&banner, frame, 2);
    }
    NANDSetIconSpeed(&banner, 1, 3);
    NANDSetIconSpeed(&banner, 8, 1);
    NANDSetIconSpeed(&banner, 0, 4);
    EXPECT_EQ(banner.iconSpeed[0], 0xAA);
    EXPECT_EQ(banner.iconSpeed[1], 0xAE);
    EXPECT_EQ(NANDGetIconSpeed(&banner, 1), 3u);
    EXPECT_EQ(NANDGetIconSpeed(&banner, 8), 0u);
}

TEST(ReturnToMenuTest, EndsTheProcessWithExitCodeZero) {
    EXPECT_EXIT(OSReturnToMenu(), testing::ExitedWithCode(0), "return to the console menu");
}

} // namespace
