// Save storage across runs of the program: a first run (a child process) creates the
// save file and the banner that the next run loads, a save whose power is cut at any of
// its steps leaves a save file that the next start loads whole, old or new (a damaged file
// replaced, too), and damage around the save file (a longer file, leftovers in the working folder)
// does not stop it.
#include "power_cut.h"
#include "storage_test_support.h"

#include <cstring>

using namespace storage_test;

namespace {

// The game's profile manager: a load that made a new save file saves the defaults.
class NewSaveWriter : public kHasSlots<> {
public:
    explicit NewSaveWriter(std::vector<u8>* defaults) : m_defaults(defaults) {
        kStorageManager::LoadCompleteSignal.Connect(this, &NewSaveWriter::Loaded);
    }
    void Loaded(bool, bool, bool bNewSave) {
        if (bNewSave) {
            kStorageManager::SaveData(m_defaults->data());
        }
    }
    std::vector<u8>* m_defaults;
};

class StorageRunsTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        InitGameStorage();
    }

    // The next start of the program, as far as the flash memory is concerned.
    std::string LoadAfterRestart(std::vector<u8>* block) {
        NANDResetForTest();
        FaultReset();
        FlowTrace flow;
        kStorageManager::LoadData(block->data());
        flow.Play({}, false);
        return flow.m_trace;
    }
};

TEST_F(StorageRunsTest, FirstRunCreatesTheFilesAndTheSecondRunLoadsThem) {
    std::vector<u8> defaults = Block(21);
    EXPECT_EXIT(
        {
            FlowTrace flow;
            NewSaveWriter profiles(&defaults);
            std::vector<u8> block(kBlockSize, 0);
            kStorageManager::LoadData(block.data());
            _exit(flow.m_trace == "load(0,0,1) save(1)" && !kStorageManager::IsSaving() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");

    EXPECT_EQ(ReadFile(SaveFile()), SaveFileOf(defaults));
    const std::vector<u8> banner = ReadFile(BannerFile());
    ASSERT_EQ(banner.size(), 61600u);
    EXPECT_EQ(std::memcmp(banner.data(), &NandBanner(), banner.size()), 0);

    std::vector<u8> loaded(kBlockSize, 0);
    EXPECT_EQ(LoadAfterRestart(&loaded), "load(1,0,0)");
    EXPECT_EQ(loaded, defaults);
}

// A child process saves a new block and loses its power at each step of the save in turn;
// the next start loads the previous block or the new one, never a damaged file or none.
TEST_F(StorageRunsTest, PowerCutAtEveryStepOfASaveLeavesThePreviousOrTheNewBlock) {
    const std::vector<u8> previous = Block(31);
    std::vector<u8> next = Block(32);
    test_support::ExpectEveryPowerCutLeavesTheOldOrTheNew(
        [&] {
            WriteFile(SaveFile(), SaveFileOf(previous));
            NANDResetForTest();
        },
        [&] { kStorageManager::SaveData(next.data()); },
        [&](int step) {
            std::vector<u8> loaded(kBlockSize, 0);
            EXPECT_EQ(LoadAfterRestart(&loaded), "load(1,0,0)") << "step " << step;
            EXPECT_TRUE(fs::is_empty(WorkingCopies())) << "step " << step;
            return loaded == previous ? test_support::FoundAfterPowerCut::Old
                   : loaded == next   ? test_support::FoundAfterPowerCut::New
                                      : test_support::FoundAfterPowerCut::Neither;
        });
}

// The first run's save: the load finds no file and makes one, then the profiles save
// their defaults. A power cut at any step leaves no file or the whole new one.
TEST_F(StorageRunsTest, PowerCutAtEveryStepOfTheFirstSaveLeavesNoFileOrTheNewBlock) {
    std::vector<u8> defaults = Block(41);
    test_support::ExpectEveryPowerCutLeavesTheOldOrTheNew(
        [&] {
            fs::remove_all(Home());
            fs::create_directories(Home());
            NANDResetForTest();
        },
        [&] {
            NewSaveWriter profiles(&defaults);
            std::vector<u8> block = defaults;
            kStorageManager::LoadData(block.data());
        },
        [&](int step) {
            if (!fs::exists(SaveFile())) {
                return test_support::FoundAfterPowerCut::Old;
            }
            std::vector<u8> loaded(kBlockSize, 0);
            EXPECT_EQ(LoadAfterRestart(&loaded), "load(1,0,0)") << "step " << step;
            return loaded == defaults ? test_support::FoundAfterPowerCut::New
                                      : test_support::FoundAfterPowerCut::Neither;
        });
}

// "Delete file" on a damaged save file replaces it with the block: a power cut at any step
// leaves the damaged file or the whole new one, never no file.
TEST_F(StorageRunsTest, PowerCutAtEveryStepOfReplacingADamagedFileLeavesItOrTheNewBlock) {
    const std::vector<u8> damaged(100, 0xDD);
    const std::vector<u8> fresh = Block(71);
    test_support::ExpectEveryPowerCutLeavesTheOldOrTheNew(
        [&] {
            WriteFile(SaveFile(), damaged);
            NANDResetForTest();
        },
        [&] {
            FlowTrace flow;
            std::vector<u8> block = fresh;
            kStorageManager::LoadData(block.data());
            flow.Play({1}, false);
        },
        [&](int) {
            const std::vector<u8> found = ReadFile(SaveFile());
            return found == damaged             ? test_support::FoundAfterPowerCut::Old
                   : found == SaveFileOf(fresh) ? test_support::FoundAfterPowerCut::New
                                                : test_support::FoundAfterPowerCut::Neither;
        });
}

// A save file longer than the block (damaged, or from another version) is replaced by
// exactly the new one.
TEST_F(StorageRunsTest, SaveOverALongerFileLeavesExactlyTheNewBlock) {
    std::vector<u8> longer = SaveFileOf(Block(51));
    longer.resize(kRoundedSize + 1000, 0xEE);
    WriteFile(SaveFile(), longer);
    std::vector<u8> next = Block(52);
    FlowTrace flow;
    kStorageManager::SaveData(next.data());
    EXPECT_EQ(flow.m_trace, "save(1)");
    EXPECT_EQ(ReadFile(SaveFile()), SaveFileOf(next));
    std::vector<u8> loaded(kBlockSize, 0);
    EXPECT_EQ(LoadAfterRestart(&loaded), "load(1,0,0)");
    EXPECT_EQ(loaded, next);
}

// Folders and files in the working folder that no save made: the save steps around them
// and the next start clears them.
TEST_F(StorageRunsTest, StaleEntriesInTheWorkingFolderDoNotStopASave) {
    WriteFile(SaveFile(), SaveFileOf(Block(61)));
    ASSERT_STRNE(NANDHostRoot(), "");
    for (const char* stale : {"safe0", "safe1", "safe2/inner"}) {
        fs::create_directories(WorkingCopies() / stale);
    }
    WriteFile(WorkingCopies() / "safe3", {1, 2, 3});
    WriteFile(WorkingCopies() / "save.dat", {4, 5, 6});
    std::vector<u8> next = Block(62);
    FlowTrace flow;
    kStorageManager::SaveData(next.data());
    EXPECT_EQ(flow.m_trace, "save(1)");
    std::vector<u8> loaded(kBlockSize, 0);
    EXPECT_EQ(LoadAfterRestart(&loaded), "load(1,0,0)");
    EXPECT_EQ(loaded, next);
    EXPECT_TRUE(fs::is_empty(WorkingCopies()));
}

} // namespace
