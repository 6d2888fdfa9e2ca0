// The menu node table (its shape, the shared entries' last parent, the lookup's bounds, one
// copy per screen) and the clock's time split.
#include <tui/menunodedata.h>
#include <tui/splittime.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Kelvo_lib;

std::vector<int> ChildIds(const kMenuNode* node) {
    std::vector<int> ids;
    for (int i = 0; i < node->m_childList.Size(); ++i) {
        ids.push_back(node->m_childList(i)->m_menuIdx);
    }
    return ids;
}

TEST(MenuNodeDataTest, EveryEntrySitsAtItsIdUnderTheParentItWasLastGiven) {
    const MenuNodeData nodes;
    ASSERT_EQ(nodes.Size(), 74);
    for (int id = 0; id < nodes.Size(); ++id) {
        EXPECT_EQ(nodes.GetNode(id)->m_menuIdx, id);
    }
    EXPECT_EQ(ChildIds(nodes.GetNode(0)), (std::vector<int>{3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(ChildIds(nodes.GetNode(2)), (std::vector<int>{3, 4, 5, 6, 7}));
    for (int id = 3; id <= 7; ++id) {
        EXPECT_EQ(nodes.GetNode(id)->m_parent, nodes.GetNode(2)) << id;
    }
    EXPECT_EQ(nodes.GetNode(8)->m_parent, nodes.GetNode(0));
    EXPECT_EQ(ChildIds(nodes.GetNode(35)), (std::vector<int>{36, 37, 40, 39, 38, 41}));
    EXPECT_EQ(ChildIds(nodes.GetNode(52)), (std::vector<int>{53, 58, 72, 73}));
    EXPECT_EQ(nodes.GetNode(28)->m_parent, nullptr);
    EXPECT_EQ(nodes.GetNode(42)->m_parent, nullptr);
}

TEST(MenuNodeDataTest, IdsOutsideTheTableGiveNothing) {
    const MenuNodeData nodes;
    for (const int id : {-1, -74, 74, 1000}) {
        EXPECT_EQ(nodes.GetNode(id), nullptr) << id;
    }
}

TEST(MenuNodeDataTest, EachCopyKeepsItsOwnStates) {
    MenuNodeData mainMenu;
    const MenuNodeData pause;
    mainMenu.GetNode(29)->m_currentState = 4;
    mainMenu.GetNode(31)->m_bHide = true;
    EXPECT_EQ(pause.GetNode(29)->m_currentState, 0);
    EXPECT_EQ(pause.GetNode(43)->m_currentState, 0);
    EXPECT_FALSE(pause.GetNode(31)->m_bHide);
}

TEST(SplitTimeTest, SplitsIntoHoursMinutesAndSecondsOrIntoAllTheMinutes) {
    const struct {
        int seconds;
        bool bHours;
        int sec, min, hours;
    } cases[] = {{3725, true, 5, 2, 1},     {3725, false, 5, 62, -1}, {59, true, 59, 0, 0},
                 {59, false, 59, 0, -1},    {0, true, 0, 0, 0},       {1200, false, 0, 20, -1},
                 {86399, true, 59, 59, 23}, {-5, true, 0, 0, 0},      {-61, false, 0, 0, -1}};
    for (const auto& c : cases) {
        int sec = -1, min = -1, hours = -1;
        SplitTime(c.seconds, &sec, &min, c.bHours ? &hours : nullptr);
        EXPECT_EQ(sec, c.sec) << c.seconds;
        EXPECT_EQ(min, c.min) << c.seconds;
        EXPECT_EQ(hours, c.hours) << c.seconds;
    }
    int min = -1;
    SplitTime(125, nullptr, &min, nullptr);
    EXPECT_EQ(min, 2);
}

} // namespace
