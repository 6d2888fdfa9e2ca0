// MainClient: the game's one client, the part that draws. Each frame it moves the start on
// (the splash sequence, then the title screen) and, once the title has closed, has begun
// the world's play; Render draws whichever of the three is showing. Added to and owned
// alongside MNGame by the entry point; main thread only.
#pragma once

#include <services/mninputedge.h>

#include <game/kgameclient.h>

namespace Kelvo_lib {

class MainClient : public kGameClient {
public:
    enum Phase { PHASE_SPLASH, PHASE_TITLE, PHASE_WORLD };

    void ClientInit() override;
    void ClientDeinit() override;
    // Splash: an A press skips the entries that allow it. Title: its close begins play.
    void Tick(float delta) override;
    void Render() override;
    void RenderLeafs(kGameRenderContext*, kGameLeaf**, int) override {}

    Phase GetPhase() const { return m_phase; }

private:
    void TickSplash(float delta);
    void TickTitle(float delta);

    MNInputEdge m_skipButton;
    Phase m_phase = PHASE_SPLASH;
};

} // namespace Kelvo_lib
