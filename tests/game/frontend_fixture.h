// The front end's suites: the real world over a fresh flash memory, with the front end as
// sub-game 0 and a probe in place of every mode that notes what the pause and help screens
// call; frames run the way the game runs them (platform step, input, world tick), driven
// by scripted pointer and A button input aimed at menu entries.
#pragma once

#include "game_ui_fixture.h"
#include "temporary_host_directory.h"

#include <frontend/mnfrontend.h>
#include <frontend/mnprofileui.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <shell/mngame.h>
#include <shell/mngameworld.h>
#include <tui/mnmenuscreen.h>

#include <ui/kui.h>

#include <string>
#include <vector>

namespace frontend_test {

using Journal = std::vector<std::string>;
inline Journal* g_journal = nullptr;

// A mode that notes its lifecycle and the pause screen's calls as "<index>.<call>", and
// whether the pause screen was still on its layer when it was called ("<call> under pause").
class ModeProbe : public Kelvo_lib::MNSubGame {
public:
    ModeProbe(Kelvo_lib::MNGameWorld* world, int index)
        : MNSubGame(world), m_name(std::to_string(index)) {}
    void Init() override {}
    void Deinit() override {}
    void Activate() override { Note("activate"); }
    void Deactivate() override { Note("deactivate"); }
    void Tick(float) override {}
    Kelvo_lib::kUI* GetScreen() override { return nullptr; }
    void QuitPuzzle() override { Note("quit"); }
    void AbandonPuzzle() override { Note("abandon"); }
    void ResetPuzzle() override { Note("reset"); }
    void ResumePuzzle() override { Note("resume"); }
    void UnPause() override { Note("unpause"); }
    void AbandonMode() override { Note("abandonmode"); }

    static Kelvo_lib::MNSubGame* Create(Kelvo_lib::MNGameWorld* world, int index) {
        if (index == Kelvo_lib::SUBGAME_FRONTEND) {
            return new Kelvo_lib::MNFrontEnd(world);
        }
        return new ModeProbe(world, index);
    }

private:
    void Note(const char* call) {
        std::string entry = m_name + "." + call;
        Kelvo_lib::kUIManager* const manager = m_world->GetUIManager();
        for (int i = 0; i < manager->GetNumLayers(); ++i) {
            const Kelvo_lib::kUILayer* layer = manager->GetLayer(i);
            for (int j = 0; j < layer->GetNumUIs(); ++j) {
                if (std::string(layer->GetUI(j)->GetId()) == "pause_menu") {
                    entry += " under pause";
                }
            }
        }
        if (g_journal != nullptr) {
            g_journal->push_back(entry);
        }
    }

    std::string m_name;
};

class FrontEndTest : public GameUITest {
protected:
    static constexpr float kFrame = 1.0f / 60.0f;

    void SetUp() override {
        GameUITest::SetUp();
        g_journal = &m_journal;
        Kelvo_lib::MNGameWorld::SetSubGameFactory(&ModeProbe::Create);
        m_game = new Kelvo_lib::MNGame;
        World().Init();
        World().BeginPlay();
    }

    void TearDown() override {
        delete m_game;
        Kelvo_lib::MNGameWorld::SetSubGameFactory(nullptr);
        g_journal = nullptr;
        GameUITest::TearDown();
    }

    Kelvo_lib::MNGameWorld& World() { return *m_game->GetGameWorld(); }
    Kelvo_lib::kUIManager& Manager() { return *World().GetUIManager(); }
    template <class T = Kelvo_lib::MNMenuScreen>
    T* Screen(const char* id) {
        return static_cast<T*>(Manager().FindUI(id));
    }
    Kelvo_lib::kUILayer* TopLayer() { return Manager().GetLayer(Manager().GetNumLayers() - 1); }
    std::string TopId() {
        const Kelvo_lib::kUI* top = Manager().GetNumLayers() > 0 ? TopLayer()->GetTopUI() : nullptr;
        return top != nullptr ? top->GetId() : "";
    }

    // Runs one frame per script line (empty: no new input).
    void Run(const std::vector<std::string>& frames) { RunWorld(World(), frames, kFrame); }
    void Frames(int count) { Run(std::vector<std::string>(count)); }

    // The script event at an entry of the top screen's menu: its middle, or dx pixels from
    // its left edge (from its right edge when dx is negative).
    std::string Entry(int id, float dx = 0.0f) {
        Kelvo_lib::kUIRect rect;
        Kelvo_lib::MNMenuScreen* const screen =
            static_cast<Kelvo_lib::MNMenuScreen*>(TopLayer()->GetTopUI());
        EXPECT_TRUE(screen->GetMenuWidget()->GetEntryRect(id, rect)) << TopId() << " " << id;
        const float x =
            dx == 0.0f ? rect.x + rect.w * 0.5f : (dx > 0 ? rect.x + dx : rect.x + rect.w + dx);
        return PointAt(static_cast<int>(x), static_cast<int>(rect.y + rect.h * 0.5f));
    }
    bool Shows(int id) {
        Kelvo_lib::kUIRect rect;
        return static_cast<Kelvo_lib::MNMenuScreen*>(TopLayer()->GetTopUI())
            ->GetMenuWidget()
            ->GetEntryRect(id, rect);
    }
    // A press and release of A at a place.
    void ClickAt(const std::string& place) { Run(ClickScript(place)); }
    void Click(int id, float dx = 0.0f) { ClickAt(Entry(id, dx)); }
    void Back() { ClickAt(PointAt(30, static_cast<int>(Kelvo_lib::TUIArt::DisplayHeight()) - 30)); }
    void HelpButton() {
        ClickAt(PointAt(static_cast<int>(Kelvo_lib::TUIArt::DisplayWidth()) - 30,
                        static_cast<int>(Kelvo_lib::TUIArt::DisplayHeight()) - 30));
    }

    // The script place at the middle of a component of the profile screen.
    std::string ProfilePlace(const Kelvo_lib::TUIComponent* component) {
        const Kelvo_lib::kUIRect rect = ProfileMenu()->GetBounds(component);
        return PointAt(static_cast<int>(rect.x + rect.w * 0.5f),
                       static_cast<int>(rect.y + rect.h * 0.5f));
    }
    Kelvo_lib::MNProfileMenu* ProfileMenu() {
        return Screen<Kelvo_lib::MNProfileUI>("profile_menu")->GetMenu();
    }
    // Makes slot 0 a used profile and chooses it with a press of its highlighted button, as
    // a returning player does; the main menu follows.
    void ChooseFirstProfile() {
        Kelvo_lib::MNSaveProfileData* record =
            Kelvo_lib::MNProfileManager::GetProfile(0)->GetSaveData();
        record->bUsed = 1;
        ProfileMenu()->ReloadProfiles();
        ClickAt(ProfilePlace(ProfileMenu()->GetProfileButton(0)));
        Frames(1);
    }

    test_support::TemporaryNand m_nand;
    Kelvo_lib::MNGame* m_game = nullptr;
    Journal m_journal;
};

} // namespace frontend_test
