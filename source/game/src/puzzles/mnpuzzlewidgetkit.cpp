#include <puzzles/mnpuzzlewidgetkit.h>

#include <services/mnresourcemanager.h>

#include <framework/kspritemanager.h>
#include <framework/ktext.h>

namespace Kelvo_lib {

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

void PrintCentred(kFont& font, const kSprite& sprite, const char* text, unsigned int colour) {
    font.SetColour(colour, false);
    int w = 0;
    int h = 0;
    font.GetStringBound(w, h, text);
    font.Print(static_cast<int>(sprite.GetX() + sprite.GetWidth() * 0.5f - w / 2),
               static_cast<int>(sprite.GetY() + sprite.GetHeight() * 0.5f - h / 2), text, 0, 0.0f);
}

int ClockX() {
    return DisplayWidth() - 120;
}

} // namespace Kelvo_lib
