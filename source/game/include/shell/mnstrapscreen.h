// MNStrapScreen: the health and safety screen shown before anything else: its picture fades
// in, a prompt appears after K_PROMPT_DELAY and an A press fades it out. The caller owns
// the screen and runs it (Tick, Render) until IsFinished. The bank is the program's own
// (compiled in, so the screen shows even without a disc); a bank without the sprites
// shows black for the same steps. Main thread only.
#pragma once

#include <services/mninputedge.h>

#include <framework/ksprite.h>
#include <framework/kspritebank.h>

#include <kelvo/containers/ksharedptr.h>

#include <memory>

namespace Kelvo_lib {

class MNStrapScreen {
public:
    static constexpr float K_FADE_TIME = 0.5f;
    static constexpr float K_PROMPT_DELAY = 2.0f;

    enum State { FADE_IN, WAITING, PROMPT, FADE_OUT, FINISHED };

    // The sprites "strap" (the whole screen) and "prompt" of the bank.
    explicit MNStrapScreen(const kSharedPtr<kSpriteBank>& bank);

    void Tick(float delta);
    void Render();
    State GetState() const { return m_state; }
    bool IsFinished() const { return m_state == FINISHED; }

private:
    void Enter(State state);
    // The alpha of the black over the screen: 255 wholly black, 0 none.
    int FadeOverScreen() const;

    std::unique_ptr<kSprite> m_picture;
    std::unique_ptr<kSprite> m_prompt;
    MNInputEdge m_buttonA;
    State m_state = FADE_IN;
    float m_time = 0.0f; // seconds in the current state
};

} // namespace Kelvo_lib
