// Menus: stepping over hidden children with and without wrapping (including nodes whose
// children are all hidden, or that have none), states, entering and leaving nodes, and the
// subtree search.
#include <framework/kmenu.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Kelvo_lib::kMenu;
using Kelvo_lib::KMENU_BACK;
using Kelvo_lib::KMENU_NEXT_CHILD;
using Kelvo_lib::KMENU_NEXT_STATE;
using Kelvo_lib::KMENU_PREV_CHILD;
using Kelvo_lib::KMENU_PREV_STATE;
using Kelvo_lib::KMENU_SELECT;
using Kelvo_lib::kMenuAction;
using Kelvo_lib::kMenuNode;

// A root whose children are leaves with the given hidden flags, ids 1, 2, ...
class Tree {
public:
    explicit Tree(std::vector<bool> hidden, int numStates = 0) : m_root(0, -1, 0, 0, nullptr) {
        for (size_t i = 0; i < hidden.size(); ++i) {
            m_leaves.push_back(
                std::make_unique<kMenuNode>(10 + int(i), -1, numStates, int(i) + 1, nullptr));
            m_leaves.back()->m_bHide = hidden[i];
            m_root.AddChild(m_leaves.back().get());
        }
    }

    kMenuNode m_root;
    std::vector<std::unique_ptr<kMenuNode>> m_leaves;
};

struct StepCase {
    const char* name;
    std::vector<bool> hidden;
    bool loop;
    int start;
    kMenuAction action;
    int expected;
};

class MenuStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(MenuStepTest, HighlightsTheNearestVisibleChild) {
    const StepCase& c = GetParam();
    Tree tree(c.hidden);
    kMenu menu;
    menu.m_bLoopChildren = c.loop;
    menu.SetNode(&tree.m_root);
    tree.m_root.m_currentChild = c.start;
    menu.DoAction(c.action);
    EXPECT_EQ(tree.m_root.m_currentChild, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, MenuStepTest,
    ::testing::Values(
        StepCase{"NextSkipsHidden", {false, true, false}, false, 0, KMENU_NEXT_CHILD, 2},
        StepCase{"NextOnLastStays", {false, true, false}, false, 2, KMENU_NEXT_CHILD, 2},
        StepCase{"NextOnLastStaysWhenWrapping", {false, false}, true, 1, KMENU_NEXT_CHILD, 1},
        StepCase{"PrevSkipsHidden", {false, true, false}, false, 2, KMENU_PREV_CHILD, 0},
        StepCase{"PrevOnFirstStaysWhenWrapping", {false, false}, true, 0, KMENU_PREV_CHILD, 0},
        StepCase{"NextWrapsPastHiddenTail", {false, false, true}, true, 1, KMENU_NEXT_CHILD, 0},
        StepCase{"PrevWrapsPastHiddenHead", {true, false, false}, true, 1, KMENU_PREV_CHILD, 2},
        StepCase{"NextWithoutWrapKeepsPlace", {false, false, true}, false, 1, KMENU_NEXT_CHILD, 1},
        StepCase{"PrevWithoutWrapKeepsPlace", {true, false, false}, false, 1, KMENU_PREV_CHILD, 1},
        StepCase{"AllHiddenWrappingNextStops", {true, true, true}, true, 1, KMENU_NEXT_CHILD, 1},
        StepCase{"AllHiddenWrappingPrevStops", {true, true, true}, true, 0, KMENU_PREV_CHILD, 0},
        StepCase{"OnlyHighlightVisibleWrapping", {true, false, true}, true, 1, KMENU_NEXT_CHILD, 1},
        StepCase{"NoChildrenNext", {}, true, 0, KMENU_NEXT_CHILD, 0},
        StepCase{"NoChildrenPrev", {}, false, 0, KMENU_PREV_CHILD, 0},
        StepCase{"HighlightBeyondEndComesBack", {false, false}, false, 7, KMENU_NEXT_CHILD, 1}),
    [](const ::testing::TestParamInfo<StepCase>& info) { return info.param.name; });

TEST(MenuTest, SelectCyclesAStateAndStateStepsStopAtTheEnds) {
    Tree tree({false}, 3);
    kMenu menu;
    menu.SetNode(&tree.m_root);
    kMenuNode& leaf = *tree.m_leaves[0];
    std::vector<int> states;
    for (int i = 0; i < 4; ++i) {
        menu.DoAction(KMENU_SELECT);
        states.push_back(leaf.m_currentState);
    }
    EXPECT_EQ(states, (std::vector<int>{1, 2, 0, 1}));
    menu.DoAction(KMENU_NEXT_STATE);
    menu.DoAction(KMENU_NEXT_STATE);
    EXPECT_EQ(leaf.m_currentState, 2);
    for (int i = 0; i < 3; ++i) {
        menu.DoAction(KMENU_PREV_STATE);
    }
    EXPECT_EQ(leaf.m_currentState, 0);
    EXPECT_EQ(menu.GetCurrentNode(), &tree.m_root);
}

TEST(MenuTest, SelectEntersALeafWithoutStatesAndBackReturns) {
    Tree tree({false, false});
    kMenu menu;
    menu.SetNode(&tree.m_root);
    menu.DoAction(KMENU_NEXT_CHILD);
    menu.DoAction(KMENU_SELECT);
    EXPECT_EQ(menu.GetCurrentNode(), tree.m_leaves[1].get());
    EXPECT_EQ(menu.m_lastNode, &tree.m_root);
    menu.DoAction(KMENU_BACK);
    EXPECT_EQ(menu.GetCurrentNode(), &tree.m_root);
    EXPECT_EQ(menu.m_lastNode, tree.m_leaves[1].get());
    menu.DoAction(KMENU_BACK); // at the root: nothing
    EXPECT_EQ(menu.GetCurrentNode(), &tree.m_root);
}

TEST(MenuTest, StateStepsIgnoreEntriesWithChildren) {
    kMenuNode grandchild(1, -1, 0, 3, nullptr);
    kMenuNode child(1, -1, 3, 2, &grandchild);
    kMenuNode root(1, -1, 0, 1, &child);
    EXPECT_EQ(grandchild.m_parent, &child);
    kMenu menu;
    menu.SetNode(&root);
    menu.DoAction(KMENU_NEXT_STATE);
    EXPECT_EQ(child.m_currentState, 0);
    menu.DoAction(KMENU_SELECT); // has children: entered, not cycled
    EXPECT_EQ(menu.GetCurrentNode(), &child);
    EXPECT_EQ(child.m_currentState, 0);
}

TEST(MenuTest, ActionsWithoutAnythingToActOnDoNothing) {
    kMenu menu;
    menu.DoAction(KMENU_SELECT); // no current node
    menu.DoAction(KMENU_NEXT_CHILD);
    EXPECT_EQ(menu.GetCurrentNode(), nullptr);

    Tree tree({false});
    menu.SetNode(&tree.m_root);
    tree.m_root.m_currentChild = 4;
    menu.DoAction(KMENU_SELECT);
    menu.DoAction(KMENU_NEXT_STATE);
    menu.DoAction(static_cast<kMenuAction>(9));
    EXPECT_EQ(menu.GetCurrentNode(), &tree.m_root);
    EXPECT_EQ(menu.m_lastNode, nullptr);
}

TEST(MenuTest, NodeSearchIsDepthFirstWithinTheCurrentSubtree) {
    kMenuNode deep(0, -1, 0, 7, nullptr);
    kMenuNode left(0, -1, 0, 2, &deep);
    kMenuNode right(0, -1, 0, 7, nullptr);
    kMenuNode root(0, -1, 0, 1, nullptr);
    root.AddChild(&left);
    root.AddChild(&right);
    kMenu menu;
    menu.SetNode(&root);
    EXPECT_EQ(menu.GetNodeById(7), &deep);
    EXPECT_EQ(menu.GetNodeById(1), &root);
    EXPECT_EQ(menu.GetNodeById(99), nullptr);
    menu.SetNode(&right);
    EXPECT_EQ(menu.GetNodeById(2), nullptr);
    EXPECT_EQ(kMenu::FindNodeById(nullptr, 7), nullptr);
}

} // namespace
