// The game world: its sub-games' lives, the tick walk (sub-game, input to the top screen of
// the top layer, its tick, its widget trees depth-first) and the render walk (layers bottom
// up, top screens only, hidden subtrees skipped, the head-to-head background's rule).
#include "shell_test_support.h"

#include <services/mnprofilemanager.h>
#include <shell/mngame.h>
#include <shell/mngameworld.h>

#include <game/kgameclient.h>
#include <ui/kui.h>
#include <ui/kuiwidget.h>

#include <kelvo/platform/kplatform.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;
using Journal = std::vector<std::string>;

Journal* g_journal = nullptr;

void Note(const std::string& entry) {
    g_journal->push_back(entry);
}

// A widget that notes its ticks, draws and pointer arrivals as "<id>.<event>".
class NoteWidget : public kUIWidget {
public:
    explicit NoteWidget(const char* id, unsigned int flags = 0) {
        m_id = id;
        m_widgetFlags = flags;
        m_size = {KUI_POSITION_PIXELS, 640.0f, 448.0f};
    }
    NoteWidget* Add(const char* id, unsigned int flags = 0) {
        NoteWidget* const child = new NoteWidget(id, flags);
        AddChild(child);
        return child;
    }
    void Tick(float) override { Note(std::string(m_id.CStr()) + ".tick"); }
    void Render() override { Note(std::string(m_id.CStr()) + ".draw"); }
    void OnMouseOverHot() override { Note(std::string(m_id.CStr()) + ".hot"); }
};

class NoteScreen : public kUI {
public:
    explicit NoteScreen(const char* id) : m_root(new NoteWidget(id)), m_name(id) {}
    ~NoteScreen() override {
        delete m_root;
        delete m_sub;
    }
    void Init() override {}
    void Deinit() override {}
    void Activate(kUILayer*) override {}
    void Deactivate(kUILayer*) override {}
    kUIWidget* GetScreen() override { return m_root; }
    kUIWidget* GetSubScreen() override { return m_sub; }
    void Tick(float) override { Note(m_name + ".screen"); }

    NoteWidget* m_root;
    NoteWidget* m_sub = nullptr;
    std::string m_name;
};

class NoteSubGame : public MNSubGame {
public:
    NoteSubGame(MNGameWorld* world, int index) : MNSubGame(world), m_name(std::to_string(index)) {}
    ~NoteSubGame() override { Note(m_name + ".destroy"); }
    void Init() override { Note(m_name + ".init"); }
    void Deinit() override { Note(m_name + ".deinit"); }
    void Activate() override { Note(m_name + ".activate"); }
    void Deactivate() override { Note(m_name + ".deactivate"); }
    void Tick(float) override { Note(m_name + ".subgame"); }
    kUI* GetScreen() override { return nullptr; }

    static MNSubGame* Create(MNGameWorld* world, int index) {
        return new NoteSubGame(world, index);
    }

private:
    std::string m_name;
};

class NoteClient : public kGameClient {
public:
    void ClientInit() override {}
    void ClientDeinit() override {}
    void Tick(float) override {}
    void Render() override {}
    void RenderLeafs(kGameRenderContext*, kGameLeaf**, int) override { Note("leafs"); }
};

class GameWorldTest : public shell_test::ShellTest {
protected:
    void SetUp() override {
        g_journal = &m_journal;
        ShellTest::SetUp();
        MNGameWorld::SetSubGameFactory(&NoteSubGame::Create);
        m_game.AddClient(&m_client);
        World().Init();
        m_journal.clear();
    }

    void TearDown() override {
        m_game.RemoveClient(&m_client);
        for (NoteScreen* screen : m_screens) {
            delete screen;
        }
        World().Deinit();
        MNGameWorld::SetSubGameFactory(nullptr);
        ShellTest::TearDown();
        g_journal = nullptr;
    }

    MNGameWorld& World() { return *m_game.GetGameWorld(); }
    kUIManager& Manager() { return *World().GetUIManager(); }

    // A new screen pushed on a new top layer.
    NoteScreen* PushScreen(const char* id) {
        NoteScreen* const screen = new NoteScreen(id);
        m_screens.push_back(screen);
        Manager().AddUI(id, screen);
        Manager().PushLayer(id)->PushUI(screen);
        return screen;
    }

    void Render() { World().RenderClientView(m_client.GetClientView(), 0, nullptr); }

    MNGame m_game;
    NoteClient m_client;
    Journal m_journal;
    std::vector<NoteScreen*> m_screens;
};

TEST_F(GameWorldTest, MadeByClassItsSubGamesLiveFromInitToDeinitAndSwitchOneAtATime) {
    EXPECT_EQ(World().Class()->m_superClass, kGameWorld::StaticClass());
    EXPECT_EQ(World().GetProfile(), nullptr); // no profile index yet
    World().SetActiveProfile(2);
    EXPECT_EQ(World().GetProfile(), MNProfileManager::GetProfile(2));
    World().Deinit();
    m_journal.clear();
    World().Init();
    EXPECT_EQ(m_journal, (Journal{"0.init", "1.init", "2.init", "3.init", "4.init", "5.init"}));
    EXPECT_EQ(World().GetCurrentSubGame(), nullptr);

    m_journal.clear();
    World().BeginPlay();
    World().SetCurrentSubGame(SUBGAME_FRONTEND); // already current: nothing
    World().SetCurrentSubGame(SUBGAME_SIMPLYPUZZLE);
    World().SetCurrentSubGame(SUBGAME_COUNT); // no such sub-game: nothing
    World().SetCurrentSubGame(-2);
    EXPECT_EQ(m_journal, (Journal{"0.activate", "0.deactivate", "3.activate"}));
    EXPECT_EQ(World().GetCurrentSubGame(), World().GetSubGame(SUBGAME_SIMPLYPUZZLE));

    m_journal.clear();
    World().Deinit();
    EXPECT_EQ(m_journal, (Journal{"3.deactivate", "0.deinit", "1.deinit", "2.deinit", "3.deinit",
                                  "4.deinit", "5.deinit", "0.destroy", "1.destroy", "2.destroy",
                                  "3.destroy", "4.destroy", "5.destroy"}));
    EXPECT_EQ(World().GetCurrentSubGame(), nullptr);
    EXPECT_EQ(World().GetUIManager(), nullptr);
}

TEST_F(GameWorldTest, TickWalksTheSubGameThenTheTopScreenAndBothTreesDepthFirst) {
    World().BeginPlay();
    PushScreen("below");
    NoteScreen* const top = PushScreen("top");
    NoteWidget* const a = top->m_root->Add("a", KUI_WIDGET_HIDDEN); // hidden still ticks
    a->Add("a1");
    top->m_root->Add("b");
    top->m_sub = new NoteWidget("sub");
    top->m_sub->Add("sub1");
    m_journal.clear();

    World().Tick(0.02f);
    // The pointer (in the middle of the display, where "b" lies last) reaches the top
    // screen before it ticks.
    EXPECT_EQ(m_journal, (Journal{"0.subgame", "b.hot", "top.screen", "top.tick", "a.tick",
                                  "a1.tick", "b.tick", "sub.tick", "sub1.tick"}));
}

TEST_F(GameWorldTest, InputReachesOnlyTheTopScreenOfTheTopLayer) {
    PushScreen("below");
    PushScreen("top");
    HostInputSetPointer(0, 0.5f, 0.5f);
    ASSERT_EQ(kPlatform_Process(), 1);
    m_input.Update();
    m_journal.clear();

    World().Tick(0.02f);
    ASSERT_FALSE(m_journal.empty());
    EXPECT_EQ(m_journal.front(), "top.hot");
    EXPECT_EQ(std::count(m_journal.begin(), m_journal.end(), "below.hot"), 0);
}

TEST_F(GameWorldTest, RenderDrawsTopScreensFromTheBottomLayerUpSkippingHiddenSubtrees) {
    NoteScreen* const covered = PushScreen("covered");
    Manager().GetLayer(0)->PushUI(PushScreen("bottom")); // covers "covered" on layer 0
    Manager().PopLayer();                                // the layer PushScreen made
    NoteScreen* const top = PushScreen("top");
    NoteWidget* const hidden = top->m_root->Add("hidden", KUI_WIDGET_HIDDEN);
    hidden->Add("inside");
    top->m_root->Add("after");
    top->m_sub = new NoteWidget("sub");
    m_journal.clear();

    Render();
    EXPECT_EQ(m_journal, (Journal{"bottom.draw", "top.draw", "after.draw", "sub.draw", "leafs"}));
    EXPECT_EQ(Manager().GetLayer(0)->GetUI(0), covered);
}

TEST_F(GameWorldTest, HeadToHeadBackgroundOnTheThirdLayerHidesTheTwoBelow) {
    struct Case {
        std::vector<const char*> layers; // one screen per layer, bottom first
        Journal drawn;
    };
    const Case cases[] = {
        {{"one", "two", "head_to_head_bg", "four"}, {"head_to_head_bg.draw", "four.draw", "leafs"}},
        {{"one", "two", "HEAD_TO_HEAD_BG"}, {"HEAD_TO_HEAD_BG.draw", "leafs"}},
        {{"one", "head_to_head_bg", "three"},
         {"one.draw", "head_to_head_bg.draw", "three.draw", "leafs"}},
        {{"one", "two", "three", "head_to_head_bg"},
         {"one.draw", "two.draw", "three.draw", "head_to_head_bg.draw", "leafs"}},
    };
    for (const Case& c : cases) {
        for (const char* id : c.layers) {
            PushScreen(id);
        }
        m_journal.clear();
        Render();
        EXPECT_EQ(m_journal, c.drawn) << c.layers[2];
        while (Manager().GetNumLayers() > 0) {
            Manager().PopLayer();
        }
    }
}

TEST_F(GameWorldTest, RenderWithoutAViewDrawsTheScreensAndLogsInsteadOfCrashing) {
    PushScreen("only");
    m_journal.clear();
    World().RenderClientView(nullptr, 0, nullptr);
    EXPECT_EQ(m_journal, (Journal{"only.draw"}));
}

} // namespace
