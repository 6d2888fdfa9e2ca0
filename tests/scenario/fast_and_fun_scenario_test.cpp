// Fast and Fun in the real game, headless, by input script only: the debug profile made,
// the music turned down, then a beginner run of fifteen puzzles solved by the debug key
// (sudoku, fitword, crossword, wordsearch in turn) that opens intermediate, and a next run
// lost at once by a wrong stroke in its wordsearch; and, in the release build, a pro run
// left to run out of time. Checked through pictures, the save file and the captured sound.
#include "effect_capture.h"
#include "game_run.h"
#include "png_golden.h"

#include <services/mnsavedata.h>
#include <services/mnsound.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FAST_AND_FUN_SANITIZED_BUILD 1
#endif
#endif

namespace fast_and_fun_scenario {

namespace fs = std::filesystem;
using namespace Kelvo_lib;
using game_run::At;
using game_run::Place;

constexpr int kFramesPerSecond = 50;

// Places in pixels: the main menu and its options, the Fast and Fun menu (its screens with a side
// panel keep the left 384 pixels), a puzzle's intro, and a row of the small wordsearch's grid.
constexpr Place kOptions{320, 362}, kMusicDown{360, 164}, kBack{30, 466}, kFastAndFun{320, 263},
    kBeginner{192, 268}, kIntermediate{80, 317}, kPro{80, 367}, kConfirmPlay{192, 391},
    kContinue{320, 270}, kNextPuzzle{192, 317}, kEndChallenge{192, 416}, kYes{320, 317},
    kGameOverContinue{320, 317}, kGameOverButtonEdge{200, 317}, kRest{350, 440},
    kWordsearchRow{150, 204};
constexpr int kCell = 24;

struct Script : game_run::Script {
    // The pointer put where it is over no button.
    void Rest(int wait) {
        text += std::to_string(frame) + " " + At(kRest.x, kRest.y) + "\n";
        frame += wait;
    }
    // A stroke with A held over two neighbouring cells of a row; the frame A comes up.
    int Stroke(Place from) {
        text += std::to_string(frame) + " " + At(from.x, from.y) + "\n";
        text += std::to_string(frame + 2) + " hold A\n";
        text += std::to_string(frame + 6) + " " + At(from.x + kCell, from.y) + "\n";
        text += std::to_string(frame + 10) + " hold none\n";
        frame += 40;
        return frame - 30;
    }
    // The debug profile in slot 0, the music turned down to silence, Fast and Fun entered.
    void ToFastAndFun() {
        MakeFirstProfile("ZAVIVIRI");
        Press(kOptions);
        for (int i = 0; i < 3; ++i) {
            Press(kMusicDown);
        }
        Press(kBack, 20);
        Press(kFastAndFun, 40);
    }
    void StartRun(Place difficulty) {
        Press(difficulty, 20);
        Press(kConfirmPlay, 30);
    }
    // From the intro of a run's first puzzle, count puzzles solved; the debug key's frames.
    std::vector<int> Solve(int count, int quiet) {
        std::vector<int> keys;
        for (int i = 0; i < count; ++i) {
            if (i > 0) {
                Press(kNextPuzzle, 30);
            }
            Press(kContinue, 15);
            keys.push_back(DebugKey(quiet));
        }
        return keys;
    }
    // The run ended from its complete screen: the main menu, then Fast and Fun again.
    void EndChallengeAndComeBack() {
        Press(kEndChallenge, 20);
        Press(kYes, 40);
        Press(kFastAndFun, 40);
    }
};

// The title strips of the shots (where a puzzle's intro names it), one under another; empty
// when a shot is missing.
png_golden::Image TitleStrips(const std::vector<fs::path>& shots) {
    constexpr u32 kTop = 16, kRows = 56;
    png_golden::Image strips;
    for (const fs::path& shot : shots) {
        png_golden::Image image;
        if (!png_golden::ReadPng(shot.string(), image) || image.height < kTop + kRows) {
            return {};
        }
        strips.width = image.width;
        strips.height += kRows;
        strips.rgb.insert(strips.rgb.end(), image.rgb.begin() + kTop * image.width,
                          image.rgb.begin() + (kTop + kRows) * image.width);
    }
    return strips;
}

// Whether the pixel at a place shows a button at rest (sky), not disabled (grey).
bool ShowsEnabledButton(const fs::path& shot, Place place) {
    png_golden::Image image;
    if (!png_golden::ReadPng(shot.string(), image)) {
        return false;
    }
    const u32 colour = image.rgb[(place.y * 526 / 496) * image.width + place.x];
    return (colour & 0xFF) > 0xB0 && ((colour >> 16) & 0xFF) < 0x80; // blue, not grey
}

class FastAndFunScenarioTest : public game_run::GameRunTest {
protected:
    static fs::path Capture() { return s_dir / "sound.wav"; }
    static std::string SoundOption() { return " --audio-out " + (s_dir / "sound.wav").string(); }
    // How little of the best fitting sound that starts within ten frames from a frame the
    // effects, started together, leave unexplained.
    static double SoundAfter(const fs::path& capture, int frame,
                             std::initializer_list<int> effects) {
        double best = 1.0;
        for (long onset : effect_capture::Onsets(capture, effect_capture::FrameStart(frame),
                                                 effect_capture::FrameStart(frame + 10))) {
            best = std::min(best,
                            effect_capture::Unexplained(capture, onset, effects, PUZZLES_DISC_DIR));
        }
        return best;
    }
};

// One run serves every check: each test would start the game again.
TEST_F(FastAndFunScenarioTest, FifteenSolvedOpenIntermediateAndAWrongStrokeEndsTheNextRun) {
    Script script;
    script.ToFastAndFun();
    script.Rest(6);
    const int difficultyShot = script.frame - 1;
    script.StartRun(kBeginner);
    std::vector<int> introShots;
    std::vector<int> keys;
    for (int i = 0; i < 15; ++i) {
        if (i > 0) {
            script.Press(kNextPuzzle, 30);
        }
        introShots.push_back(script.frame - 1);
        script.Press(kContinue, 15);
        keys.push_back(script.DebugKey(40));
    }
    script.Rest(6);
    const int unlockedShot = script.frame - 1;
    script.EndChallengeAndComeBack();
    script.StartRun(kBeginner); // the sixteenth puzzle: a wordsearch
    script.Press(kContinue, 15);
    const int strokeEnd = script.Stroke(kWordsearchRow);
    script.Rest(6);
    const int gameOverShot = script.frame - 1;
    script.Press(kGameOverContinue, 20);
    const int choiceShot = script.frame - 1;

    std::string options = SoundOption() + Screenshot("fast_and_fun_difficulty", difficultyShot) +
                          Screenshot("fast_and_fun_unlocked", unlockedShot) +
                          Screenshot("fast_and_fun_game_over", gameOverShot) +
                          Screenshot("choice", choiceShot);
    for (int i = 0; i < 4; ++i) {
        options += Screenshot(("intro_" + std::to_string(i)).c_str(), introShots[i]);
    }
    std::string log;
    ASSERT_EQ(RunGame(script.text, script.frame, options, log), 0) << log;

    EXPECT_TRUE(ShotMatches("fast_and_fun_difficulty")) << "the level choice and its panel";
    EXPECT_TRUE(ShotMatches("fast_and_fun_unlocked")) << "the time left beside the screen";
    EXPECT_TRUE(ShotMatches("fast_and_fun_game_over"));
    std::vector<fs::path> intros;
    for (int i = 0; i < 4; ++i) {
        intros.push_back(s_dir / ("intro_" + std::to_string(i) + ".png"));
    }
    EXPECT_TRUE(png_golden::MatchesGolden("fast_and_fun_rotation", TitleStrips(intros), 6))
        << "sudoku, fitword, crossword, wordsearch in turn";
    EXPECT_TRUE(ShowsEnabledButton(s_dir / "choice.png", kIntermediate));
    EXPECT_FALSE(ShowsEnabledButton(s_dir / "choice.png", kPro));

    const fs::path capture = Capture();
    EXPECT_LT(SoundAfter(capture, keys[13], {SFX_RESULT_GOOD}), effect_capture::kFits);
    EXPECT_LT(SoundAfter(capture, keys[14], {SFX_RESULT_BEST}), effect_capture::kFits)
        << "the fifteenth opens intermediate";
    EXPECT_GT(SoundAfter(capture, keys[14], {SFX_RESULT_GOOD}), 0.1);
    EXPECT_LT(SoundAfter(capture, strokeEnd, {SFX_WRONG, SFX_RESULT_POOR}), effect_capture::kFits)
        << "the wrong stroke and the game over together";

    MNSaveData save{};
    ASSERT_TRUE(game_run::ReadSave(s_dir, save));
    const MNSaveProfileData& profile = save.profiles[0];
    EXPECT_EQ(profile.fastandfunData.m_mostBeginnerPuzzlesComplete, 15);
    EXPECT_EQ(profile.fastandfunData.m_mostIntermediatePuzzlesComplete, 0);
    // As saved after the fifteenth: four of each kind but the wordsearch, which came last.
    const int kPlayed[MN_NUM_PUZZLE_TYPES] = {4, 3, 4, 4}; // crossword, wordsearch, fitword, sudoku
    for (int type = 0; type < MN_NUM_PUZZLE_TYPES; ++type) {
        const int played = static_cast<int>(std::count_if(profile.recent[type],
                                                          profile.recent[type] + MN_RECENT_DEPTH,
                                                          [](s16 id) { return id >= 0; }));
        EXPECT_EQ(played, kPlayed[type]) << "bank type " << type + 1;
    }
}

TEST_F(FastAndFunScenarioTest, AProRunRunsOutAtTenMinutesAfterAWarningEachSecondFromItsLast) {
#ifdef FAST_AND_FUN_SANITIZED_BUILD
    GTEST_SKIP() << "ten minutes of play are run in the release build";
#endif
    Script script;
    script.ToFastAndFun();
    script.StartRun(kBeginner);
    script.Solve(15, 15);
    script.EndChallengeAndComeBack();
    script.StartRun(kIntermediate);
    script.Solve(15, 15);
    script.EndChallengeAndComeBack();
    script.StartRun(kPro);
    script.Press(kContinue, 4);
    const int clockStart = script.frame; // the continue button comes up
    const int end = clockStart + 605 * kFramesPerSecond;
    std::string log;
    ASSERT_EQ(RunGame(script.text, end, SoundOption() + Screenshot("timed_out", end - 1), log), 0)
        << log;

    const fs::path capture = Capture();
    const std::vector<long> onsets = effect_capture::Onsets(
        capture, effect_capture::FrameStart(clockStart + 10), effect_capture::FrameStart(end + 10));
    std::string frames;
    for (long onset : onsets) {
        frames += ' ';
        frames += std::to_string(onset / effect_capture::kSamplesPerFrame - clockStart);
    }
    ASSERT_EQ(onsets.size(), 30u) << "29 warnings, then the time up; frames after the start:"
                                  << frames;
    const auto second = [&](long sample) {
        return static_cast<double>(sample - effect_capture::FrameStart(clockStart)) /
               (effect_capture::kSamplesPerFrame * kFramesPerSecond);
    };
    EXPECT_GE(second(onsets[0]), 570.5);
    EXPECT_LT(second(onsets[0]), 572.0);
    for (size_t i = 0; i + 1 < onsets.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_LT(
            effect_capture::Unexplained(capture, onsets[i], {SFX_LAST_SECONDS}, PUZZLES_DISC_DIR),
            effect_capture::kFits);
        if (i > 0) {
            EXPECT_NEAR(second(onsets[i]) - second(onsets[i - 1]), 1.0, 0.03);
        }
    }
    EXPECT_NEAR(second(onsets.back()), 600.0, 0.2);
    EXPECT_LT(effect_capture::Unexplained(capture, onsets.back(), {SFX_TIME_UP, SFX_RESULT_POOR},
                                          PUZZLES_DISC_DIR),
              effect_capture::kFits)
        << "time up, with the game over";
    EXPECT_TRUE(ShowsEnabledButton(s_dir / "timed_out.png", kGameOverButtonEdge))
        << "the game over screen";

    MNSaveData save{};
    ASSERT_TRUE(game_run::ReadSave(s_dir, save));
    const MNFastAndFunData& data = save.profiles[0].fastandfunData;
    EXPECT_EQ(data.m_mostIntermediatePuzzlesComplete, 15);
    EXPECT_EQ(data.m_mostProPuzzlesComplete, 0);
    EXPECT_EQ(data.m_currentPuzzle, -1);
}

} // namespace fast_and_fun_scenario
