// The parts every puzzle widget shares: the check sweep of a full grid (its two paces, the
// marks it leaves, the flicker of a right grid's hidden word, the frame it hands the verdict
// back), the bottom button row's press and release, what a widget reads of a Head to Head
// game (the players' lines and the pause once a Marathon clock has run out), and the palette's
// text colours reading on what the widgets draw them on.
#include "colour_contrast.h"
#include "game_ui_fixture.h"

#include <puzzles/mnheadtoheadstatus.h>
#include <puzzles/mnpuzzlebottombuttons.h>
#include <puzzles/mnpuzzlesweep.h>

#include <services/mnpalette.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mntextid.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;
using Sweep = MNPuzzleSweep;

// Frames of a quarter second: a second's pass is 4, two seconds' flicker or pause 8.
constexpr float kQuarter = 0.25f;

// A grid of cols x rows whose wrong and hidden-word cells are listed.
class FakeGrid : public Sweep::Grid {
public:
    FakeGrid(std::set<int> wrong, std::set<int> hidden) : m_wrong(wrong), m_hidden(hidden) {}
    bool IsCellRight(int cell) const override { return m_wrong.count(cell) == 0; }
    bool IsHiddenWordCell(int cell) const override { return m_hidden.count(cell) != 0; }

private:
    std::set<int> m_wrong;
    std::set<int> m_hidden;
};

// The marks of every cell, one character each: . lit W h H for none, lit, wrong, hidden.
std::string Marks(const Sweep& sweep, int cells) {
    std::string marks;
    for (int cell = 0; cell < cells; ++cell) {
        marks += ".LWhH"[sweep.GetMark(cell)];
    }
    return marks;
}

// Frames until the sweep hands back its verdict; -1 when it has not within ten seconds.
int FramesToVerdict(Sweep& sweep, const Sweep::Grid& grid, float frame) {
    for (int frames = 1; frames <= static_cast<int>(10.0f / frame); ++frames) {
        if (sweep.Tick(frame, grid)) {
            return frames;
        }
    }
    return -1;
}

TEST(PuzzleSweepTest, FrameByFramePaceMovesOneColumnAFrameAndMarksWhatItPasses) {
    Sweep sweep(Sweep::PACE_FRAME_BY_FRAME, false);
    const FakeGrid grid({4}, {});
    sweep.Start(3, 2); // cells 0 1 2 / 3 4 5
    EXPECT_EQ(Marks(sweep, 6), "......");
    std::vector<std::string> seen;
    for (int frame = 0; frame < 4; ++frame) {
        sweep.Tick(0.2f, grid);
        seen.push_back(Marks(sweep, 6));
    }
    EXPECT_EQ(seen[0], "L..L..");
    EXPECT_EQ(seen[1], ".L..W.") << "one column a frame, a wrong cell marked";
    EXPECT_EQ(seen[2], "..L.WL");
    EXPECT_EQ(seen[3], "....W.") << "past the last column: the wrong mark stays";
    EXPECT_EQ(sweep.GetMark(6), Sweep::SCAN_NONE) << "outside the grid";
    EXPECT_EQ(sweep.GetMark(-1), Sweep::SCAN_NONE);
}

TEST(PuzzleSweepTest, EvenPacePassesEveryColumnTheTimeHasReached) {
    Sweep sweep(Sweep::PACE_EVEN, false);
    const FakeGrid grid({0, 5}, {});
    sweep.Start(4, 2); // cells 0 1 2 3 / 4 5 6 7
    sweep.Tick(0.5f, grid);
    EXPECT_EQ(Marks(sweep, 8), "W.L..WL.") << "two columns passed at once";
    sweep.Tick(0.5f, grid);
    EXPECT_EQ(Marks(sweep, 8), "W....W..");
}

TEST(PuzzleSweepTest, VerdictComesAfterThePassAndTheClosingPauseOnceEachTime) {
    const struct {
        Sweep::ePace pace;
        bool bFlicker;
        int frames;
    } cases[] = {{Sweep::PACE_EVEN, false, 12},
                 {Sweep::PACE_FRAME_BY_FRAME, false, 12},
                 {Sweep::PACE_FRAME_BY_FRAME, true, 20}};
    const FakeGrid grid({}, {});
    for (const auto& c : cases) {
        Sweep sweep(c.pace, c.bFlicker);
        sweep.Start(5, 5);
        EXPECT_EQ(FramesToVerdict(sweep, grid, kQuarter), c.frames) << c.pace << c.bFlicker;
        EXPECT_EQ(FramesToVerdict(sweep, grid, kQuarter), -1) << "no second verdict";
        sweep.Start(5, 5);
        EXPECT_EQ(FramesToVerdict(sweep, grid, kQuarter), c.frames) << "a new sweep";
    }
}

// Every frame's marks until the verdict.
std::set<std::string> MarksUntilVerdict(Sweep& sweep, const Sweep::Grid& grid, int cells) {
    std::set<std::string> seen;
    for (int frame = 0; frame < 1000 && !sweep.Tick(0.05f, grid); ++frame) {
        seen.insert(Marks(sweep, cells));
    }
    return seen;
}

TEST(PuzzleSweepTest, HiddenWordOfARightGridFlickersUntilTheVerdict) {
    Sweep sweep(Sweep::PACE_FRAME_BY_FRAME, true);
    sweep.Start(3, 1);
    const std::set<std::string> right = MarksUntilVerdict(sweep, FakeGrid({}, {1, 2}), 3);
    EXPECT_EQ(right.count(".hh"), 1u);
    EXPECT_EQ(right.count(".HH"), 1u) << "its other look";
    sweep.Start(3, 1);
    const std::set<std::string> wrong = MarksUntilVerdict(sweep, FakeGrid({0}, {1, 2}), 3);
    EXPECT_EQ(wrong.count(".hh") + wrong.count(".HH") + wrong.count("Whh"), 0u)
        << "a wrong grid shows no hidden word";
    EXPECT_EQ(wrong.count("W.."), 1u);
}

class BottomButtonsTest : public GameUITest {};

// A button acts on the frame A is let go over the button it went down on; in a row sharing
// the press, over any button. Greyed and hidden buttons never act, and a hidden one takes no
// press either.
TEST_F(BottomButtonsTest, AButtonActsWhenLetGoOverTheButtonItWentDownOn) {
    using B = MNPuzzleBottomButtons;
    const struct Case {
        const char* what;
        B::ePress press;
        B::eButton down, up;
        B::eLook hint;
        B::eButton acts;
    } kCases[] = {
        {"menu", B::PRESS_EACH, B::BUTTON_MENU, B::BUTTON_MENU, B::LOOK_HIDDEN, B::BUTTON_MENU},
        {"hint", B::PRESS_EACH, B::BUTTON_HINT, B::BUTTON_HINT, B::LOOK_LIVE, B::BUTTON_HINT},
        {"third", B::PRESS_EACH, B::BUTTON_THIRD, B::BUTTON_THIRD, B::LOOK_LIVE, B::BUTTON_THIRD},
        {"moved off", B::PRESS_EACH, B::BUTTON_MENU, B::BUTTON_HINT, B::LOOK_LIVE, B::BUTTON_NONE},
        {"shared", B::PRESS_SHARED, B::BUTTON_MENU, B::BUTTON_HINT, B::LOOK_LIVE, B::BUTTON_HINT},
        {"greyed", B::PRESS_EACH, B::BUTTON_HINT, B::BUTTON_HINT, B::LOOK_GREYED, B::BUTTON_NONE},
        {"hidden", B::PRESS_SHARED, B::BUTTON_HINT, B::BUTTON_MENU, B::LOOK_HIDDEN, B::BUTTON_NONE},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        B row({B::PLACE_TITLE_SAFE, c.press, TEXT_FITWORD_CLEAR});
        ASSERT_TRUE(row.Load());
        MNInputEdge input;
        const auto centre = [&](B::eButton button, bool bDown) {
            const kSprite& sprite = *row.GetSprite(button);
            input.Set(static_cast<int>(sprite.GetX() + sprite.GetWidth() / 2),
                      static_cast<int>(sprite.GetY() + sprite.GetHeight() / 2), bDown);
        };
        centre(c.down, true);
        EXPECT_EQ(B::BUTTON_NONE, row.Tick(input, c.hint, B::LOOK_LIVE));
        centre(c.up, false);
        EXPECT_EQ(c.acts, row.Tick(input, c.hint, B::LOOK_LIVE));
    }
}

class HeadToHeadStatusTest : public GameUITest {
protected:
    void SetUp() override {
        GameUITest::SetUp();
        MNProfileManager::SetActiveProfile(0);
        m_saved = Players();
    }
    void TearDown() override {
        Players() = m_saved;
        GameUITest::TearDown();
    }
    static MNHeadToHeadData& Players() {
        return *MNProfileManager::GetActiveProfile()->GetHeadToHeadData();
    }
    static void SetUp(bool bSprint, int lives1, int lives2, int time1, int time2) {
        MNHeadToHeadData& players = Players();
        std::snprintf(players.m_player1Name, sizeof(players.m_player1Name), "Ann");
        std::snprintf(players.m_player2Name, sizeof(players.m_player2Name), "Bob");
        players.m_sprintMode = bSprint;
        players.m_player1Lives = lives1;
        players.m_player2Lives = lives2;
        players.m_player1Time = time1;
        players.m_player2Time = time2;
    }

    MNHeadToHeadData m_saved{};
};

TEST_F(HeadToHeadStatusTest, LinesShowLivesInASprintAndTimeLeftInAMarathon) {
    SetUp(true, 3, 0, 0, 0);
    MNHeadToHeadStatus status;
    ASSERT_TRUE(status.Read());
    EXPECT_STREQ(status.GetLine(0), "Ann: 3");
    EXPECT_STREQ(status.GetLine(1), "Bob: 0");
    SetUp(false, 0, 0, 65, 600);
    ASSERT_TRUE(status.Read());
    EXPECT_STREQ(status.GetLine(0), "Ann: 1:05");
    EXPECT_STREQ(status.GetLine(1), "Bob: 10:00");
}

TEST_F(HeadToHeadStatusTest, OnlyAHeadToHeadMarathonWithAClockRunOutPauses) {
    const struct {
        bool bTakeTurns;
        bool bSprint;
        int time1;
        int time2;
        bool bPaused;
    } cases[] = {{true, false, 0, 30, true},
                 {true, false, 30, 0, true},
                 {true, false, 30, 30, false},
                 {true, true, 0, 0, false},
                 {false, false, 0, 0, false}};
    for (const auto& c : cases) {
        SetUp(c.bSprint, 1, 1, c.time1, c.time2);
        EXPECT_EQ(MNHeadToHeadStatus::IsPaused(c.bTakeTurns), c.bPaused)
            << c.bTakeTurns << " " << c.bSprint << " " << c.time1 << " " << c.time2;
    }
}

// A list's text on paper, and on the sun yellow bar of the chosen line: at 4.5:1 or more.
TEST(PaletteTest, ListTextReadsOnPaperAndOnTheHighlight) {
    using P = MNPalette;
    const struct {
        unsigned int text, ground;
        const char* what;
    } pairs[] = {{P::kInk, P::kPaper, "a word"},
                 {P::kUsedInk, P::kPaper, "a placed word"},
                 {P::kSlate, P::kPaper, "a heading"},
                 {P::kInk, P::kSun, "the chosen word"}};
    for (const auto& pair : pairs) {
        EXPECT_GE(colour_contrast::Ratio(pair.text, pair.ground), 4.5) << pair.what;
    }
}

} // namespace
