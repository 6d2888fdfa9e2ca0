// A crossword of the disc's bank played in the real world, frame by frame as the game runs
// it, by pointer and A button only: clues chosen on the list and on the grid, every answer
// typed on the on-screen keyboard and confirmed, the sweep heard and the game over; a wrong
// letter sent back to play; a hint in the Tournament mode.
#include "frame_step.h"
#include "game_ui_fixture.h"
#include "puzzle_rules_support.h"
#include "temporary_host_directory.h"

#include <modes/mnsimplypuzzle.h>
#include <puzzles/crossword/mncrosswordui.h>
#include <puzzles/crossword/mncrosswordwidget.h>
#include <services/mnprofilemanager.h>
#include <services/mnsound.h>
#include <services/mnsubgame.h>
#include <services/puzzlebank.h>
#include <shell/mngame.h>
#include <shell/mngameworld.h>
#include <tui/mnkeyboard.h>

#include <string>
#include <vector>

using namespace Kelvo_lib;
using puzzle_test::ModeRules;

namespace {

constexpr u32 kPuzzleSeed = 4;

class Counter : public kHasSlots<> {
public:
    void Count() { ++count; }
    int count = 0;
};

class CrosswordWorldTest : public GameUITest {
protected:
    void SetUp() override {
        GameUITest::SetUp();
        m_game = new MNGame;
        World().Init();
        World().BeginPlay();
        MNProfileManager::SetActiveProfile(0);
        World().SetActiveProfile(0);
        World().SetCurrentSubGame(SUBGAME_SIMPLYPUZZLE);
        // The same crossword, one the tests play through, whichever suites ran before.
        MNProfile::GetRandomGen()->seed(kPuzzleSeed);
        Mode().OnPlay(PUZZLE_FLAG_CROSSWORD, PUZZLE_DIFFICULTY_BEGINNER);
        ASSERT_NE(Mode().GetPuzzleScreen(), nullptr);
        Screen().GameOverSignal.Connect(&m_gameOver, &Counter::Count);
    }
    void TearDown() override {
        delete m_game;
        GameUITest::TearDown();
    }

    MNGameWorld& World() { return *m_game->GetGameWorld(); }
    MNSimplyPuzzle& Mode() {
        return *static_cast<MNSimplyPuzzle*>(World().GetSubGame(SUBGAME_SIMPLYPUZZLE));
    }
    MNCrosswordUI& Screen() { return *static_cast<MNCrosswordUI*>(Mode().GetPuzzleScreen()); }
    MNCrosswordWidget& Widget() { return *Screen().GetWidget(); }
    MNCrossword& Model() { return *Widget().GetCrossword(); }
    int State() { return Widget().GetWidgetState(); }

    // One world frame; the effect last heard is kept when it changes.
    void Frame(const std::string& events = "") {
        RunWorld(World(), {events}, kFrame);
        ++m_frames;
        if (m_heard.empty() || m_heard.back() != MNSound::GetLastSoundEffect()) {
            m_heard.push_back(MNSound::GetLastSoundEffect());
        }
    }
    void Click(float x, float y) {
        const std::string at = PointAt(static_cast<int>(x), static_cast<int>(y));
        Frame(at);
        Frame(at + " hold A");
        Frame("hold none");
        Frame();
    }
    void ContinueIntro() {
        Frame();
        Frame();
        Click(320.0f, 270.0f);
        ASSERT_FALSE(Screen().IsContinueScreenOpen());
    }

    std::string Answer(int word) {
        std::string answer;
        for (int n = 0; n < Model().GetWordLength(word); ++n) {
            answer += Model().GetCellsDone(Model().GetWordCell(word, n));
        }
        return answer;
    }
    // The word's tab, the list scrolled to its first line, and its line pressed.
    void ChooseOnList(int word) {
        const bool bDown = Model().GetWordDirection(word);
        if (Model().GetDirectionView() != bDown) {
            Click(bDown ? 550.0f : 380.0f, 58.0f);
        }
        const kArray<MNCrosswordWidget::RenderedWords>& lines = Widget().GetClueLines(bDown);
        int line = 0;
        while (lines(line).wordIndex != word) {
            ++line;
        }
        while (line >= Widget().GetClueListPos() + MNCrosswordWidget::K_VISIBLE_LINES) {
            Click(485.0f, 424.0f); // down arrow
        }
        while (line < Widget().GetClueListPos()) {
            Click(485.0f, 97.0f); // up arrow
        }
        Click(400.0f, MNCrosswordWidget::K_LINES_TOP + 7.0f +
                          MNCrosswordWidget::K_LINE_STEP * (line - Widget().GetClueListPos()));
        ASSERT_EQ(word, Model().GetSelectedClue());
    }
    // A cell only this word runs through, or -1.
    int OwnCell(int word) {
        for (int n = 0; n < Model().GetWordLength(word); ++n) {
            const int cell = Model().GetWordCell(word, n);
            int words = 0;
            for (int other = 0; other < Model().GetNumWords(); ++other) {
                for (int k = 0; k < Model().GetWordLength(other); ++k) {
                    words += Model().GetWordCell(other, k) == cell ? 1 : 0;
                }
            }
            if (words == 1) {
                return cell;
            }
        }
        return -1;
    }
    // Odd words with a cell of their own are chosen on the grid and opened by the resolve
    // button; the others by a second press on their clue line.
    void Open(int word) {
        const int own = OwnCell(word);
        if (own >= 0 && word % 2 == 1) {
            float x = 0.0f;
            float y = 0.0f;
            Widget().GetCellPosition(own, x, y);
            Click(x + 9.0f, y + 9.0f);
            ASSERT_EQ(word, Model().GetSelectedClue());
            Click(105.0f, 327.0f);
        } else {
            ChooseOnList(word);
            ChooseOnList(word);
        }
        ASSERT_EQ(MNCrosswordWidget::STATE_ANSWER, State());
    }
    void Type(const std::string& letters) {
        const MNKeyboard* keyboard = Model().GetKeyboard();
        for (char letter : letters) {
            const MNKeyboardKey& key = keyboard->GetKey(keyboard->GetKeyIndex(letter));
            Click(key.x + key.w * 0.5f, key.y + key.h * 0.5f);
        }
    }
    void Solve(int word, const std::string& answer) {
        SCOPED_TRACE(word);
        ASSERT_NO_FATAL_FAILURE(Open(word));
        Type(answer);
        Click(380.0f, 270.0f); // confirm
        ASSERT_NE(MNCrosswordWidget::STATE_ANSWER, State());
    }
    // Every word entered, the last with its last letter wrong if asked; returns that cell.
    int SolveAll(bool bLastWrong) {
        const int last = Model().GetNumWords() - 1;
        for (int word = 0; word <= last; ++word) {
            std::string answer = Answer(word);
            if (bLastWrong && word == last) {
                answer.back() = answer.back() == 'Z' ? 'Y' : 'Z';
            }
            Solve(word, answer);
        }
        return Model().GetWordCell(last, Model().GetWordLength(last) - 1);
    }
    // Frames until the sweep is over; returns the effects heard meanwhile.
    std::vector<int> RunSweep() {
        m_heard.clear();
        for (int i = 0; i < 400 && State() == MNCrosswordWidget::STATE_SWEEP; ++i) {
            Frame();
        }
        return m_heard;
    }
    // The effects heard after the sweep's last tick.
    static std::vector<int> AfterTicks(const std::vector<int>& heard) {
        for (size_t i = heard.size(); i > 0; --i) {
            if (heard[i - 1] == SFX_SWEEP_TICK) {
                return std::vector<int>(heard.begin() + i, heard.end());
            }
        }
        ADD_FAILURE() << "no sweep tick was heard";
        return heard;
    }

    test_support::TemporaryNand m_nand;
    MNGame* m_game = nullptr;
    Counter m_gameOver;
    std::vector<int> m_heard;
    int m_frames = 0;
};

TEST_F(CrosswordWorldTest, PlayedByPointerUntilTheSweepEndsTheGame) {
    ContinueIntro();
    const int playStart = m_frames - 1; // the frame after CONTINUE is play
    SolveAll(false);
    ASSERT_EQ(MNCrosswordWidget::STATE_SWEEP, State());
    const float timeAtSweep = Screen().GetTime();
    EXPECT_NEAR((m_frames - playStart) * kFrame, timeAtSweep, 2 * kFrame) << "intro excluded";

    EXPECT_EQ(std::vector<int>{SFX_RIGHT}, AfterTicks(RunSweep()));
    EXPECT_EQ(1, m_gameOver.count);
    EXPECT_FLOAT_EQ(timeAtSweep, Screen().GetTime()) << "the sweep is not play time";
    EXPECT_EQ(0, Screen().GetNumErrors());
    for (int i = 0; i < 30; ++i) {
        Frame();
    }
    EXPECT_EQ(1, m_gameOver.count) << "fired once";
}

TEST_F(CrosswordWorldTest, OneWrongLetterIsBlankedAndPlayGoesOn) {
    ContinueIntro();
    const int wrong = SolveAll(true);
    ASSERT_EQ(MNCrosswordWidget::STATE_SWEEP, State());
    EXPECT_EQ(std::vector<int>{SFX_WRONG}, AfterTicks(RunSweep()));
    EXPECT_EQ(MNCrosswordWidget::STATE_PLAY, State());
    EXPECT_EQ(' ', Model().GetUserLetter(wrong));
    EXPECT_FALSE(Model().IsClueUsed(Model().GetNumWords() - 1));
    EXPECT_EQ(1, Screen().GetNumErrors());
    for (int i = 0; i < 30; ++i) {
        Frame();
    }
    EXPECT_EQ(0, m_gameOver.count);
}

TEST_F(CrosswordWorldTest, ATournamentHintRevealsTheNextLetterAndLocksIt) {
    PuzzleBank bank;
    ASSERT_TRUE(bank.Load(0));
    int index = 0;
    while (bank.GetEntry(index).type != PUZZLE_TYPE_CROSSWORD) {
        ++index;
    }
    Puzzle* const puzzle = bank.GetPuzzle(bank.GetEntry(index).id, 0);
    ASSERT_TRUE(Screen().SetPuzzle(puzzle, ModeRules(GAME_MODE_TOURNAMENT, *puzzle)));
    Screen().Play();
    ContinueIntro();
    ASSERT_NO_FATAL_FAILURE(Open(0));
    Click(210.0f, static_cast<float>(m_surface->GetDesc().yRes) - 15.0f); // hint
    const int first = Model().GetStartCell(0);
    EXPECT_EQ(Model().GetCellsDone(first), Model().GetUserLetter(first));
    EXPECT_TRUE(Model().IsCellLocked(first));
    EXPECT_EQ(1, Model().GetHintsUsed(0));
    EXPECT_EQ(MNCrosswordWidget::STATE_ANSWER, State());
    Type(Answer(0).substr(1));
    Click(380.0f, 270.0f);
    EXPECT_TRUE(Model().IsClueUsed(0));
    EXPECT_EQ(Answer(0)[0], Model().GetUserLetter(first));
}

} // namespace
