// The menus' reading of the remote: pointer pixels from kUIMouse, the A button's edges.
#include <tui/tuipointer.h>

#include <framework/kspritemanager.h>
#include <ui/kuimouse.h>

#include <kelvo/input/kinputsystem.h>

namespace Kelvo_lib {

void TUIPointer::Update() {
    const bool bDown = kInput != nullptr && kInput->GetInputState(KI_WII_PAD1_BUTTON_A, 0) != 0.0f;
    Set(static_cast<float>(static_cast<int>(kUIMouse::GetX() * kSpriteManager::GetDisplayWidth())),
        static_cast<float>(static_cast<int>(kUIMouse::GetY() * kSpriteManager::GetDisplayHeight())),
        bDown);
}

void TUIPointer::Set(float x, float y, bool bButtonDown) {
    m_x = x;
    m_y = y;
    if (bButtonDown) {
        m_state = m_bDown ? HELD : PRESSED;
    } else {
        m_state = m_bDown ? RELEASED : IDLE;
    }
    m_bDown = bButtonDown;
}

TUIPointer::eButtonState TUIPointer::StateHoldingBack(bool& bHoldBack) const {
    if (!bHoldBack) {
        return m_state;
    }
    if (m_state == RELEASED || m_state == IDLE) {
        bHoldBack = false;
    }
    return IDLE;
}

} // namespace Kelvo_lib
