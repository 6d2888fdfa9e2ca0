#include <shell/mnstrapscreen.h>

#include <framework/kspritemanager.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

// The share of 255 that time has covered of K_FADE_TIME, clamped.
int FadeAlpha(float time) {
    const float share = time / MNStrapScreen::K_FADE_TIME;
    const int alpha = static_cast<int>(share * 255.0f);
    return alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
}

} // namespace

MNStrapScreen::MNStrapScreen(const kSharedPtr<kSpriteBank>& bank) {
    if (bank.Get() == nullptr || bank->GetNumSprites() == 0) {
        kLogSys("MNStrapScreen", "No strap bank: the screen stays black\n");
    } else {
        m_picture.reset(kSprite::Create(bank, "strap"));
        m_prompt.reset(kSprite::Create(bank, "prompt"));
    }
    if (m_picture != nullptr) {
        m_picture->SetPosition(0.0f, 0.0f);
        m_picture->SetWidth(static_cast<float>(kSpriteManager::GetDisplayWidth()));
        m_picture->SetHeight(static_cast<float>(kSpriteManager::GetDisplayHeight()));
    }
    if (m_prompt != nullptr) {
        m_prompt->SetTransparent(true);
        m_prompt->SetPosition(
            (static_cast<float>(kSpriteManager::GetDisplayWidth()) - m_prompt->GetWidth()) / 2.0f,
            static_cast<float>(kSpriteManager::GetDisplayHeight()) * 0.88f -
                m_prompt->GetHeight() / 2.0f);
    }
}

void MNStrapScreen::Enter(State state) {
    m_state = state;
    m_time = 0.0f;
}

void MNStrapScreen::Tick(float delta) {
    m_time += delta;
    m_buttonA.UpdateButton();
    switch (m_state) {
    case FADE_IN:
        if (m_time >= K_FADE_TIME) {
            Enter(WAITING);
        }
        break;
    case WAITING:
        if (m_time + K_FADE_TIME >= K_PROMPT_DELAY) {
            Enter(PROMPT);
        }
        break;
    case PROMPT:
        if (m_buttonA.WasPressed()) {
            Enter(FADE_OUT);
        }
        break;
    case FADE_OUT:
        if (m_time >= K_FADE_TIME) {
            Enter(FINISHED);
        }
        break;
    case FINISHED:
        break;
    }
}

int MNStrapScreen::FadeOverScreen() const {
    if (m_state == FADE_IN) {
        return 255 - FadeAlpha(m_time);
    }
    return m_state == FADE_OUT ? FadeAlpha(m_time) : 0;
}

void MNStrapScreen::Render() {
    if (m_state == FINISHED) {
        return;
    }
    // While the fade is wholly black nothing under it shows: the picture is neither drawn
    // nor expanded for those frames (the first frame is one).
    const int fade = FadeOverScreen();
    if (fade < 255) {
        if (m_picture != nullptr) {
            m_picture->Render();
        }
        if (m_state == PROMPT && m_prompt != nullptr) {
            m_prompt->Render();
        }
    }
    if (m_state == FADE_IN || m_state == FADE_OUT) {
        kSpriteManager::SetScreenFade(fade);
    }
}

} // namespace Kelvo_lib
