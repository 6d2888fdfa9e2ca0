// MNFrontEnd: sub-game 0 of the world, the part of the game between puzzles. Init creates
// and registers the front-end screens and the pause and hint screens that every mode
// shares (the world's UI manager keeps them); Activate shows the menu background and the
// first menu, the main menu's choices switch the world to a mode. It owns its seven
// screens and frees them with itself (they stay registered until then). Main thread only.
#pragma once

#include <services/mnsubgame.h>

namespace Kelvo_lib {

class MNBackgroundUI;
class MNMainMenuUI;

class MNFrontEnd : public MNSubGame {
public:
    explicit MNFrontEnd(MNSubGameWorld* world) : MNSubGame(world) {}
    ~MNFrontEnd() override;

    void Init() override;
    void Deinit() override;
    // Background and menus on two new layers; the first time the language is set to UK
    // English and the profile screen comes up, every later time the main menu.
    void Activate() override;
    void Deactivate() override;
    void Tick(float delta) override;
    kUI* GetScreen() override { return nullptr; }

    bool IsFirstTime() const { return m_bFirstTime; }

private:
    void OnTournament() { StartMode(SUBGAME_TOURNAMENT); }
    void OnQuickBlast() { StartMode(SUBGAME_QUICKBLAST); }
    void OnSimplyPuzzle() { StartMode(SUBGAME_SIMPLYPUZZLE); }
    void OnFastAndFun() { StartMode(SUBGAME_FASTANDFUN); }
    void OnHeadToHead() { StartMode(SUBGAME_HEADTOHEAD); }
    void StartMode(int subGame);

    static constexpr int kNumScreens = 7;

    bool m_bFirstTime = true;
    MNBackgroundUI* m_menuBg = nullptr;
    MNMainMenuUI* m_mainMenu = nullptr;
    kUI* m_screens[kNumScreens] = {}; // in order of registration; m_menuBg first
};

} // namespace Kelvo_lib
