#include <puzzles/mnpuzzlebottombuttons.h>
#include <puzzles/mnpuzzlewidgetkit.h>

#include <services/mnpalette.h>
#include <services/mnresourcemanager.h>
#include <services/mntextid.h>

namespace Kelvo_lib {

namespace {

using Buttons = MNPuzzleBottomButtons;
constexpr Buttons::eButton kButtons[] = {Buttons::BUTTON_MENU, Buttons::BUTTON_HINT,
                                         Buttons::BUTTON_THIRD};
constexpr float kRowLeft = 80.0f;
constexpr float kGap = 10.0f;
// A greyed button and its caption.
constexpr unsigned int kGreyed = 0xFF808080;

// Centred across the button, 5 pixels below its top.
void PrintCaption(kFont& font, const kSprite& sprite, const char* text) {
    int w = 0;
    int h = 0;
    font.GetStringBound(w, h, text);
    font.Print(static_cast<int>(sprite.GetX() + (sprite.GetWidth() - w) * 0.5f),
               static_cast<int>(sprite.GetY()) + 5, text, 0, 0.0f);
}

} // namespace

bool MNPuzzleBottomButtons::Load() {
    m_font = MNResourceManager::GetFont("wii_grid_font", "wii_grid_font");
    const int count = m_style.thirdCaption >= 0 ? K_NUM_BUTTONS : BUTTON_THIRD;
    for (int button = 0; button < count; ++button) {
        m_sprites[button] = PixelSprite("puzzles", "Generic_BG_Buttons");
    }
    const int bottom = DisplayHeight() - (m_style.place == PLACE_TITLE_SAFE ? K_TITLE_SAFE_Y : 0);
    float x = kRowLeft;
    for (int button = 0; button < count; ++button) {
        kSprite* sprite = m_sprites[button].Get();
        if (sprite == nullptr) {
            return false;
        }
        sprite->SetPosition(x, static_cast<float>(bottom) - sprite->GetHeight());
        x += sprite->GetWidth() + kGap;
    }
    return true;
}

bool MNPuzzleBottomButtons::IsShown(eButton button, const eLook (&looks)[K_NUM_BUTTONS]) const {
    return looks[button] != LOOK_HIDDEN && m_sprites[button].Get() != nullptr;
}

MNPuzzleBottomButtons::eButton MNPuzzleBottomButtons::Tick(const MNInputEdge& input, eLook hint,
                                                           eLook third) {
    const eLook looks[K_NUM_BUTTONS] = {LOOK_LIVE, hint, third};
    for (eButton button : kButtons) {
        if (IsShown(button, looks) && input.PressedOn(*m_sprites[button].Get())) {
            m_pressed = button;
        }
    }
    if (!input.WasReleased()) {
        return BUTTON_NONE;
    }
    const eButton pressed = m_pressed;
    m_pressed = BUTTON_NONE;
    for (eButton button : kButtons) {
        const bool bPressedHere =
            pressed == button || (m_style.press == PRESS_SHARED && pressed != BUTTON_NONE);
        if (bPressedHere && looks[button] == LOOK_LIVE && IsShown(button, looks) &&
            input.ReleasedOn(*m_sprites[button].Get())) {
            return button;
        }
    }
    return BUTTON_NONE;
}

void MNPuzzleBottomButtons::Render(eLook hint, eLook third) {
    const eLook looks[K_NUM_BUTTONS] = {LOOK_LIVE, hint, third};
    const int captions[K_NUM_BUTTONS] = {TEXT_MENU, TEXT_HINT, m_style.thirdCaption};
    for (eButton button : kButtons) {
        if (!IsShown(button, looks)) {
            continue;
        }
        const unsigned int colour = looks[button] == LOOK_LIVE ? MNPalette::kWhite : kGreyed;
        kSprite& sprite = *m_sprites[button].Get();
        sprite.SetColour(colour);
        sprite.Render();
        m_font->SetColour(colour, false);
        PrintCaption(*m_font.Get(), sprite, Txt(captions[button]));
    }
}

} // namespace Kelvo_lib
