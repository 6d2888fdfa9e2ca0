// MNDialogBox: how one system dialog looks: a panel of the built-in bank "dialog" in the
// middle of the picture with the title, the body word-wrapped to the panel and the options
// as a row of buttons, the one under the pointer lit; a dialog with one text shows it as its
// body, so that every message reads in one font. Panels and buttons keep their rounded ends
// whole at any size. Texts given by id are read from the system texts each layout. It owns
// its sprites and shares its fonts; art that is missing was logged by the resource manager
// and is skipped. Main thread only.
#pragma once

#include <framework/kfont.h>

#include <kelvo/containers/karray.h>
#include <kelvo/containers/ksharedptr.h>
#include <kelvo/containers/kstring.h>

namespace Kelvo_lib {

class kDialog;
class kSprite;

class MNDialogBox {
public:
    struct Rect {
        float x = 0.0f;
        float y = 0.0f;
        float w = 0.0f;
        float h = 0.0f;
        bool Contains(float px, float py) const {
            return px >= x && px < x + w && py >= y && py < y + h;
        }
    };

    MNDialogBox();
    MNDialogBox(const MNDialogBox&) = delete;
    MNDialogBox& operator=(const MNDialogBox&) = delete;
    ~MNDialogBox();

    // Takes the dialog's texts (by id where it gives one) and places panel and buttons.
    void Layout(const kDialog& dialog);
    const Rect& GetPanel() const { return m_panel; }
    int GetNumButtons() const { return m_buttons.Size(); }
    const Rect& GetButton(int option) const { return m_buttons(option); }
    // The option whose button is under pixel (x, y), or -1.
    int OptionAt(float x, float y) const;
    // The last layout, its hot option's button lit (-1: none), and the pointer at (x, y).
    void Render(int hotOption, float pointerX, float pointerY) const;

    // The console's home-button menu, as its layout stands, over the dimmed game.
    void RenderHomeMenu(float pointerX, float pointerY) const;

    // The sign that HOME is not allowed now, in the picture's lower right corner.
    void RenderHomeOffIcon() const;

    // A dialog's title or body: the system text of the id, else its literal text.
    static kString TextOf(int scriptId, const kString& literal);

private:
    // The text word-wrapped to the panel in the font.
    static kString Wrapped(kFont* font, const kString& text);
    void DrawPointer(float x, float y) const;
    // The art stretched over the rectangle but for its corners, drawn at their own size.
    static void DrawPanelSprite(kSprite* sprite, const Rect& rect);
    void DrawButton(const Rect& rect, bool bHot, const char* label) const;
    void DrawCentred(kFont* font, const Rect& rect, float y, const char* text,
                     unsigned int colour) const;

    kSharedPtr<kFont> m_titleFont;
    kSharedPtr<kFont> m_bodyFont;
    kSharedPtr<kFont> m_buttonFont;
    kSprite* m_box = nullptr;
    kSprite* m_button = nullptr;
    kSprite* m_buttonHot = nullptr;
    kSprite* m_pointer = nullptr;
    kSprite* m_homeOff = nullptr;
    kString m_title;
    kString m_body;
    kArray<kString> m_labels;
    kArray<Rect> m_buttons;
    Rect m_panel;
    float m_bodyY = 0.0f;
};

} // namespace Kelvo_lib
