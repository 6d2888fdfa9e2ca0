// System dialogs in the real game, headless: player 1's remote dropping in the world, the
// home-button menu, the flash memory too full for the save file at start-up, and the player's
// choice there; RESET starting the program again.
#include "game_run.h"

namespace system_dialog {

using scenario::kToTheWorld;

// While a system dialog is open the game is not ticked: the world's picture on the frame
// the dialog closes is the one a run without the dialog shows on the frame it opened.
class SystemDialogTest : public scenario::GameRunTest {
protected:
    static void SetUpTestSuite() {
        GameRunTest::SetUpTestSuite();
        std::string output;
        EXPECT_EQ(RunGame(kToTheWorld, 471, Screenshot("world_470", 470), output), 0) << output;
    }

    static testing::AssertionResult SameAsTheWorldAt470(const char* name) {
        png_golden::Image before;
        png_golden::Image after;
        if (!png_golden::ReadPng((s_dir / "world_470.png").string(), before) ||
            !png_golden::ReadPng((s_dir / (std::string(name) + ".png")).string(), after)) {
            return testing::AssertionFailure() << "no screenshot";
        }
        if (before.rgb != after.rgb) {
            return testing::AssertionFailure() << name << " differs from the world at 470";
        }
        return testing::AssertionSuccess();
    }
};

TEST_F(SystemDialogTest, RemoteLostInTheWorldFreezesItBehindTheDialogUntilItIsBack) {
    const std::string script = std::string(kToTheWorld) + "470 disconnect\n520 connect\n";
    std::string output;
    EXPECT_EQ(RunGame(script, 560, Screenshot("dialog_remote", 500) + Screenshot("world_520", 520),
                      output),
              0)
        << output;
    EXPECT_NE(output.find("host: 560 frames"), std::string::npos) << output;
    EXPECT_TRUE(ShotMatches("dialog_remote"));
    EXPECT_TRUE(SameAsTheWorldAt470("world_520"));
}

TEST_F(SystemDialogTest, HomeOpensTheMenuOverTheWorldAndHomeAgainClosesIt) {
    const std::string script = std::string(kToTheWorld) +
                               "470 hold HOME\n472 hold none\n480 pointer 0.16 0.55\n"
                               "495 pointer 0.5 0.5\n500 hold HOME\n502 hold none\n";
    std::string output;
    EXPECT_EQ(
        RunGame(script, 540, Screenshot("home_menu", 490) + Screenshot("world_500", 500), output),
        0)
        << output;
    EXPECT_NE(output.find("host: 540 frames"), std::string::npos) << output;
    EXPECT_TRUE(ShotMatches("home_menu"));
    EXPECT_TRUE(SameAsTheWorldAt470("world_500"));
}

// No save file and no room for one: the dialog offers to go on without saving or to return
// to the console menu. The first goes on to the splash; the second ends the run at once.
TEST_F(SystemDialogTest, FullFlashMemoryAsksThePlayerAndTheChoiceDecides) {
    const std::string full = " --fault nand-check:home-blocks@1";
    const std::string strap = "130 hold A\n133 hold none\n";
    std::string output;
    EXPECT_EQ(RunGame(strap + "150 pointer 0.5 0.54\n170 hold A\n172 hold none\n", 240,
                      full + Screenshot("dialog_storage", 165) + Screenshot("start_splash", 226),
                      output),
              0)
        << output;
    EXPECT_NE(output.find("host: 240 frames"), std::string::npos) << output;
    EXPECT_TRUE(ShotMatches("dialog_storage"));
    EXPECT_TRUE(ShotMatches("start_splash")) << "the splash follows";

    output.clear();
    EXPECT_EQ(
        RunGame(strap + "150 pointer 0.5 0.66\n170 hold A\n172 hold none\n", 240, full, output), 0)
        << output;
    EXPECT_EQ(output.find("host: 240 frames"), std::string::npos) << "back to the console menu";
}

// A save file of the right size that fails its check: the game asks what to do, in the look
// every dialog shares. A suite of its own, which needs no run to the world first.
class DamagedSaveTest : public scenario::GameRunTest {};

TEST_F(DamagedSaveTest, DamagedSaveFileShowsItsDialog) {
    const std::filesystem::path data = s_dir / "nand/title/puzzles/data";
    std::filesystem::remove_all(s_dir / "nand");
    std::filesystem::create_directories(data);
    std::ofstream(data / "save.dat", std::ios::binary) << std::string(5984, '\xFF');
    std::string output;
    EXPECT_EQ(game_run::Run(s_dir, "130 hold A\n133 hold none\n150 pointer 0.5 0.2\n", 170,
                            Screenshot("dialog_damaged_save", 165), output),
              0)
        << output;
    EXPECT_TRUE(ShotMatches("dialog_damaged_save"));
}

// A good save file that the flash memory reports missing while it is being found, once or
// every time: the game looks again and reads it, or says it cannot read the flash memory,
// never that the data is corrupted. The player presses where "Delete file" would be; the
// file stays as it was.
class UnfoundSaveTest : public scenario::GameRunTest {};

TEST_F(UnfoundSaveTest, ANoSuchFileAnswerOverAGoodSaveLeavesItWhole) {
    Kelvo_lib::MNSaveData data;
    data.Clear();
    data.language = Kelvo_lib::LANGUAGE_UK_ENGLISH;
    data.activeProfile = 0;
    data.profiles[0].bUsed = 1;
    std::snprintf(data.profiles[0].name, sizeof(data.profiles[0].name), "ALICE");
    std::string file(5984, '\0');
    Kelvo_lib::WriteSaveData(data, reinterpret_cast<u8*>(file.data()));
    const std::filesystem::path save = s_dir / "nand/title/puzzles/data/save.dat";
    const std::string strapThenDelete =
        "130 hold A\n133 hold none\n" + scenario::Click(170, 320, 295);
    for (const char* fault : {"nand-open:noexists@1", "nand-open:noexists@1x6"}) {
        SCOPED_TRACE(fault);
        std::filesystem::remove_all(s_dir / "nand");
        std::filesystem::create_directories(save.parent_path());
        std::ofstream(save, std::ios::binary) << file;
        std::string output;
        EXPECT_EQ(
            game_run::Run(s_dir, strapThenDelete, 240, std::string(" --fault ") + fault, output), 0)
            << output;
        std::ifstream after(save, std::ios::binary);
        EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(after), {}) == file)
            << "the save file changed";
    }
}

// The drive reports no disc on the world's second disc check (the run's 179th disc read, at
// frame 556) for 60 polls of its status, one a frame: the disc dialog shows instead of the
// game until the drive reads again at 617. The game is not ticked meanwhile: its picture at
// 617 is the one a run without the fault shows at 556; and it goes on from there.
TEST_F(SystemDialogTest, DiscMissingShowsItsDialogUntilTheDriveReadsAgain) {
    std::string output;
    EXPECT_EQ(RunGame(kToTheWorld, 560, Screenshot("world_556", 556), output), 0) << output;
    EXPECT_EQ(RunGame(kToTheWorld, 640,
                      " --fault dvd-read:no-disc@179x60" + Screenshot("dialog_disc", 600) +
                          Screenshot("world_617", 617) + Screenshot("world_630", 630),
                      output),
              0)
        << output;
    EXPECT_NE(output.find("host: 640 frames"), std::string::npos) << output;
    EXPECT_TRUE(ShotMatches("dialog_disc"));
    png_golden::Image unfaulted;
    png_golden::Image closed;
    png_golden::Image later;
    for (auto [name, image] : {std::pair{"world_556", &unfaulted}, std::pair{"world_617", &closed},
                               std::pair{"world_630", &later}}) {
        ASSERT_TRUE(png_golden::ReadPng((s_dir / (std::string(name) + ".png")).string(), *image));
    }
    EXPECT_EQ(closed.rgb, unfaulted.rgb) << "the game was frozen behind the dialog";
    EXPECT_NE(later.rgb, closed.rgb) << "the game goes on after the dialog";
}

// RESET starts the program again: the run's frames go on, and the strap screen shows as
// long after the restart as it does after power-on. A RESET pressed as a profile is saved
// waits for the save: the restarted program finds the whole block with the profile in it.
TEST_F(SystemDialogTest, ResetStartsTheProgramAgainAfterTheSaveBeingWritten) {
    constexpr int kStrapFrame = 110; // as after power-on
    struct Case {
        const char* name;
        std::string presses;
        int resetFrame;
        bool bSaves;
    } const cases[] = {
        {"reset_in_world", "", 480, false},
        {"reset_in_save",
         scenario::Click(440, 320, 153) + scenario::Click(450, 320, 153) +
             scenario::Click(460, 156, 166) + scenario::Click(480, 320, 367),
         484, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string script =
            std::string(kToTheWorld) + c.presses + std::to_string(c.resetFrame) + " reset\n";
        const int restartFrame = c.resetFrame + 2; // RESET is taken at the next frame's end
        std::string output;
        EXPECT_EQ(RunGame(script, restartFrame + 130,
                          Screenshot(c.name, restartFrame + kStrapFrame), output),
                  0)
            << output;
        EXPECT_NE(output.find("restart after " + std::to_string(restartFrame) + " frames"),
                  std::string::npos)
            << output;
        EXPECT_NE(output.find("host: " + std::to_string(restartFrame + 130) + " frames"),
                  std::string::npos)
            << output;
        png_golden::Image strap;
        ASSERT_TRUE(png_golden::ReadPng((s_dir / (std::string(c.name) + ".png")).string(), strap));
        EXPECT_TRUE(png_golden::MatchesGolden("start_strap", strap, 6));
        if (c.bSaves) {
            Kelvo_lib::MNSaveData save{};
            ASSERT_TRUE(scenario::ReadSave(s_dir, save));
            EXPECT_EQ(save.profiles[1].bUsed, 1);
            EXPECT_STREQ(save.profiles[1].name, "A");
        }
    }
}

} // namespace system_dialog
