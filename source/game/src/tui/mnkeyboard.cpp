// The on-screen keyboard: key tables, layout in rows, typing rules and drawing.
#include <tui/mnkeyboard.h>

#include <services/mnpalette.h>
#include <services/mnresourcemanager.h>
#include <services/mnsound.h>

#include <framework/kfont.h>
#include <framework/ksprite.h>

#include <kelvo/platform/klog.h>

#include <cstdio>
#include <cstring>

namespace Kelvo_lib {

namespace {

constexpr int kNumLanguages = 8;
constexpr int kLetterRows = 3;
constexpr int kSpaceBarKeys = 5; // the space bar is as wide as this many keys
constexpr float kDefaultKeySize = 32.0f;

// Indexed by eLanguage: UK English, French, Italian, German, Spanish, Dutch, US English,
// Canadian English. Latin-1 capitals after A to Z.
constexpr const char* kLetters[kNumLanguages] = {
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC0\xC7\xC8\xC9",
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC0\xC8\xC9\xCC\xD2\xD9",
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC4\xD6\xDC",
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xD1",
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
};

bool IsKnownLanguage(int language) {
    return language >= 0 && language < kNumLanguages;
}

kSprite* PixelSprite(const char* name) {
    kSprite* sprite = MNResourceManager::GetSprite("fe", name);
    if (sprite != nullptr) {
        sprite->SetNormalCoordinates(false);
        sprite->SetTransparent(true);
    }
    return sprite;
}

bool IsLight(unsigned int colour) {
    const unsigned int r = (colour >> 16) & 0xFF;
    const unsigned int g = (colour >> 8) & 0xFF;
    const unsigned int b = colour & 0xFF;
    return r * 299 + g * 587 + b * 114 > 128 * 1000;
}

// A key's tint: under dark letters the light art is paper; under light letters the dark art
// shows as it is (its rim taking the colour of a key under the pointer), and the plain space
// bar is darkened. The key under the pointer is sun yellow, or sky where it must stay dark.
unsigned int KeyTint(bool bHot, bool bLightLetters, bool bDarkArt) {
    if (!bLightLetters) {
        return bHot ? MNPalette::kSun : MNPalette::kPaper;
    }
    if (bDarkArt) {
        return bHot ? MNPalette::kSun : MNPalette::kWhite;
    }
    return bHot ? MNPalette::kSky : MNPalette::kSlate;
}

} // namespace

const char* MNKeyboard::LettersOf(int language) {
    return kLetters[IsKnownLanguage(language) ? language : 0];
}

MNKeyboard::MNKeyboard(int language, bool spaceBar) : m_language(language), m_bSpaceBar(spaceBar) {
    if (!IsKnownLanguage(language)) {
        kLogFmt("MNKeyboard: unknown language %d, using UK English keys\n", language);
        m_language = 0;
    }
    m_string[0] = 0;
    m_keySprite = PixelSprite("fe_keyboard_key_light");
    m_darkKeySprite = PixelSprite("fe_keyboard_key_01");
    m_backspaceSprite = PixelSprite("fe_keyboard_backspace");
    m_spaceSprite = PixelSprite("fe_keyboard_space");
    m_font = MNResourceManager::GetFont("keyboard", "wii_keyboard");
    BuildKeys();
}

MNKeyboard::~MNKeyboard() {
    delete m_keySprite;
    delete m_darkKeySprite;
    delete m_backspaceSprite;
    delete m_spaceSprite;
}

void MNKeyboard::SetPosition(float x, float y) {
    m_x = x;
    m_y = y;
    LayOutKeys();
}

void MNKeyboard::SetKeySpacing(int x, int y) {
    m_spacingX = x;
    m_spacingY = y;
    LayOutKeys();
}

void MNKeyboard::SetFont(kSharedPtr<kFont> font) {
    m_font = font;
}

void MNKeyboard::SetLanguage(int language) {
    if (!IsKnownLanguage(language)) {
        kLogFmt("MNKeyboard: unknown language %d, keys unchanged\n", language);
        return;
    }
    if (language != m_language) {
        m_language = language;
        BuildKeys();
    }
}

void MNKeyboard::Tick(float) {}

void MNKeyboard::BuildKeys() {
    m_keys.Empty();
    const char* letters = kLetters[m_language];
    for (const char* c = letters; *c != 0; ++c) {
        m_keys.Push(MNKeyboardKey{*c, 0, 0, 0, 0});
    }
    if (m_bSpaceBar) {
        m_keys.Push(MNKeyboardKey{' ', 0, 0, 0, 0});
    }
    m_keys.Push(MNKeyboardKey{kBackspace, 0, 0, 0, 0});
    m_hotKey = -1;
    LayOutKeys();
}

// Letters and backspace fill three rows from the left; the space bar has a row of its own,
// centred under them.
void MNKeyboard::LayOutKeys() {
    const float keyW = m_keySprite != nullptr ? m_keySprite->GetWidth() : kDefaultKeySize;
    const float keyH = m_keySprite != nullptr ? m_keySprite->GetHeight() : kDefaultKeySize;
    const float stepX = keyW + m_spacingX;
    const float stepY = keyH + m_spacingY;
    const int rowKeys = m_keys.Size() - (m_bSpaceBar ? 1 : 0);
    const int columns = (rowKeys + kLetterRows - 1) / kLetterRows;
    int slot = 0;
    for (int i = 0; i < m_keys.Size(); ++i) {
        MNKeyboardKey& key = m_keys(i);
        if (key.letter == ' ') {
            key.w = kSpaceBarKeys * stepX - m_spacingX;
            key.h = keyH;
            key.x = m_x + (columns * stepX - m_spacingX - key.w) * 0.5f;
            key.y = m_y + kLetterRows * stepY;
            continue;
        }
        key.x = m_x + static_cast<float>(slot % columns) * stepX;
        key.y = m_y + static_cast<float>(slot / columns) * stepY;
        key.w = keyW;
        key.h = keyH;
        ++slot;
    }
}

void MNKeyboard::SetMaxStringLength(int n) {
    if (n < 0 || n > kMaxString - 1) {
        kLogFmt("MNKeyboard: string length %d kept within 0 to %d\n", n, kMaxString - 1);
        n = n < 0 ? 0 : kMaxString - 1;
    }
    m_maxLength = n;
    std::memset(m_string, ' ', static_cast<size_t>(n));
    m_string[n] = 0;
    m_cursorPos = -1;
}

void MNKeyboard::SetString(const char* s) {
    // s may be this keyboard's own string: read it before blanking.
    char copy[kMaxString] = {};
    if (s != nullptr) {
        const size_t length = std::strlen(s);
        const size_t kept = static_cast<size_t>(m_maxLength);
        std::memcpy(copy, s, length < kept ? length : kept);
    }
    std::memset(m_string, ' ', static_cast<size_t>(m_maxLength));
    m_string[m_maxLength] = 0;
    std::memcpy(m_string, copy, std::strlen(copy));
}

void MNKeyboard::SetCursorPos(int pos) {
    m_cursorPos = pos < -1 ? -1 : (pos > m_maxLength - 1 ? m_maxLength - 1 : pos);
}

void MNKeyboard::GetTyped(char* out, int capacity) const {
    const int count = m_cursorPos + 1;
    std::snprintf(out, static_cast<size_t>(capacity), "%.*s", count > 0 ? count : 0, m_string);
}

bool MNKeyboard::HasTyped() const {
    for (int i = 0; i <= m_cursorPos && i < kMaxString && m_string[i] != '\0'; ++i) {
        if (m_string[i] != ' ') {
            return true;
        }
    }
    return false;
}

void MNKeyboard::SetLockedCells(int i) {
    if (i < 0 || i >= kMaxString) {
        kLogFmt("MNKeyboard: no position %d to lock\n", i);
        return;
    }
    m_locked[i] = true;
}

bool MNKeyboard::GetLockedCells(int i) const {
    return i >= 0 && i < kMaxString && m_locked[i];
}

int MNKeyboard::GetKeyIndex(char letter) const {
    for (int i = 0; i < m_keys.Size(); ++i) {
        if (m_keys(i).letter == letter && letter != kBackspace) {
            return i;
        }
    }
    return -1;
}

int MNKeyboard::KeyAt(float x, float y) const {
    for (int i = 0; i < m_keys.Size(); ++i) {
        const MNKeyboardKey& key = m_keys(i);
        if (x >= key.x && x < key.x + key.w && y >= key.y && y < key.y + key.h) {
            return i;
        }
    }
    return -1;
}

bool MNKeyboard::MouseHit(float x, float y, bool, MNInputEdge::eButtonState buttonState) {
    m_hotKey = KeyAt(x, y);
    if (buttonState == MNInputEdge::IDLE) {
        m_bArmed = true;
        return false;
    }
    if (buttonState != MNInputEdge::PRESSED || !m_bArmed || m_hotKey < 0) {
        return false;
    }
    m_bArmed = false;
    const char letter = m_keys(m_hotKey).letter;
    if (letter == kBackspace) {
        Backspace();
        MNSound::PlaySoundEffect(SFX_KEY_BACKSPACE);
    } else {
        TypeLetter(letter);
        MNSound::PlaySoundEffect(SFX_KEY_LETTER);
    }
    return true;
}

// Writes at the first free position after the cursor, stepping over locked ones.
void MNKeyboard::TypeLetter(char letter) {
    int pos = m_cursorPos + 1;
    while (pos < m_maxLength && m_locked[pos]) {
        ++pos;
    }
    if (pos >= m_maxLength) {
        return;
    }
    m_string[pos] = letter;
    m_cursorPos = pos;
}

// Blanks the last unlocked position at or before the cursor and moves the cursor before it.
void MNKeyboard::Backspace() {
    int pos = m_cursorPos;
    while (pos >= 0 && m_locked[pos]) {
        --pos;
    }
    if (pos < 0) {
        return;
    }
    m_string[pos] = ' ';
    m_cursorPos = pos - 1;
}

void MNKeyboard::Render() {
    for (int i = 0; i < m_keys.Size(); ++i) {
        RenderKey(m_keys(i), i == m_hotKey);
    }
}

void MNKeyboard::RenderKey(const MNKeyboardKey& key, bool bHot) {
    const bool bLightLetters = IsLight(m_colour);
    kSprite* sprite = key.letter == ' ' && m_spaceSprite != nullptr ? m_spaceSprite
                      : bLightLetters                               ? m_darkKeySprite
                                                                    : m_keySprite;
    if (sprite != nullptr) {
        sprite->SetColour(KeyTint(bHot, bLightLetters, sprite == m_darkKeySprite));
        sprite->SetPosition(key.x, key.y);
        sprite->SetWidth(key.w);
        sprite->SetHeight(key.h);
        sprite->Render();
    }
    if (key.letter == kBackspace) {
        if (m_backspaceSprite != nullptr) {
            m_backspaceSprite->SetColour(m_colour);
            m_backspaceSprite->SetPosition(key.x, key.y);
            m_backspaceSprite->Render();
        }
        return;
    }
    if (m_font.Get() == nullptr || key.letter == ' ') {
        return;
    }
    const char text[2] = {key.letter, 0};
    int width = 0;
    int height = 0;
    m_font->SetColour(m_colour, true);
    m_font->GetStringBound(width, height, text);
    m_font->Print(static_cast<int>(key.x + (key.w - width) * 0.5f),
                  static_cast<int>(key.y + (key.h - height) * 0.5f), text, 0, 0.0f);
}

} // namespace Kelvo_lib
