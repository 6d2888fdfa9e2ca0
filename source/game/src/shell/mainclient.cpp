#include <shell/mainclient.h>

#include <shell/mntitlescreen.h>

#include <framework/ksplashscreen.h>
#include <game/kgame.h>
#include <game/kgameworld.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "MainClient";

} // namespace

void MainClient::ClientInit() {
    kLogSys(kSystem, "ClientInit\n");
}

void MainClient::ClientDeinit() {
    kLogSys(kSystem, "ClientDeinit\n");
}

void MainClient::Tick(float delta) {
    switch (m_phase) {
    case PHASE_SPLASH:
        TickSplash(delta);
        break;
    case PHASE_TITLE:
        TickTitle(delta);
        break;
    case PHASE_WORLD:
        break;
    }
}

void MainClient::TickSplash(float delta) {
    m_skipButton.UpdateButton();
    if (!kSplashScreen::IsFinished() && m_skipButton.WasPressed() &&
        kSplashScreen::IsAllowKeySkip()) {
        kSplashScreen::AdvanceState(true);
    }
    kSplashScreen::Tick(delta);
    if (kSplashScreen::IsFinished()) {
        kSplashScreen::Clear();
        m_phase = PHASE_TITLE;
    }
}

void MainClient::TickTitle(float delta) {
    MNTitleScreen::Tick(delta);
    if (!MNTitleScreen::IsClosed()) {
        return;
    }
    m_phase = PHASE_WORLD;
    if (GetGame() != nullptr && GetGame()->GetWorld() != nullptr) {
        GetGame()->GetWorld()->BeginPlay();
    }
}

void MainClient::Render() {
    switch (m_phase) {
    case PHASE_SPLASH:
        kSplashScreen::Render();
        break;
    case PHASE_TITLE:
        MNTitleScreen::Render();
        break;
    case PHASE_WORLD:
        if (GetGame() != nullptr && GetGame()->GetWorld() != nullptr) {
            GetGame()->GetWorld()->RenderClientView(GetClientView(), 0, nullptr);
        }
        break;
    }
}

} // namespace Kelvo_lib
