// Widgets without input: layout in pixels and percent, alignment, where the pointer hits
// (edges, overlapping children), the focus path, what a dying widget lets go of, and
// creation by class.
#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using namespace Kelvo_lib;
using ui_test::Journal;
using ui_test::Probe;

class WidgetTest : public render_fixture::RenderTest {
protected:
    std::unique_ptr<Probe> Root(kUIRect rect) {
        return std::make_unique<Probe>(&m_journal, "root", rect);
    }

    Journal m_journal;
};

void ExpectRect(const kUIRect& actual, const kUIRect& expected) {
    EXPECT_FLOAT_EQ(actual.x, expected.x);
    EXPECT_FLOAT_EQ(actual.y, expected.y);
    EXPECT_FLOAT_EQ(actual.w, expected.w);
    EXPECT_FLOAT_EQ(actual.h, expected.h);
}

TEST_F(WidgetTest, NegativeSizeTakesBothAxesFromTheIdealSize) {
    auto root = Root({10, 20, -1, 20});
    root->m_idealSize = {40, 30};
    ExpectRect(*root->GetRect(), {10, 20, 40, 30});

    root->m_size = {KUI_POSITION_PERCENT, 50, -1};
    root->m_idealSize = {25, 50};
    ExpectRect(*root->GetRect(), {10, 20, 0.25f * DisplayWidth(), 0.5f * DisplayHeight()});
}

TEST_F(WidgetTest, PercentSizesReferToTheParentAndToTheDisplayAtTheRoot) {
    auto root = Root({});
    root->m_size = {KUI_POSITION_PERCENT, 50, 50};
    Probe* const child = root->Add("child", {});
    child->m_size = {KUI_POSITION_PERCENT, 50, 50};
    ExpectRect(*root->GetRect(), {0, 0, 0.5f * DisplayWidth(), 0.5f * DisplayHeight()});
    ExpectRect(*child->GetRect(), {0, 0, 0.25f * DisplayWidth(), 0.25f * DisplayHeight()});

    const kUIWidgetSizeCoord quarter{KUI_POSITION_PERCENT, 25};
    const kUIWidgetSizeCoord ideal{KUI_POSITION_PIXELS, -1};
    child->m_idealSize = {7, 9};
    EXPECT_FLOAT_EQ(child->PixelSizeX(quarter), 0.125f * DisplayWidth());
    EXPECT_FLOAT_EQ(child->PixelSizeY(quarter), 0.125f * DisplayHeight());
    EXPECT_FLOAT_EQ(child->PixelSizeX(ideal), 7);
    EXPECT_FLOAT_EQ(child->PixelSizeY(ideal), 9);
    EXPECT_FLOAT_EQ(root->PixelSizeX(quarter), 0.25f * DisplayWidth());
}

TEST_F(WidgetTest, AnchorAndPositionAtHalfCentreTheWidgetInItsParent) {
    auto root = Root({30, 40, 200, 100});
    Probe* const child = root->Add("child", {0, 0, 40, 20});
    child->m_anchor = {KUI_POSITION_PERCENT, 50, 50};
    child->m_pos = {KUI_POSITION_PERCENT, 50, 50};
    ExpectRect(*child->GetRect(), {80, 40, 40, 20});

    Probe* const grandchild = child->Add("grandchild", {5, 6, 10, 10});
    const kUIPoint onScreen = grandchild->WidgetClientToScreen({1, 2});
    EXPECT_FLOAT_EQ(onScreen.x, 30 + 80 + 5 + 1);
    EXPECT_FLOAT_EQ(onScreen.y, 40 + 40 + 6 + 2);
    ExpectRect(grandchild->WidgetToScreen(*grandchild->GetRect()), {115, 86, 10, 10});
}

struct AlignCase {
    unsigned int align;
    kUIPoint expected;
};

TEST(WidgetAlignTest, GivesTheOffsetOfAnItemInABox) {
    const AlignCase cases[] = {
        {KUI_LEFT_TOP, {0, 0}},       {KUI_LEFT_BOTTOM, {0, 90}},    {KUI_CENTER_BOTTOM, {40, 90}},
        {KUI_RIGHT_CENTER, {80, 45}}, {KUI_CENTER_CENTER, {40, 45}}, {KUI_RIGHT_TOP, {80, 0}},
        {0x31, {0, 90}} /* bad x */,  {0x13, {80, 0}} /* bad y */,
    };
    for (const AlignCase& c : cases) {
        SCOPED_TRACE(c.align);
        const kUIPoint offset = kUICalcAlign(static_cast<kUIAlign>(c.align), {100, 100}, {20, 10});
        EXPECT_FLOAT_EQ(offset.x, c.expected.x);
        EXPECT_FLOAT_EQ(offset.y, c.expected.y);
    }
}

struct WidgetHitCase {
    const char* name;
    kUIPoint point;
    bool bInside;
};

TEST_F(WidgetTest, RectangleEdgesCountAsInside) {
    const WidgetHitCase cases[] = {
        {"top left corner", {10, 20}, true},
        {"bottom right corner", {60, 50}, true},
        {"right of the right edge", {60.01f, 30}, false},
        {"below the bottom", {30, 50.01f}, false},
        {"left of the left edge", {9.99f, 30}, false},
        {"above the top", {30, 19.99f}, false},
    };
    auto root = Root({10, 20, 50, 30});
    for (const WidgetHitCase& c : cases) {
        SCOPED_TRACE(c.name);
        root->m_mouseState = 0;
        EXPECT_EQ(root->ProcessMouseEvent(c.point, 0, 0), c.bInside);
        EXPECT_EQ(root->m_mouseState, c.bInside ? KUI_MOUSE_OVER | KUI_MOUSE_HOT : 0u);
    }
}

TEST_F(WidgetTest, LaterOfTwoOverlappingChildrenTakesThePointerUnlessItsMaskLetsItThrough) {
    for (bool bMasks : {true, false}) {
        SCOPED_TRACE(bMasks);
        auto root = Root({0, 0, 100, 100});
        Probe* const earlier = root->Add("earlier", {10, 10, 50, 50});
        Probe* const later = root->Add("later", {30, 30, 50, 50});
        later->m_bMasks = bMasks;
        root->ProcessMouseEvent({40, 40}, 0, 0);
        EXPECT_EQ(later->m_mouseState, KUI_MOUSE_OVER | KUI_MOUSE_HOT);
        EXPECT_EQ(earlier->m_mouseState, bMasks ? 0u : KUI_MOUSE_OVER | KUI_MOUSE_HOT);
        EXPECT_EQ(root->m_mouseState, KUI_MOUSE_OVER) << "a child took it";
        EXPECT_FLOAT_EQ(later->m_mouseHotPos.x, 10);
        EXPECT_FLOAT_EQ(later->m_mouseHotPos.y, 10);
    }
}

// root - a - a1, a2; root - b - b1. Focus goes to `from`, then to `to`.
struct FocusCase {
    const char* name;
    const char* from;
    const char* to;
    Journal calls;                 // made by the second SetFocus
    std::vector<std::string> path; // the focus links from the root afterwards
};

class FocusTest : public WidgetTest, public testing::WithParamInterface<FocusCase> {};

TEST_P(FocusTest, OnlyTheEndsOfTheOldAndNewPathHearOfAMove) {
    const FocusCase& c = GetParam();
    auto root = Root({});
    Probe* const a = root->Add("a", {});
    Probe* const b = root->Add("b", {});
    Probe* const widgets[] = {root.get(),       a, a->Add("a1", {}),
                              a->Add("a2", {}), b, b->Add("b1", {})};
    auto find = [&widgets](const char* id) {
        for (Probe* widget : widgets) {
            if (widget->m_id == id) {
                return widget;
            }
        }
        return static_cast<Probe*>(nullptr);
    };
    find(c.from)->SetFocus();
    m_journal.clear();
    find(c.to)->SetFocus();
    EXPECT_EQ(m_journal, c.calls);
    std::vector<std::string> path;
    for (const kUIWidget* link = root->m_focusChild; link != nullptr; link = link->m_focusChild) {
        path.emplace_back(link->m_id.CStr());
    }
    EXPECT_EQ(path, c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, FocusTest,
    testing::Values(FocusCase{"ToAnotherBranch", "a1", "b1", {"a1.lose", "b1.gain"}, {"b", "b1"}},
                    FocusCase{"ToASibling", "a1", "a2", {"a1.lose", "a2.gain"}, {"a", "a2"}},
                    FocusCase{"ToAnAncestor", "a1", "a", {"a1.lose", "a.gain"}, {"a"}},
                    FocusCase{"ToTheRoot", "a1", "root", {"a1.lose", "root.gain"}, {}},
                    FocusCase{"ToADescendant", "a", "a1", {"a1.gain"}, {"a", "a1"}},
                    FocusCase{"AgainToTheSame", "a1", "a1", {}, {"a", "a1"}}),
    [](const testing::TestParamInfo<FocusCase>& info) { return std::string(info.param.name); });

TEST_F(WidgetTest, DestroyedFocusedWidgetLeavesNoLinkBehind) {
    auto root = Root({});
    Probe* const a = root->Add("a", {});
    Probe* const a1 = a->Add("a1", {});
    Probe* const a2 = a->Add("a2", {});
    a1->SetFocus();
    delete a1;
    EXPECT_EQ(a->m_focusChild, nullptr);
    m_journal.clear();
    a2->SetFocus();
    EXPECT_EQ(m_journal, Journal{"a2.gain"});
}

TEST_F(WidgetTest, DestroyedWidgetOrSubtreeHoldingTheCaptureReleasesIt) {
    auto root = Root({});
    Probe* const holder = root->Add("holder", {});
    holder->CaptureMouse();
    delete holder;
    EXPECT_EQ(root->CaptureMouse(), nullptr);
    root->ReleaseMouse();

    Probe* const branch = root->Add("branch", {});
    branch->Add("leaf", {})->CaptureMouse();
    delete branch;
    EXPECT_EQ(root->CaptureMouse(), nullptr);
    root->ReleaseMouse();
}

TEST(WidgetRecordTest, WidgetsAreMadeByClassAndOwnTheirChildren) {
    kClass* const record = kUIWidget::StaticClass();
    EXPECT_EQ(record->m_superClass, kGameLeaf::StaticClass());
    auto create = [record] {
        void* memory = kObject::Allocate(record, nullptr, nullptr);
        record->m_classConstructor(memory);
        return static_cast<kUIWidget*>(memory);
    };
    kUIWidget* const parent = create();
    EXPECT_TRUE(parent->IsVisible());
    EXPECT_EQ(parent->m_widgetFlags, 0u);
    EXPECT_EQ(parent->m_id.Size(), 0);
    EXPECT_EQ(parent->Class(), record);
    kUIWidget* const child = create();
    parent->AddChild(child);
    child->AddChild(create());
    delete parent; // the sanitizer build checks that the subtree goes with it
}

} // namespace
