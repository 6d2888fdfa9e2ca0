// The profile screen in the real game, headless on a fresh flash memory: a profile made in
// slot 1 by typing its name on the on-screen keyboard, renamed, a second profile made and
// erased after its confirmation, slot 1 chosen for the main menu; then a new process on the
// same flash memory finds the profile. Checked through pictures and the save file.
#include "game_run.h"
#include "png_golden.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace profile_scenario {

namespace fs = std::filesystem;
using namespace Kelvo_lib;
using game_run::Click;
using game_run::Shot;

// Places on the profile screen and its keyboard (key centres), in pixels.
using game_run::Place;
constexpr Place kSlot0{320, 104}, kSlot1{320, 153}, kEdit{320, 382}, kErase{320, 431},
    kYes{320, 342}, kSave{320, 367}, kBackspace{460, 242};

struct Script : game_run::Script {
    void Type(const char* letters) {
        for (; *letters != '\0'; ++letters) {
            Press(*letters == '\b' ? kBackspace : game_run::KeyboardKey(*letters));
        }
    }
};

constexpr int kNameEntryShot = 505;
constexpr int kProfilesShot = 525;

std::string FirstRun() {
    Script script;
    script.Press(kSlot1); // selected
    script.Press(kSlot1); // name entry
    script.Type("ROSA");  // until 500
    script.frame = 510;
    script.Press(kSave);
    script.frame = 530;
    script.Press(kEdit);
    script.Type("\bIE"); // ROSIE
    script.Press(kSave);
    script.Press(kSlot0);
    script.Press(kSlot0);
    script.Type("TOM");
    script.Press(kSave);
    script.Press(kErase);
    script.Press(kYes);
    script.Press(kSlot1); // selected
    script.Press(kSlot1); // chosen: the main menu
    return script.text;
}

class ProfileScenarioTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = fs::temp_directory_path() / ("profile_run_" + std::to_string(getpid()));
        s_firstStatus = game_run::Run(s_dir, FirstRun(), 720,
                                      {{"profile_name_entry", kNameEntryShot},
                                       {"profile_screen", kProfilesShot},
                                       {"profile_main_menu", 715}},
                                      s_firstLog);
        game_run::ReadSave(s_dir, s_firstSave);
        s_secondStatus = game_run::Run(s_dir, game_run::StartPresses(), 440,
                                       {{"profile_restart", 435}}, s_secondLog);
    }

    static void TearDownTestSuite() { fs::remove_all(s_dir); }

    static inline fs::path s_dir;
    static inline std::string s_firstLog, s_secondLog;
    static inline int s_firstStatus = -1, s_secondStatus = -1;
    static inline MNSaveData s_firstSave{};
};

// Both runs serve every check: each test of this suite would start the game again.
TEST_F(ProfileScenarioTest, MadeRenamedErasedChosenAndFoundAgain) {
    ASSERT_EQ(s_firstStatus, 0) << s_firstLog;
    for (const char* name : {"profile_name_entry", "profile_screen", "profile_main_menu"}) {
        png_golden::Image image;
        ASSERT_TRUE(png_golden::ReadPng((s_dir / (std::string(name) + ".png")).string(), image));
        EXPECT_TRUE(png_golden::MatchesGolden(name, image, 6)) << name;
    }
    EXPECT_EQ(s_firstSave.activeProfile, 1);
    EXPECT_EQ(s_firstSave.profiles[1].bUsed, 1);
    EXPECT_STREQ(s_firstSave.profiles[1].name, "ROSIE");
    EXPECT_EQ(s_firstSave.profiles[0].bUsed, 0) << "erased";
    EXPECT_STREQ(s_firstSave.profiles[0].name, "Player 1");

    ASSERT_EQ(s_secondStatus, 0) << s_secondLog;
    // The restart's picture shows ROSIE in slot 1.
    png_golden::Image restart;
    ASSERT_TRUE(png_golden::ReadPng((s_dir / "profile_restart.png").string(), restart));
    EXPECT_TRUE(png_golden::MatchesGolden("profile_restart", restart, 6));
}

} // namespace profile_scenario
