#include <shell/mngameworld.h>

#include <frontend/mnfrontend.h>
#include <frontend/mnlanguageui.h>
#include <modes/mnfastandfun.h>
#include <modes/mnheadtohead.h>
#include <modes/mnquickblast.h>
#include <modes/mnsimplypuzzle.h>
#include <modes/mntournament.h>
#include <services/mnprofilemanager.h>

#include <game/kgameclient.h>
#include <game/kgameclientview.h>
#include <ui/kui.h>
#include <ui/kuiwidget.h>

#include <kelvo/platform/klog.h>

#include <strings.h>

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "MNGameWorld";

// The front end and the five modes; null for an index that names none.
MNSubGame* CreateSubGame(MNGameWorld* world, int index) {
    switch (index) {
    case SUBGAME_FRONTEND:
        return new MNFrontEnd(world);
    case SUBGAME_TOURNAMENT:
        return new MNTournament(world);
    case SUBGAME_QUICKBLAST:
        return new MNQuickBlast(world);
    case SUBGAME_SIMPLYPUZZLE:
        return new MNSimplyPuzzle(world);
    case SUBGAME_FASTANDFUN:
        return new MNFastAndFun(world);
    case SUBGAME_HEADTOHEAD:
        return new MNHeadToHead(world);
    default:
        return nullptr;
    }
}

MNGameWorld::SubGameFactory s_subGameFactory = &CreateSubGame;

bool IsSubGameIndex(int index) {
    return index >= 0 && index < SUBGAME_COUNT;
}

// The next widget of a depth-first walk of root's tree, after node; null at the end.
kUIWidget* NextInTree(const kUIWidget* root, const kUIWidget* node) {
    if (node->m_firstChild != nullptr) {
        return node->m_firstChild;
    }
    while (node != root) {
        if (node->m_nextSibling != nullptr) {
            return node->m_nextSibling;
        }
        node = node->m_parent;
    }
    return nullptr;
}

} // namespace

MNGameWorld::~MNGameWorld() {
    Deinit();
}

void MNGameWorld::SetSubGameFactory(SubGameFactory factory) {
    s_subGameFactory = factory != nullptr ? factory : &CreateSubGame;
}

void MNGameWorld::Init() {
    if (m_bInit) {
        kLogSys(kSystem, "Init: already initialised\n");
        return;
    }
    m_bInit = true;
    InitProfiles();
    m_uiManager = new kUIManager();
    for (int i = 0; i < SUBGAME_COUNT; ++i) {
        m_subGames[i] = s_subGameFactory(this, i);
    }
    for (int i = 0; i < SUBGAME_COUNT; ++i) {
        if (m_subGames[i] == nullptr) {
            kLogSys(kSystem, "Init: no sub-game %d\n", i);
        } else {
            m_subGames[i]->Init();
        }
    }
}

void MNGameWorld::Deinit() {
    if (!m_bInit) {
        return;
    }
    EndPlay();
    for (MNSubGame* subGame : m_subGames) {
        if (subGame != nullptr) {
            subGame->Deinit();
        }
    }
    for (MNSubGame*& subGame : m_subGames) {
        delete subGame;
        subGame = nullptr;
    }
    delete m_uiManager;
    m_uiManager = nullptr;
    DeinitProfiles();
    m_bInit = false;
}

void MNGameWorld::BeginPlay() {
    kLogSys(kSystem, "BeginPlay\n");
    SetCurrentSubGame(SUBGAME_FRONTEND);
}

void MNGameWorld::EndPlay() {
    MNSubGame* const current = GetCurrentSubGame();
    m_currentSubGame = SUBGAME_NONE;
    if (current != nullptr) {
        kLogSys(kSystem, "EndPlay\n");
        current->Deactivate();
    }
}

MNSubGame* MNGameWorld::GetCurrentSubGame() const {
    return GetSubGame(m_currentSubGame);
}

MNSubGame* MNGameWorld::GetSubGame(int index) const {
    return IsSubGameIndex(index) ? m_subGames[index] : nullptr;
}

void MNGameWorld::SetCurrentSubGame(int index) {
    if (index == m_currentSubGame) {
        return;
    }
    if (!IsSubGameIndex(index) || m_subGames[index] == nullptr) {
        kLogSys(kSystem, "SetCurrentSubGame: no sub-game %d\n", index);
        return;
    }
    kLogSys(kSystem, "SetCurrentSubGame: %d -> %d\n", m_currentSubGame, index);
    MNSubGame* const previous = GetCurrentSubGame();
    m_currentSubGame = index;
    if (previous != nullptr) {
        previous->Deactivate();
    }
    m_subGames[index]->Activate();
}

kUI* MNGameWorld::TopScreen() const {
    if (m_uiManager == nullptr || m_uiManager->GetNumLayers() == 0) {
        return nullptr;
    }
    return m_uiManager->GetLayer(m_uiManager->GetNumLayers() - 1)->GetTopUI();
}

void MNGameWorld::Tick(float delta) {
    if (MNSubGame* const current = GetCurrentSubGame()) {
        current->Tick(delta);
    }
    kUI* screen = TopScreen();
    if (screen == nullptr) {
        return;
    }
    if (kUIWidget* const root = screen->GetScreen()) {
        root->ProcessInput();
        // The input may have changed the stacks (a button that opens or closes a screen):
        // the screen ticked is the one on top now.
        screen = TopScreen();
        if (screen == nullptr) {
            return;
        }
    }
    screen->Tick(delta);
    kUIWidget* const root = screen->GetScreen();
    kUIWidget* const subRoot = screen->GetSubScreen();
    TickTree(root, delta);
    if (subRoot != root) {
        TickTree(subRoot, delta);
    }
}

void MNGameWorld::TickTree(kUIWidget* root, float delta) {
    for (kUIWidget* widget = root; widget != nullptr; widget = NextInTree(root, widget)) {
        widget->Tick(delta);
    }
}

void MNGameWorld::RenderClientView(kGameClientView* view, unsigned int, krCamera*) {
    if (m_uiManager != nullptr) {
        const int first = HidesLowerLayers() ? K_HEAD_TO_HEAD_LAYER : 0;
        for (int i = first; i < m_uiManager->GetNumLayers(); ++i) {
            RenderScreen(m_uiManager->GetLayer(i)->GetTopUI());
        }
    }
    if (view == nullptr || view->GetClient() == nullptr) {
        kLogSys(kSystem, "RenderClientView: no client view\n");
        return;
    }
    view->GetClient()->RenderLeafs(nullptr, nullptr, 0);
}

void MNGameWorld::RenderScreen(kUI* screen) {
    if (screen == nullptr) {
        return;
    }
    kUIWidget* const root = screen->GetScreen();
    kUIWidget* const subRoot = screen->GetSubScreen();
    RenderTree(root);
    if (subRoot != root) {
        RenderTree(subRoot);
    }
}

void MNGameWorld::RenderTree(kUIWidget* root) {
    kUIWidget* widget = root;
    while (widget != nullptr) {
        if (widget->IsVisible()) {
            widget->Render();
            widget = NextInTree(root, widget);
            continue;
        }
        // A hidden widget hides its subtree: go on after it.
        while (widget != root && widget->m_nextSibling == nullptr) {
            widget = widget->m_parent;
        }
        widget = widget == root ? nullptr : widget->m_nextSibling;
    }
}

void MNGameWorld::InitProfiles() {
    // The manager sets the language the save block holds once its load completes, or the
    // language screen's default.
    MNProfileManager::Init(MNLanguageUI::GetNOA() ? LANGUAGE_US_ENGLISH : LANGUAGE_UK_ENGLISH);
}

void MNGameWorld::DeinitProfiles() {
    MNProfileManager::Deinit();
}

MNProfile* MNGameWorld::GetProfile() const {
    return MNProfileManager::GetProfile(m_profileIndex);
}

bool MNGameWorld::HidesLowerLayers() const {
    if (m_uiManager->GetNumLayers() <= K_HEAD_TO_HEAD_LAYER) {
        return false;
    }
    const kUI* const screen = m_uiManager->GetLayer(K_HEAD_TO_HEAD_LAYER)->GetTopUI();
    return screen != nullptr && strcasecmp(screen->GetId(), K_HEAD_TO_HEAD_BG) == 0;
}

} // namespace Kelvo_lib
