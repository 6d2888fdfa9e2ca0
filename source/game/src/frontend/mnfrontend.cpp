#include <frontend/mnfrontend.h>

#include <frontend/mnhelpui.h>
#include <frontend/mnlanguageui.h>
#include <frontend/mnmainmenuui.h>
#include <frontend/mnprofileui.h>
#include <services/mnprofilemanager.h>
#include <services/mnsubgameworld.h>
#include <tui/mnbackground.h>
#include <tui/mnhintui.h>
#include <tui/mnpausemenuui.h>

#include <ui/kui.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

// The registered names of the screens, in the order of m_screens.
constexpr const char* s_screenIds[] = {"menu_bg",   "language_menu", "profile_menu", "help_menu",
                                       "main_menu", "pause_menu",    "hint_main"};

} // namespace

MNFrontEnd::~MNFrontEnd() {
    for (kUI*& screen : m_screens) {
        delete screen;
        screen = nullptr;
    }
}

void MNFrontEnd::Init() {
    kLogFmt("MNFrontEnd::Init\n");
    if (m_screens[0] != nullptr) {
        kLogFmt("MNFrontEnd::Init: already initialised\n");
        return;
    }
    m_menuBg = new MNBackgroundUI;
    m_mainMenu = new MNMainMenuUI;
    kUI* const screens[kNumScreens] = {
        m_menuBg,   new MNLanguageUI,           new MNProfileUI, new MNHelpUI(m_world),
        m_mainMenu, new MNPauseMenuUI(m_world), new MNHintUI};
    kUIManager* const manager = m_world->GetUIManager();
    for (int i = 0; i < kNumScreens; ++i) {
        m_screens[i] = screens[i];
        manager->AddUI(s_screenIds[i], screens[i]);
    }
    m_mainMenu->StartTournamentSignal.Connect(this, &MNFrontEnd::OnTournament);
    m_mainMenu->StartQuickBlastSignal.Connect(this, &MNFrontEnd::OnQuickBlast);
    m_mainMenu->StartSimplyPuzzleSignal.Connect(this, &MNFrontEnd::OnSimplyPuzzle);
    m_mainMenu->StartFastAndFunSignal.Connect(this, &MNFrontEnd::OnFastAndFun);
    m_mainMenu->StartHeadToHeadSignal.Connect(this, &MNFrontEnd::OnHeadToHead);
}

void MNFrontEnd::Deinit() {
    kLogFmt("MNFrontEnd::Deinit\n");
}

void MNFrontEnd::Activate() {
    kUIManager* const manager = m_world->GetUIManager();
    if (m_menuBg == nullptr) {
        kLogFmt("ERROR: MNFrontEnd::Activate before Init\n");
        return;
    }
    m_menuBg->GetBackground()->SetMode(BACKGROUND_MENUS);
    manager->PushLayer("bg")->PushUI(m_menuBg);
    kUILayer* const main = manager->PushLayer("main");
    if (m_bFirstTime) {
        m_bFirstTime = false;
        kLogFmt("Forcing english\n");
        MNProfileManager::SetLanguage(0, true, true);
        main->PushUI(manager->FindUI("profile_menu"));
    } else {
        main->PushUI(m_mainMenu);
    }
}

void MNFrontEnd::Deactivate() {
    kUIManager* const manager = m_world->GetUIManager();
    manager->PopLayer();
    manager->PopLayer();
}

void MNFrontEnd::Tick(float delta) {
    if (m_menuBg != nullptr) {
        m_menuBg->Tick(delta);
    }
}

void MNFrontEnd::StartMode(int subGame) {
    m_world->SetActiveProfile(MNProfileManager::GetActiveProfileIndex());
    m_world->SetCurrentSubGame(subGame);
}

} // namespace Kelvo_lib
