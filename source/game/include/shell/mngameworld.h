// MNGameWorld: the game's world. It owns the UI manager and the six sub-games (made by Init,
// destroyed by Deinit) and each frame ticks the current sub-game and the top screen of the
// top layer, and draws the top screen of every layer from the bottom up. Created by class
// (its record has a factory) and owned by MNGame. Main thread only; a bad sub-game index
// or a missing view is logged and changes nothing.
#pragma once

#include <services/mnsubgame.h>
#include <services/mnsubgameworld.h>

#include <game/kgameworld.h>

namespace Kelvo_lib {

class kUI;
class kUIManager;
class kUIWidget;
class MNProfile;

class MNGameWorld
    : public kRTTI<MNGameWorld, kGameWorld, kCLSID<0x8B0732FE, 0x4CA4, 0x494F, 0x89951A4119D0CD35>>,
      public MNSubGameWorld {
public:
    // The screen id whose layer hides the two layers below it.
    static constexpr const char* K_HEAD_TO_HEAD_BG = "head_to_head_bg";
    static constexpr int K_HEAD_TO_HEAD_LAYER = 2;

    MNGameWorld() = default;
    ~MNGameWorld() override;

    // Profiles and save data, the language, the UI manager and the six sub-games; once.
    void Init() override;
    // The sub-games (after leaving the current one), the UI manager and the profiles.
    void Deinit() override;
    // Play begins with the front end.
    void BeginPlay() override;
    // The current sub-game is deactivated; none is current afterwards.
    void EndPlay() override;
    void Tick(float delta) override;
    void RenderClientView(kGameClientView* view, unsigned int flags, krCamera* camera) override;

    kUIManager* GetUIManager() const override { return m_uiManager; }
    // The profile of the world's profile index (0 to 3), null for any other index.
    MNProfile* GetProfile() const override;
    void SetActiveProfile(int index) override { m_profileIndex = index; }
    int GetActiveProfileIndex() const { return m_profileIndex; }
    MNSubGame* GetCurrentSubGame() const override;
    int GetCurrentSubGameIndex() const { return m_currentSubGame; }
    MNSubGame* GetSubGame(int index) const;
    // Deactivates the current sub-game and activates sub-game index; nothing when index
    // is already current.
    void SetCurrentSubGame(int index) override;

    // Builds the sub-game for index: the front end or one of the five modes. Tests replace
    // it to watch the walks; null restores it.
    using SubGameFactory = MNSubGame* (*)(MNGameWorld* world, int index);
    static void SetSubGameFactory(SubGameFactory factory);

private:
    // The profile manager: the save block's load and, once loaded, its language.
    static void InitProfiles();
    static void DeinitProfiles();
    // The top screen of the top layer, null when there is none.
    kUI* TopScreen() const;
    static void TickTree(kUIWidget* root, float delta);
    static void RenderTree(kUIWidget* root);
    void RenderScreen(kUI* screen);
    // Whether the top screen of the third layer is the head-to-head background.
    bool HidesLowerLayers() const;

    kUIManager* m_uiManager = nullptr;
    MNSubGame* m_subGames[SUBGAME_COUNT] = {};
    int m_currentSubGame = SUBGAME_NONE;
    int m_profileIndex = -1;
    bool m_bInit = false;
};

} // namespace Kelvo_lib
