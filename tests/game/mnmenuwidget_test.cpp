// The menu widget over a small node tree, driven by scripted remote input: the highlight and
// its signals, a leaf reported every tick while it is the current node, states stepped by the
// arrows (volume bars held within their range), back below a root and at one, hidden items.
#include "game_ui_fixture.h"

#include <tui/mnmenuwidget.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;

class SignalLog : public kHasSlots<> {
public:
    void Highlight(int id) { m_lines.push_back("highlight " + std::to_string(id)); }
    void Select(int id) { m_lines.push_back("select " + std::to_string(id)); }
    void State(int id, int state) {
        m_lines.push_back("state " + std::to_string(id) + " " + std::to_string(state));
    }
    void Back() { m_lines.push_back("back"); }
    void Help() { m_lines.push_back("help"); }

    std::vector<std::string> m_lines;
};

// 20 "Main Menu": 21, 22, 26 "Options" (29 volume bars, 6 states; 65 pages, 4 states; 32 leaf).
class MenuWidgetTest : public GameUITest {
protected:
    void SetUp() override {
        GameUITest::SetUp();
        m_nodes.push_back(std::make_unique<kMenuNode>(121, -1, 0, 20, nullptr));
        for (const int id : {21, 22, 26}) {
            Add(m_nodes[0].get(), 44 + id, 241, 0, id);
        }
        kMenuNode* options = m_nodes[3].get();
        Add(options, 128, 129, 6, 29)->m_bVolumeBars = true;
        Add(options, 138, -1, 4, 65);
        Add(options, 13, 132, 0, 32);
        m_widget.reset(new MNMenuWidget);
        m_widget->GetMenu()->SetNode(m_nodes[0].get());
        m_widget->SignalHighlight.Connect(&m_log, &SignalLog::Highlight);
        m_widget->SignalSelect.Connect(&m_log, &SignalLog::Select);
        m_widget->SignalStateChange.Connect(&m_log, &SignalLog::State);
        m_widget->SignalBack.Connect(&m_log, &SignalLog::Back);
        m_widget->SignalHelp.Connect(&m_log, &SignalLog::Help);
    }

    void TearDown() override {
        m_widget.reset();
        GameUITest::TearDown();
    }

    kMenuNode* Add(kMenuNode* parent, int text, int help, int states, int id) {
        m_nodes.push_back(std::make_unique<kMenuNode>(text, help, states, id, nullptr));
        parent->AddChild(m_nodes.back().get());
        return m_nodes.back().get();
    }

    // The script event for a point of an entry: its middle, or dx pixels from its left edge
    // (from its right edge when dx is negative).
    std::string Entry(int id, float dx = 0.0f) {
        kUIRect rect;
        EXPECT_TRUE(m_widget->GetEntryRect(id, rect)) << id;
        const float x =
            dx == 0.0f ? rect.x + rect.w * 0.5f : (dx > 0 ? rect.x + dx : rect.x + rect.w + dx);
        return PointAt(static_cast<int>(x), static_cast<int>(rect.y + rect.h * 0.5f));
    }
    std::string BackPlace() { return PointAt(30, static_cast<int>(TUIArt::DisplayHeight()) - 30); }

    void Play(const std::vector<ScriptFrame>& frames) {
        PlayScript(frames, m_log.m_lines, [this] {
            Step();
            m_widget->Tick(1.0f / 60.0f);
        });
    }

    std::vector<std::unique_ptr<kMenuNode>> m_nodes;
    std::unique_ptr<MNMenuWidget> m_widget;
    SignalLog m_log;
};

TEST_F(MenuWidgetTest, HighlightFollowsThePointerAndALeafIsSelectedEveryTick) {
    Play({
        {"", {"highlight 21"}},
        {Entry(22), {"highlight 22"}},
        {"", {}},
        {"hold A", {}},
        {"hold none", {"select 22"}},
        {"", {"select 22"}},
        {"", {"select 22"}},
    });
    EXPECT_EQ(m_widget->GetMenu()->GetCurrentNode()->m_menuIdx, 22);
}

TEST_F(MenuWidgetTest, ArrowsStepStatesAndVolumeBarsStayInRange) {
    m_nodes[4]->m_currentState = 4;
    m_widget->GetMenu()->SetNode(m_nodes[3].get());
    const std::string volumeRight = Entry(29, -20.0f);
    const std::string volumeLeft =
        Entry(29, MNComboWidget::kWidth - MNComboWidget::kValueWidth + 10);
    const std::string pagesBody = Entry(65, 40.0f);
    Play({
        {volumeRight, {"highlight 29", "state 29 4"}},
        {"hold A", {}},
        {"hold none", {"state 29 5"}},
        {"hold A", {}},
        {"hold none", {}},
        {volumeLeft + " hold A", {}},
        {"hold none", {"state 29 4"}},
        // A press on the body of an entry with states cycles it; on volume bars it does not.
        {pagesBody, {"highlight 65", "state 65 0"}},
        {"hold A", {}},
        {"hold none", {"state 65 1"}},
    });
}

TEST_F(MenuWidgetTest, BackReturnsBelowARootAndSignalsAtOneOnlyWhenAllowed) {
    m_widget->GetMenu()->SetNode(m_nodes[3].get());
    Play({
        {BackPlace() + " hold A", {"highlight 29", "state 29 0"}},
        {"hold none", {}},
        {"", {"highlight 21"}},
        {"hold A", {}},
        {"hold none", {}},
    });
    EXPECT_EQ(m_widget->GetMenu()->GetCurrentNode()->m_menuIdx, 20);
    m_widget->SetAllowBackAtRoot(true);
    Play({
        {"hold A", {}},
        {"hold none", {"back"}},
        {PointAt(static_cast<int>(TUIArt::DisplayWidth()) - 30,
                 static_cast<int>(TUIArt::DisplayHeight()) - 30) +
             " hold A",
         {}},
        {"hold none", {"help"}},
    });
}

TEST_F(MenuWidgetTest, DisabledItemsAreHiddenAndTheListClosesUp) {
    kUIRect before;
    ASSERT_TRUE(m_widget->GetEntryRect(22, before));
    m_widget->DisableItem(22);
    m_widget->DisableItem(77);
    kUIRect after;
    EXPECT_FALSE(m_widget->GetEntryRect(22, after));
    ASSERT_TRUE(m_widget->GetEntryRect(26, after));
    EXPECT_EQ(after.y, before.y);
    m_nodes[0]->m_currentChild = 1;
    Play({{"", {"highlight 21"}}, {Entry(26), {"highlight 26"}}});
}

} // namespace
