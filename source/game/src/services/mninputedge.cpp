// The reading of player 1's remote: the A button's edges, pointer pixels from kUIMouse.
#include <services/mninputedge.h>

#include <framework/ksprite.h>
#include <framework/kspritemanager.h>
#include <ui/kuimouse.h>

#include <kelvo/input/kinputsystem.h>

namespace Kelvo_lib {

namespace {

bool IsAButtonDown() {
    return kInput != nullptr && kInput->GetInputState(KI_WII_PAD1_BUTTON_A, 0) != 0.0f;
}

// Truncated toward zero, as the layouts place everything in whole pixels.
int PixelsAcross(float fraction, int size) {
    return static_cast<int>(fraction * static_cast<float>(size));
}

} // namespace

void MNInputEdge::Update() {
    const bool bDown = IsAButtonDown();
    Set(PixelsAcross(kUIMouse::GetX(), kSpriteManager::GetDisplayWidth()),
        PixelsAcross(kUIMouse::GetY(), kSpriteManager::GetDisplayHeight()), bDown);
}

void MNInputEdge::UpdateButton() {
    SetButton(IsAButtonDown());
}

void MNInputEdge::Set(int x, int y, bool bButtonDown) {
    m_x = x;
    m_y = y;
    SetButton(bButtonDown);
}

void MNInputEdge::SetButton(bool bButtonDown) {
    if (bButtonDown) {
        m_state = m_bDown ? HELD : PRESSED;
    } else {
        m_state = m_bDown ? RELEASED : IDLE;
    }
    m_bDown = bButtonDown;
}

void MNInputEdge::TakePress() {
    if (m_state == PRESSED) {
        m_state = HELD;
    }
}

bool MNInputEdge::IsOver(const kSprite& sprite) const {
    return sprite.MouseHit(static_cast<float>(m_x), static_cast<float>(m_y), false);
}

MNInputEdge::eButtonState MNInputEdge::StateHoldingBack(bool& bHoldBack) const {
    if (!bHoldBack) {
        return m_state;
    }
    if (m_state == RELEASED || m_state == IDLE) {
        bHoldBack = false;
    }
    return IDLE;
}

} // namespace Kelvo_lib
