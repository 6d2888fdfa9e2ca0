// The profiles and their save file on the console's flash memory: what a first run
// creates and a second process loads, what becomes of damaged, foreign and short files
// (never read as valid, never overwritten before the player chooses), the language change
// that resets every profile's puzzle progress, and the debug key.
#include "../framework/storage_test_support.h"

#include <frontend/mnlanguageui.h>
#include <services/mnprofilemanager.h>
#include <services/puzzlebank.h>

#include <kelvo/input/kinputsystemwii.h>

#include <cstdlib>
#include <sys/wait.h>

using namespace Kelvo_lib;
using namespace storage_test;

namespace {

constexpr int kDeleteFile = 1;
constexpr int kContinue = 0;
constexpr const char* kFirstRunNand = "PUZZLES_FIRST_RUN_NAND";
constexpr const char* kRunNand = "PUZZLES_RUN_NAND";
constexpr const char* kRunDisc = "PUZZLES_RUN_DISC";
constexpr const char* kPowerCutStep = "PUZZLES_POWER_CUT_STEP";

MNSaveData Fresh() {
    MNSaveData data;
    data.Clear();
    return data;
}

std::vector<u8> BlockOf(const MNSaveData& data) {
    std::vector<u8> block(MN_SAVE_DATA_SIZE);
    WriteSaveData(data, block.data());
    return block;
}

// The save file's block, when it holds a valid one.
bool ReadSaveFile(const fs::path& path, MNSaveData& data) {
    const std::vector<u8> file = ReadFile(path);
    return file.size() == kRoundedSize &&
           ReadSaveData(file.data(), MN_SAVE_DATA_SIZE, data) == nullptr;
}

void Name(int slot, const char* name) {
    MNSaveProfileData& record = *MNProfileManager::GetProfile(slot)->GetSaveData();
    record.bUsed = 1;
    std::snprintf(record.name, sizeof(record.name), "%s", name);
}

class ProfileManagerTest : public StorageTest {
protected:
    void TearDown() override {
        MNProfileManager::Deinit();
        StorageTest::TearDown();
    }

    // The flash memory of another test's directory, for a run made by that test.
    static void UseNand(const char* directory) {
        HostOptions options = HostGetOptions();
        std::snprintf(options.nandDir, sizeof(options.nandDir), "%s", directory);
        HostSetOptions(options);
        NANDResetForTest();
    }

    // Answers the dialog that is showing.
    static void Choose(kDialog* dialog, int option) {
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(kDialogManager::IsOpen(dialog));
        dialog->m_currentOption = option;
        kDialogManager::Close(dialog);
    }
};

TEST_F(ProfileManagerTest, FirstRunCreatesTheSaveFileWithFreshProfiles) {
    MNProfileManager::Init();
    MNSaveData saved;
    ASSERT_TRUE(ReadSaveFile(SaveFile(), saved));
    EXPECT_EQ(BlockOf(saved), BlockOf(Fresh()));
    EXPECT_EQ(MNProfileManager::GetActiveProfile(), nullptr);
    EXPECT_STREQ(MNProfileManager::GetProfile(0)->GetName(), "UNUSED");
}

// With no language saved, the language screen's answer on the North American set decides:
// it says no, so the game starts in UK English.
TEST_F(ProfileManagerTest, WithoutASavedLanguageTheLanguageScreenChoosesTheDefault) {
    EXPECT_FALSE(MNLanguageUI::GetNOA());
    MNProfileManager::Init();
    EXPECT_EQ(MNProfileManager::GetLanguage(), LANGUAGE_UK_ENGLISH);
}

// The first of two runs, made in a process of its own by the test below, on the flash
// memory directory it names; skipped otherwise.
TEST_F(ProfileManagerTest, FirstOfTwoRuns) {
    const char* nand = std::getenv(kFirstRunNand);
    if (nand == nullptr) {
        GTEST_SKIP() << "run by ASecondProcessLoadsWhatTheFirstSaved";
    }
    UseNand(nand);
    MNProfileManager::Init();
    Name(2, "ALICE");
    MNProfileManager::GetProfile(2)->SetMusicVolume(1);
    MNProfileManager::GetProfile(2)->GetTournamentData()->m_currentScore = 4321;
    MNProfileManager::SetActiveProfile(2);
    EXPECT_TRUE(MNProfileManager::SaveData(false));
    EXPECT_FALSE(kStorageManager::IsSaving());
}

TEST_F(ProfileManagerTest, ASecondProcessLoadsWhatTheFirstSaved) {
    const std::string command = "env " + std::string(kFirstRunNand) + "=" + m_nand.Root().string() +
                                " " + fs::read_symlink("/proc/self/exe").string() +
                                " --gtest_filter=ProfileManagerTest.FirstOfTwoRuns >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    MNProfileManager::Init();
    ASSERT_EQ(MNProfileManager::GetActiveProfileIndex(), 2);
    MNProfile* profile = MNProfileManager::GetActiveProfile();
    EXPECT_STREQ(profile->GetName(), "ALICE");
    EXPECT_EQ(profile->GetMusicVolume(), 1);
    EXPECT_EQ(profile->GetTournamentData()->m_currentScore, 4321);
}

// A short file fails the storage manager's own load, the others this program's checks:
// either way a dialog asks, and the file stays until the player deletes it.
TEST_F(ProfileManagerTest, UnusableFilesGiveFreshProfilesAndStayUntilThePlayerChooses) {
    MNSaveData foreign = Fresh();
    foreign.version = MN_SAVE_DATA_VERSION + 1;
    std::vector<u8> flipped = SaveFileOf(BlockOf(Fresh()));
    flipped[3000] ^= 0x10;
    const struct {
        const char* name;
        std::vector<u8> file;
    } files[] = {{"flipped byte", flipped},
                 {"other version", SaveFileOf(BlockOf(foreign))},
                 {"not save data", std::vector<u8>(kRoundedSize, 0x5A)},
                 {"short", std::vector<u8>(100, 0xDD)}};
    for (const auto& file : files) {
        for (int choice : {kContinue, kDeleteFile}) {
            SCOPED_TRACE(std::string(file.name) + (choice == kContinue ? ", kept" : ", deleted"));
            WriteFile(SaveFile(), file.file);
            MNProfileManager::Init();
            EXPECT_STREQ(MNProfileManager::GetProfile(0)->GetName(), "UNUSED");
            Name(0, "BOB");
            MNProfileManager::SaveData(false);
            EXPECT_EQ(ReadFile(SaveFile()), file.file);
            Choose(kDialogManager::GetActiveDialog(), choice);
            MNSaveData saved;
            if (choice == kContinue) {
                EXPECT_FALSE(MNProfileManager::SaveData(false));
                EXPECT_EQ(ReadFile(SaveFile()), file.file);
            } else {
                EXPECT_TRUE(ReadSaveFile(SaveFile(), saved));
            }
            MNProfileManager::Deinit();
        }
    }
}

// A first start in a process of its own, made by the test below, over the flash memory and
// disc directories it names, its power cut at the step it names; skipped otherwise. It makes
// no directory, so a cut leaves nothing behind.
TEST(ProfileManagerRunTest, FirstStartWithAPowerCut) {
    const char* nand = std::getenv(kRunNand);
    const char* disc = std::getenv(kRunDisc);
    const char* step = std::getenv(kPowerCutStep);
    if (nand == nullptr || disc == nullptr || step == nullptr) {
        GTEST_SKIP() << "run by PowerCutAtEveryStepOfTheFirstStartLeavesNoDialogNextTime";
    }
    HostOptions options = HostGetOptions();
    std::snprintf(options.nandDir, sizeof(options.nandDir), "%s", nand);
    std::snprintf(options.discDir, sizeof(options.discDir), "%s", disc);
    HostSetOptions(options);
    kPlatform_Init();
    NANDResetForTest();
    SetTextLanguage("NONE");
    kDialogManager::Init(nullptr, nullptr, nullptr);
    ASSERT_TRUE(FaultAddText((std::string("nand-step:power-cut@") + step).c_str()));
    MNProfileManager::Init();
}

// The very first start loses its power at each step in turn: the next start finds no save
// file (and makes one) or a whole one, and asks the player nothing either way.
TEST_F(ProfileManagerTest, PowerCutAtEveryStepOfTheFirstStartLeavesNoDialogNextTime) {
    bool bSawNoFile = false;
    bool bSawFile = false;
    int step = 1;
    for (; step < 50; ++step) {
        fs::remove_all(Home());
        fs::remove_all(WorkingCopies());
        const std::string command =
            "env " + std::string(kRunNand) + "=" + m_nand.Root().string() + " " + kRunDisc + "=" +
            m_disc.Root().string() + " " + kPowerCutStep + "=" + std::to_string(step) + " " +
            fs::read_symlink("/proc/self/exe").string() +
            " --gtest_filter=ProfileManagerRunTest.FirstStartWithAPowerCut >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << step;
        const int code = WEXITSTATUS(status);
        ASSERT_TRUE(code == 0 || code == NAND_POWER_CUT_EXIT_CODE) << step << ": " << code;
        const bool bHadFile = fs::exists(SaveFile());
        bSawNoFile = bSawNoFile || !bHadFile;
        bSawFile = bSawFile || bHadFile;
        NANDResetForTest();
        MNProfileManager::Init();
        MNSaveData saved;
        EXPECT_FALSE(kDialogManager::IsOpen()) << step;
        EXPECT_TRUE(ReadSaveFile(SaveFile(), saved)) << step;
        EXPECT_TRUE(fs::exists(BannerFile())) << step;
        MNProfileManager::Deinit();
        if (code == 0) {
            break;
        }
    }
    EXPECT_LT(step, 50) << "the first start got through";
    EXPECT_TRUE(bSawNoFile && bSawFile);
}

// After "Continue without saving/loading" nothing is written, stop and save included.
TEST_F(ProfileManagerTest, ContinuingWithoutSavingKeepsTheFileThroughEverySave) {
    const std::vector<u8> wrongSize(100, 0xDD);
    WriteFile(SaveFile(), wrongSize);
    MNProfileManager::Init();
    Choose(kStorageManager::GetStorageDialog(), kContinue);
    ASSERT_TRUE(kStorageManager::IsContinueWithoutSaving());
    Name(0, "BOB");
    EXPECT_FALSE(MNProfileManager::SaveData(false));
    MNProfileManager::SaveData(true); // the pause screen's stop and save
    EXPECT_EQ(ReadFile(SaveFile()), wrongSize);
    EXPECT_FALSE(kStorageManager::IsSaving());
}

// A damaged file's dialog holds the load: "Delete file" replaces the file and loads it, then
// the save asked for meanwhile is written.
TEST_F(ProfileManagerTest, SaveAskedForDuringAStorageDialogIsMadeWhenTheFlowEnds) {
    WriteFile(SaveFile(), std::vector<u8>(100, 0xDD));
    MNProfileManager::Init();
    kDialog* dialog = kStorageManager::GetStorageDialog();
    ASSERT_TRUE(kDialogManager::IsOpen(dialog));
    LogCapture log;
    EXPECT_TRUE(MNProfileManager::SaveData(false));
    EXPECT_EQ(log.CountContaining("WriteData: attempting"), 0);
    Choose(dialog, kDeleteFile);
    EXPECT_EQ(log.CountContaining("WriteData: attempting"), 2);
    MNSaveData saved;
    EXPECT_TRUE(ReadSaveFile(SaveFile(), saved));
    EXPECT_FALSE(kStorageManager::IsSaving());
}

TEST_F(ProfileManagerTest, NewLanguageResetsPuzzleProgressOfEveryProfileAndSavesOnce) {
    MNProfileManager::Init();
    for (int slot = 0; slot < MN_NUM_PROFILES; ++slot) {
        MNSaveProfileData& record = *MNProfileManager::GetProfile(slot)->GetSaveData();
        record.SetPlayed(slot + 10, true);
        record.AddRecent(PUZZLE_TYPE_CROSSWORD, 10);
        record.tournamentData.m_puzzleDataList[2].m_puzzleStatus = 4;
        record.tournamentActivePuzzle.bActive = true;
        record.simplypuzzleActivePuzzle.bActive = true;
        record.quickblastData.m_statList[0].m_score = 900;
        Name(slot, "KEEPME");
    }
    const int updateId = MNProfileManager::GetLanguageUpdateID();
    LogCapture log;
    MNProfileManager::SetLanguage(LANGUAGE_FRENCH, true, false);
    EXPECT_EQ(log.CountContaining("SaveData: Saving"), 1);
    EXPECT_EQ(MNProfileManager::GetLanguage(), LANGUAGE_FRENCH);
    EXPECT_EQ(MNProfileManager::GetLanguageUpdateID(), updateId + 1);
    MNSaveData saved;
    ASSERT_TRUE(ReadSaveFile(SaveFile(), saved));
    EXPECT_EQ(saved.language, LANGUAGE_FRENCH);
    for (const MNSaveProfileData& record : saved.profiles) {
        EXPECT_FALSE(record.IsPlayed(10) || record.IsPlayed(11) || record.IsPlayed(13));
        EXPECT_FALSE(record.IsRecent(PUZZLE_TYPE_CROSSWORD, 10, MN_RECENT_DEPTH));
        EXPECT_EQ(record.tournamentData.m_puzzleDataList[2].m_puzzleStatus, 0);
        EXPECT_FALSE(record.tournamentActivePuzzle.bActive ||
                     record.simplypuzzleActivePuzzle.bActive);
        EXPECT_EQ(record.quickblastData.m_statList[0].m_score, 900);
        EXPECT_STREQ(record.name, "KEEPME");
    }

    log.lines.clear();
    MNProfileManager::SetLanguage(LANGUAGE_FRENCH, true, false);
    EXPECT_TRUE(log.Contains("SetLanguage: New language same as last (1)"));
    EXPECT_EQ(log.CountContaining("SaveData"), 0);
    EXPECT_EQ(MNProfileManager::GetLanguageUpdateID(), updateId + 2);
}

TEST_F(ProfileManagerTest, LanguageLoadsItsTextsAndMissingFilesAreLoggedAndHarmless) {
    WriteFile(DiscFile("wii/uk_english.txz"), {'U', 'K', '_', 'E', 'N', 'G', 'L', 'I', 'S', 'H',
                                               '\n', '0', ' ', '"', 'H', 'i', '"', '\r', '\n'});
    MNProfileManager::Init(); // no language saved: UK English, its texts, no bank
    EXPECT_EQ(MNProfileManager::GetLanguage(), LANGUAGE_UK_ENGLISH);
    EXPECT_STREQ(kText::Text(0), "Hi");
    EXPECT_EQ(MNProfile::GetPuzzlebank()->GetNumEntries(), 0);

    LogCapture log;
    MNProfileManager::SetLanguage(LANGUAGE_DUTCH, false, true);
    EXPECT_TRUE(log.Contains("no language texts wii/dutch.txz"));
    EXPECT_TRUE(log.Contains("no puzzle bank for language 5"));
    EXPECT_STREQ(kText::Text(0), "Hi");
    MNProfileManager::SetLanguage(LANGUAGE_COUNT, true, true);
    EXPECT_EQ(MNProfileManager::GetLanguage(), LANGUAGE_DUTCH);
}

TEST_F(ProfileManagerTest, DebugKeyCountsOncePerPressOnlyForTheDebugProfile) {
    kInputSystemWII input;
    kInputSystemBase::Select(&input);
    Name(0, MNProfile::kDebugName);
    Name(1, "ZAVIVIR");
    const struct {
        int activeSlot;
        float key;
        bool bPressed;
    } frames[] = {
        {0, 1.0f, true},  {0, 1.0f, false}, {0, 0.0f, false},  {0, 0.5f, true},
        {1, 0.0f, false}, {1, 1.0f, false}, {-1, 0.0f, false}, {-1, 1.0f, false},
    };
    for (const auto& frame : frames) {
        MNProfileManager::SetActiveProfile(frame.activeSlot);
        input.SetInputState(KI_WII_PAD1_BUTTON_2, frame.key, 0);
        EXPECT_EQ(MNProfile::CheatKeyPressed(), frame.bPressed);
    }
    kInputSystemBase::Select(nullptr);
}

} // namespace
