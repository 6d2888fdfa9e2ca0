// Screens on layers: the order of activation as screens are pushed, removed and popped
// with their layer, the registry of screens by name, and screens or managers destroyed
// while still in use (run under the address sanitizer, this also shows that nothing
// keeps a freed screen or layer).
#include "log_capture.h"
#include "ui_test_support.h"

#include <ui/kui.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using namespace Kelvo_lib;
using test_support::LogCapture;
using ui_test::Journal;

// Notes each call as "<name>.<call>", with the layer's name for activation.
class StandInScreen : public kUI {
public:
    StandInScreen(Journal* journal, std::string name) : m_journal(journal), m_name(name) {}

    void Init() override { Note("init"); }
    void Deinit() override { Note("deinit"); }
    void Activate(kUILayer* layer) override { Note(std::string("on@") + layer->GetId()); }
    void Deactivate(kUILayer* layer) override { Note(std::string("off@") + layer->GetId()); }
    kUIWidget* GetScreen() override { return nullptr; }
    void Tick(float) override {}

private:
    void Note(const std::string& what) { m_journal->push_back(m_name + "." + what); }

    Journal* m_journal;
    std::string m_name;
};

class UIManagerTest : public testing::Test {
protected:
    std::unique_ptr<StandInScreen> Screen(const char* name) {
        return std::make_unique<StandInScreen>(&m_journal, name);
    }

    // The screens of a layer, bottom first.
    static std::vector<kUI*> Stack(const kUILayer* layer) {
        std::vector<kUI*> screens;
        for (int i = 0; i < layer->GetNumUIs(); ++i) {
            screens.push_back(layer->GetUI(i));
        }
        return screens;
    }

    Journal m_journal;
    kUIManager m_manager;
};

// A layer's stack operations, each step with the calls it makes.
enum class Op { Push, Remove };
struct Step {
    Op op;
    char screen;
    Journal calls;
};
struct StackCase {
    const char* name;
    std::vector<Step> steps;
};

class LayerStackTest : public UIManagerTest, public testing::WithParamInterface<StackCase> {};

TEST_P(LayerStackTest, ActivatesTheTopScreenOnly) {
    std::unique_ptr<StandInScreen> screens[] = {Screen("a"), Screen("b"), Screen("c")};
    kUILayer* const layer = m_manager.PushLayer("L");
    int step = 0;
    for (const Step& s : GetParam().steps) {
        SCOPED_TRACE(testing::Message() << "step " << step++);
        m_journal.clear();
        kUI* const screen = screens[s.screen - 'a'].get();
        if (s.op == Op::Push) {
            EXPECT_EQ(layer->PushUI(screen), screen);
        } else {
            layer->RemoveUI(screen);
        }
        EXPECT_EQ(m_journal, s.calls);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, LayerStackTest,
    testing::Values(StackCase{"PushTwoThenRemoveTheTop",
                              {{Op::Push, 'a', {"a.on@L"}},
                               {Op::Push, 'b', {"a.off@L", "b.on@L"}},
                               {Op::Remove, 'b', {"b.off@L", "a.on@L"}}}},
                    StackCase{"RemoveTheLowerScreenSilently",
                              {{Op::Push, 'a', {"a.on@L"}},
                               {Op::Push, 'b', {"a.off@L", "b.on@L"}},
                               {Op::Remove, 'a', {}},
                               {Op::Remove, 'b', {"b.off@L"}}}},
                    StackCase{"RemoveAScreenNotOnTheLayer",
                              {{Op::Push, 'a', {"a.on@L"}}, {Op::Remove, 'c', {}}}},
                    StackCase{"PushTheSameScreenTwice",
                              {{Op::Push, 'a', {"a.on@L"}},
                               {Op::Push, 'a', {"a.off@L", "a.on@L"}},
                               {Op::Remove, 'a', {"a.off@L", "a.on@L"}},
                               {Op::Remove, 'a', {"a.off@L"}}}}),
    [](const testing::TestParamInfo<StackCase>& info) { return std::string(info.param.name); });

TEST_F(UIManagerTest, PoppingALayerPopsItsScreensTopFirstAndLeavesTheLayerBelowAlone) {
    auto a = Screen("a");
    auto b = Screen("b");
    auto c = Screen("c");
    auto below = Screen("below");
    m_manager.PushLayer("bottom")->PushUI(below.get());
    kUILayer* const top = m_manager.PushLayer("top");
    top->PushUI(a.get());
    top->PushUI(b.get());
    top->PushUI(c.get());
    m_journal.clear();
    LogCapture log;

    m_manager.PopLayer();

    EXPECT_EQ(m_journal, (Journal{"c.off@top", "b.on@top", "b.off@top", "a.on@top", "a.off@top"}));
    EXPECT_EQ(log.Count("Removing layer top"), 1);
    ASSERT_EQ(m_manager.GetNumLayers(), 1);
    EXPECT_EQ(m_manager.GetLayer(0)->GetTopUI(), below.get());
    // No screen still lists the popped layer: destroying them touches no layer.
    a.reset();
    b.reset();
    c.reset();
    EXPECT_EQ(m_journal.size(), 5u);
    EXPECT_EQ(log.CountContaining("not removed from layer"), 0);
}

TEST_F(UIManagerTest, ScreenDestroyedOnTopActivatesTheOneBelowWithoutCallingItself) {
    auto a = Screen("a");
    auto b = Screen("b");
    kUILayer* const layer = m_manager.PushLayer("L");
    layer->PushUI(a.get());
    layer->PushUI(b.get());
    m_manager.AddUI("b", b.get());
    m_journal.clear();
    LogCapture log;

    b.reset();

    EXPECT_EQ(m_journal, (Journal{"a.on@L"}));
    EXPECT_EQ(Stack(layer), std::vector<kUI*>{a.get()});
    EXPECT_EQ(m_manager.FindUI("b"), nullptr);
    EXPECT_EQ(log.Count("UI b being deleted and not removed from layer L, removing now"), 1);
    EXPECT_EQ(log.Count("UI b being deleted and not removed from UI manager, removing now"), 1);
}

TEST_F(UIManagerTest, ScreenDestroyedOnTwoLayersLeavesBoth) {
    auto a = Screen("a");
    auto b = Screen("b");
    kUILayer* const first = m_manager.PushLayer("first");
    kUILayer* const second = m_manager.PushLayer("second");
    first->PushUI(b.get());
    second->PushUI(a.get());
    second->PushUI(b.get());
    m_manager.AddUI("b", b.get());
    LogCapture log;

    b.reset();

    EXPECT_EQ(m_manager.FindUI("b"), nullptr);
    EXPECT_TRUE(Stack(first).empty());
    EXPECT_EQ(Stack(second), std::vector<kUI*>{a.get()});
    EXPECT_EQ(log.Count("UI b being deleted and not removed from layer first, removing now"), 1);
    EXPECT_EQ(log.Count("UI b being deleted and not removed from layer second, removing now"), 1);
}

TEST_F(UIManagerTest, ScreenPushedTwiceAndRemovedOnceLeavesTheLayerWhenDestroyed) {
    auto a = Screen("a");
    auto b = Screen("b");
    kUILayer* const layer = m_manager.PushLayer("L");
    layer->PushUI(a.get());
    layer->PushUI(b.get());
    layer->PushUI(b.get());
    layer->RemoveUI(b.get());
    m_journal.clear();

    b.reset();

    EXPECT_EQ(Stack(layer), std::vector<kUI*>{a.get()});
    EXPECT_EQ(m_journal, (Journal{"a.on@L"}));
}

TEST_F(UIManagerTest, RegistryFindsNamesIgnoringCaseAndKeepsDuplicatesInOrder) {
    auto first = Screen("first");
    auto second = Screen("second");
    m_manager.AddUI("main_menu", first.get());
    m_manager.AddUI("Main_Menu", second.get());

    EXPECT_EQ(m_journal, (Journal{"first.init", "second.init"}));
    EXPECT_STREQ(second->GetId(), "Main_Menu");
    EXPECT_EQ(second->GetUIManager(), &m_manager);
    EXPECT_EQ(m_manager.FindUI("MAIN_MENU"), first.get());

    m_manager.RemoveUI("main_MENU");
    EXPECT_EQ(first->GetUIManager(), nullptr);
    EXPECT_STREQ(first->GetId(), "main_menu") << "an unregistered screen keeps its name";
    EXPECT_EQ(m_manager.FindUI("main_menu"), second.get());
}

TEST_F(UIManagerTest, DestroyingOneOfTwoScreensOfOneNameUnregistersThatOne) {
    auto first = Screen("first");
    auto second = Screen("second");
    m_manager.AddUI("menu", first.get());
    m_manager.AddUI("menu", second.get());

    second.reset();

    EXPECT_EQ(m_manager.FindUI("menu"), first.get());
    EXPECT_EQ(first->GetUIManager(), &m_manager);
    m_manager.RemoveUI("menu");
    EXPECT_EQ(m_manager.FindUI("menu"), nullptr) << "no entry of the destroyed screen is left";
}

TEST_F(UIManagerTest, BadNamesScreensAndIndicesAreLoggedAndChangeNothing) {
    auto a = Screen("a");
    auto b = Screen("b");
    LogCapture log;
    m_manager.PopLayer();
    kUILayer* const layer = m_manager.PushLayer(nullptr);
    layer->PushUI(a.get());
    m_manager.AddUI("a", a.get());
    m_manager.AddUI("b", b.get());
    m_manager.AddUI("again", a.get());
    m_journal.clear();

    layer->RemoveUI(b.get());
    layer->RemoveUI(nullptr);
    m_manager.RemoveUI("missing");
    m_manager.AddUI("nothing", nullptr);

    EXPECT_TRUE(m_journal.empty());
    EXPECT_STREQ(layer->GetId(), "");
    EXPECT_EQ(layer->GetUI(1), nullptr);
    EXPECT_EQ(layer->GetUI(-1), nullptr);
    EXPECT_EQ(m_manager.GetLayer(1), nullptr);
    EXPECT_EQ(m_manager.FindUI("again"), nullptr);
    EXPECT_EQ(m_manager.FindUI(nullptr), nullptr);
    EXPECT_EQ(Stack(layer), std::vector<kUI*>{a.get()});
    EXPECT_EQ(log.Count("RemoveUI: b not in stack"), 1);
    EXPECT_EQ(log.Count("ERROR: Couldn't find UI missing"), 1);
    EXPECT_EQ(log.Count("Removing ui 'missing' : 2"), 1);
}

TEST_F(UIManagerTest, ScreensOutlivingTheirManagerLeaveNothingBehind) {
    auto a = Screen("a");
    {
        kUIManager manager;
        manager.PushLayer("L")->PushUI(a.get());
        manager.AddUI("a", a.get());
        m_journal.clear();
    }
    EXPECT_TRUE(m_journal.empty());
    EXPECT_EQ(a->GetUIManager(), nullptr);
    LogCapture log;
    a.reset();
    EXPECT_TRUE(log.lines.empty());
}

} // namespace
