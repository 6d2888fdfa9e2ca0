// MNKeyboard: the on-screen keyboard of a language and the string it types. Its keys come
// in a fixed order per language (letters, then the space bar when it has one, then
// backspace): saved puzzle states store key indices, so the order never changes. It owns
// its keys and sprites and shares its font; its keys are light under dark letters and dark
// under light ones. Main thread only. An unknown language is logged and gives the UK English
// keys; lengths and positions are kept inside the string.
#pragma once

#include <services/mninputedge.h>

#include <kelvo/containers/karray.h>
#include <kelvo/containers/ksharedptr.h>

namespace Kelvo_lib {

class kFont;
class kSprite;

struct MNKeyboardKey {
    char letter; // '\b' for backspace
    float x;     // top-left corner and size in pixels
    float y;
    float w;
    float h;
};

class MNKeyboard {
public:
    static constexpr int kMaxString = 32;
    static constexpr char kBackspace = '\b';

    // The letters of a language's keys in key order, without space and backspace; those of
    // UK English for a language outside 0 to 7.
    static const char* LettersOf(int language);

    MNKeyboard(int language, bool spaceBar);
    MNKeyboard(const MNKeyboard&) = delete;
    MNKeyboard& operator=(const MNKeyboard&) = delete;
    ~MNKeyboard();

    // Top-left corner of the keys in pixels.
    void SetPosition(float x, float y);
    // The gap between keys in pixels; lays the keys out again.
    void SetKeySpacing(int x, int y);
    void SetFont(kSharedPtr<kFont> font);
    // The colour of the letters.
    void SetColour(unsigned int colour) { m_colour = colour; }
    // Changes the keys when the language differs; the string and the cursor stay.
    void SetLanguage(int language);
    void Tick(float delta);
    void Render();

    // Blanks the string to n positions (kept within 0 to 31); the cursor goes before the first.
    void SetMaxStringLength(int n);
    // Copies s, cut at the length; positions beyond s stay blank.
    void SetString(const char* s);
    const char* GetString() const { return m_string; }
    int GetMaxStringLength() const { return m_maxLength; }
    // The last written position, -1 before the first; kept within -1 to the length - 1.
    void SetCursorPos(int pos);
    int GetCursorPos() const { return m_cursorPos; }
    // The string up to and including the cursor, cut to capacity - 1 and terminated.
    void GetTyped(char* out, int capacity) const;
    // Whether that holds a character other than a blank.
    bool HasTyped() const;
    void SetLockedCells(int i);
    bool GetLockedCells(int i) const;

    int GetNumKeys() const { return m_keys.Size(); }
    // Key i's letter and place (no range test).
    const MNKeyboardKey& GetKey(int i) const { return m_keys(i); }
    int GetKeyIndex(char letter) const;
    char GetLetter(int i) const { return m_keys(i).letter; }
    // A press over a key takes it once per press; the button idle arms the next press.
    // Returns whether a key was taken.
    bool MouseHit(float x, float y, bool bIgnoreScale, MNInputEdge::eButtonState buttonState);

    char m_string[kMaxString];
    int m_cursorPos = -1;
    bool m_locked[kMaxString] = {};

private:
    void BuildKeys();
    void LayOutKeys();
    int KeyAt(float x, float y) const;
    void TypeLetter(char letter);
    void Backspace();
    void RenderKey(const MNKeyboardKey& key, bool bHot);

    int m_language;
    bool m_bSpaceBar;
    int m_maxLength = 0;
    float m_x = 0.0f;
    float m_y = 0.0f;
    int m_spacingX = 2;
    int m_spacingY = 2;
    unsigned int m_colour = 0xFF000000;
    bool m_bArmed = true;
    int m_hotKey = -1;
    kArray<MNKeyboardKey> m_keys;
    kSharedPtr<kFont> m_font;
    kSprite* m_keySprite = nullptr;     // under dark letters
    kSprite* m_darkKeySprite = nullptr; // under light letters
    kSprite* m_backspaceSprite = nullptr;
    kSprite* m_spaceSprite = nullptr;
};

} // namespace Kelvo_lib
