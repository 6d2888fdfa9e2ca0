#include <puzzles/mnpuzzlewidgetkit.h>

#include <services/mnpalette.h>
#include <services/mnresourcemanager.h>

#include <framework/kspritemanager.h>
#include <framework/ktext.h>

namespace Kelvo_lib {

namespace {

// A disabled button and its caption, as the crossword's hint button is greyed.
constexpr unsigned int kDisabledButton = 0xFF808080;

} // namespace

int DisplayWidth() {
    return kSpriteManager::GetDisplayWidth();
}

int DisplayHeight() {
    return kSpriteManager::GetDisplayHeight();
}

const char* Txt(int id) {
    const char* text = kText::Text(id);
    return text != nullptr ? text : "";
}

kSharedPtr<kSprite> PixelSprite(const char* bank, const char* name) {
    kSprite* sprite = MNResourceManager::GetSprite(bank, name);
    if (sprite != nullptr) {
        sprite->SetNormalCoordinates(false);
        sprite->SetTransparent(true);
    }
    return kSharedPtr<kSprite>(sprite);
}

bool AllLoaded(std::initializer_list<const kSprite*> sprites) {
    for (const kSprite* sprite : sprites) {
        if (sprite == nullptr) {
            return false;
        }
    }
    return true;
}

void PrintCentred(kFont& font, const kSprite& sprite, const char* text) {
    int w = 0;
    int h = 0;
    font.GetStringBound(w, h, text);
    font.Print(static_cast<int>(sprite.GetX() + sprite.GetWidth() * 0.5f - w / 2),
               static_cast<int>(sprite.GetY() + sprite.GetHeight() * 0.5f - h / 2), text, 0, 0.0f);
}

void PrintCaption(kFont& font, const kSprite& sprite, const char* text) {
    int w = 0;
    int h = 0;
    font.GetStringBound(w, h, text);
    font.Print(static_cast<int>(sprite.GetX() + (sprite.GetWidth() - w) * 0.5f),
               static_cast<int>(sprite.GetY()) + 5, text, 0, 0.0f);
}

int ClockX() {
    return DisplayWidth() - 120;
}

void PlaceBottomButtons(kSprite* first, kSprite* second, kSprite* third) {
    float x = 80.0f;
    for (kSprite* button : {first, second, third}) {
        if (button != nullptr) {
            button->SetPosition(x, static_cast<float>(DisplayHeight() - K_TITLE_SAFE_Y) -
                                       button->GetHeight());
            x += button->GetWidth() + 10.0f;
        }
    }
}

void RenderBottomButton(kFont& font, kSprite& button, const char* caption, bool bEnabled) {
    const unsigned int colour = bEnabled ? MNPalette::kWhite : kDisabledButton;
    button.SetColour(colour);
    button.Render();
    font.SetColour(colour, false);
    PrintCaption(font, button, caption);
}

} // namespace Kelvo_lib
