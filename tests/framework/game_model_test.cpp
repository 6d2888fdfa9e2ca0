// The game model: clients joining and leaving a game with their views, the order in which
// a frame's tick reaches the clients and the world, and the game's destruction. Small
// stand-ins play the game's world and clients.
#include <game/kgame.h>
#include <game/kgameclient.h>
#include <game/kgameclientview.h>
#include <game/kgameworld.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;

using Journal = std::vector<std::string>;

class StandInClient : public kGameClient {
public:
    StandInClient(Journal* journal, std::string name) : m_journal(journal), m_name(name) {}

    void ClientInit() override {
        // The view exists, and names this client, by the time the client is started.
        const bool bViewReady = GetClientView() != nullptr && GetClientView()->GetClient() == this;
        Note(bViewReady ? "init" : "init without view");
    }
    void ClientDeinit() override { Note(GetClientView() != nullptr ? "deinit" : "deinit late"); }
    void Tick(float) override { Note("tick"); }
    void Render() override {}
    void RenderLeafs(kGameRenderContext*, kGameLeaf**, int) override {}

private:
    void Note(const char* what) { m_journal->push_back(m_name + "." + what); }

    Journal* m_journal;
    std::string m_name;
};

class StandInWorld : public kGameWorld {
public:
    explicit StandInWorld(Journal* journal) : m_journal(journal) {}

    void Init() override {}
    void Deinit() override {}
    void BeginPlay() override {}
    void EndPlay() override {}
    void Tick(float) override { m_journal->push_back("world.tick"); }
    void RenderClientView(kGameClientView*, unsigned int, krCamera*) override {}

private:
    Journal* m_journal = nullptr;
};

class StandInGame : public kGame {
public:
    explicit StandInGame(kGameWorld* world) : m_world(world) {}
    kGameWorld* GetWorld() override { return m_world; }

private:
    kGameWorld* m_world;
};

class GameModelTest : public testing::Test {
protected:
    Journal m_journal;
    StandInWorld m_world{&m_journal};
    StandInClient m_a{&m_journal, "a"};
    StandInClient m_b{&m_journal, "b"};
};

// A game's life: clients added in the given order, one frame, then the game destroyed.
struct LifeCase {
    const char* name;
    bool bWorld;
    std::string adds; // client names, in order of AddClient calls
    Journal expected;
};

class GameLifeTest : public GameModelTest, public testing::WithParamInterface<LifeCase> {};

TEST_P(GameLifeTest, StartsTicksAndStopsClientsInOrderOfAddition) {
    const LifeCase& c = GetParam();
    {
        StandInGame game(c.bWorld ? &m_world : nullptr);
        for (char name : c.adds) {
            StandInClient* const client = name == 'a' ? &m_a : &m_b;
            kGameClientView* const viewBefore = client->GetClientView();
            game.AddClient(client);
            EXPECT_EQ(client->GetGame(), &game);
            ASSERT_NE(client->GetClientView(), nullptr);
            if (viewBefore != nullptr) {
                EXPECT_EQ(client->GetClientView(), viewBefore) << "adding again keeps the view";
            }
        }
        game.Tick(0.016f);
    }
    EXPECT_EQ(m_journal, c.expected);
    for (const StandInClient* client : {&m_a, &m_b}) {
        EXPECT_EQ(client->GetGame(), nullptr);
        EXPECT_EQ(client->GetClientView(), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clients, GameLifeTest,
    testing::Values(
        LifeCase{"OneClient", true, "a", {"a.init", "a.tick", "world.tick", "a.deinit"}},
        LifeCase{"ClientAddedTwice", true, "aa", {"a.init", "a.tick", "world.tick", "a.deinit"}},
        LifeCase{"TwoClients",
                 true,
                 "ab",
                 {"a.init", "b.init", "a.tick", "b.tick", "world.tick", "a.deinit", "b.deinit"}},
        LifeCase{"TwoClientsTheOtherWayRound",
                 true,
                 "ba",
                 {"b.init", "a.init", "b.tick", "a.tick", "world.tick", "b.deinit", "a.deinit"}},
        LifeCase{"NoWorld",
                 false,
                 "ab",
                 {"a.init", "b.init", "a.tick", "b.tick", "a.deinit", "b.deinit"}},
        LifeCase{"NoClients", true, "", {"world.tick"}}),
    [](const testing::TestParamInfo<LifeCase>& info) { return std::string(info.param.name); });

TEST_F(GameModelTest, RemovingAClientStopsAndDetachesItAndOnlyIt) {
    StandInGame game(&m_world);
    game.AddClient(&m_a);
    game.RemoveClient(&m_b); // never added
    game.RemoveClient(nullptr);
    game.RemoveClient(&m_a);
    game.Tick(0.016f);

    EXPECT_EQ(m_a.GetGame(), nullptr);
    EXPECT_EQ(m_a.GetClientView(), nullptr);
    EXPECT_EQ(m_journal, (Journal{"a.init", "a.deinit", "world.tick"}));
}

TEST_F(GameModelTest, ClientDestroyedWhileAttachedLeavesItsGame) {
    StandInGame game(&m_world);
    auto doomed = std::make_unique<StandInClient>(&m_journal, "doomed");
    game.AddClient(doomed.get());
    game.AddClient(&m_a);
    doomed.reset();
    m_journal.clear();
    game.Tick(0.016f);
    EXPECT_EQ(m_journal, (Journal{"a.tick", "world.tick"}));
}

TEST_F(GameModelTest, ClientOfAnotherGameOrNoClientIsRefused) {
    StandInGame first(&m_world);
    StandInGame second(nullptr);
    first.AddClient(&m_a);
    second.AddClient(&m_a);
    second.AddClient(nullptr);
    m_journal.clear();
    second.Tick(0.016f);
    EXPECT_TRUE(m_journal.empty());
    EXPECT_EQ(m_a.GetGame(), &first);
}

} // namespace
