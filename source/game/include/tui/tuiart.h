// TUIArt: the one look of the toolkit's menus: the fonts and the sprites of bank "fe" and
// the pointer of bank "ptr", and how buttons, radio boxes, spinner arrows, volume bars,
// text boxes, texts and the pointer are measured and drawn (pixels, top-left origin), and the
// frame that a screen's component fractions map into (the whole display, or a part of it). It
// owns its sprites and shares its fonts. Main thread only. Art the disc lacks was logged by
// the resource manager: such a piece is skipped when drawing and measured with defaults.
#pragma once

#include <framework/kfont.h>
#include <ui/kuiwidget.h>

#include <kelvo/containers/ksharedptr.h>

namespace Kelvo_lib {

class kSprite;

// How a button-like piece looks. Done is a disabled piece whose work is finished: paper with
// an ink label, told apart from one not yet available.
enum eTUILook { TUI_LOOK_REST, TUI_LOOK_HOT, TUI_LOOK_DISABLED, TUI_LOOK_DONE };

// Where a text stands against its x.
enum eTUIAlign { TUI_ALIGN_CENTRE, TUI_ALIGN_LEFT, TUI_ALIGN_RIGHT };

class TUIArt {
public:
    static constexpr float kButtonHeight = 40.0f;
    // Button widths that are not a size: a square box as high as a button, and the label's
    // width with room around it.
    static constexpr int kSquareButton = 0;
    static constexpr int kFittedButton = -1;
    static constexpr float kMargin = 16.0f;
    // The title-safe margin on each side, as a fraction of the display.
    static constexpr float kSafeMargin = 0.05f;
    static constexpr unsigned int kWhite = 0xFFFFFFFF;
    static constexpr unsigned int kInk = 0xFF1A1A1A;
    static constexpr unsigned int kSun = 0xFFFFD23F;
    static constexpr unsigned int kSky = 0xFF4D9DE0;
    static constexpr unsigned int kSlate = 0xFF2E4272;
    static constexpr unsigned int kPaper = 0xFFFAF7F0;
    static constexpr unsigned int kGrey = 0xFF8A8FA0;
    static constexpr unsigned int kMuted = 0xFFB8C4E0;

    TUIArt();
    TUIArt(const TUIArt&) = delete;
    TUIArt& operator=(const TUIArt&) = delete;
    ~TUIArt();

    kFont* GetTitleFont() const { return m_titleFont.Get(); }
    kFont* GetBodyFont() const { return m_bodyFont.Get(); }
    kFont* GetButtonFont() const { return m_buttonFont.Get(); }

    static float DisplayWidth();
    static float DisplayHeight();
    // Pixel size of a text in a font at its current scale; 0 x 0 without a font.
    static void Measure(const kFont* font, const char* text, int& width, int& height);

    // The frame the fractions of the screen being handled map into; the whole display until
    // one is set, and again after ClearFrame.
    void SetFrame(const kUIRect& frame);
    void ClearFrame() { m_bFramed = false; }
    kUIRect GetFrame() const;
    float FrameX(float fx) const;
    float FrameY(float fy) const;
    // The display fraction a text wraps to: fixedWidth (a fraction of the display) scaled to
    // the frame; without one, the frame's width when the frame is narrower than the display,
    // less as much on both sides as keeps text centred in it inside the title-safe area, else
    // 0 (no wrapping).
    float WrapWidth(float fixedWidth) const;
    // The slate panel a sub-screen is shown on.
    void DrawPanel(const kUIRect& rect);

    static unsigned int BodyColour(eTUILook look);
    static unsigned int LabelColour(eTUILook look);

    // The width a button takes: fixWidth when above 0, a square for kSquareButton, else its
    // label's width with room.
    float ButtonWidth(int fixWidth, const char* label) const;
    void DrawButton(float x, float y, float width, const char* label, eTUILook look);
    void DrawButtonBody(float x, float y, float width, eTUILook look);
    // A label in the button font, vertically centred on a button-high row at y.
    void DrawLabel(float x, float y, const char* label, eTUILook look, eTUIAlign align);
    // A back button: a left arrow before its label.
    float BackButtonWidth(const char* label) const;
    void DrawBackButton(float x, float y, const char* label, eTUILook look);
    float HelpButtonSize() const;
    void DrawHelpButton(float x, float y, eTUILook look);
    // A button body with a radio box at its left and the label centred in the room after it.
    void DrawRadioButton(float x, float y, float width, const char* label, bool bOn, eTUILook look);
    float RadioLabelRoom(float width) const;
    // A slate row with arrows at both ends and the label centred in the room between them.
    void DrawSpinner(float x, float y, float width, const char* label, eTUILook look);
    float SpinnerLabelRoom(float width) const;
    float ArrowWidth() const;
    // numStates - 1 bars rising left to right, the first level of them lit.
    void DrawVolumeBars(float centreX, float y, int level, int numStates, eTUILook look);
    // A paper field behind a text.
    void DrawTextBox(float x, float y, float width, float height);
    // Each line of text aligned against x, the first line's top at y.
    void DrawText(kFont* font, float x, float y, const char* text, unsigned int colour,
                  eTUIAlign align);
    // An arrow pointing right or left, ArrowWidth() square: sun yellow when hot, else sky.
    void DrawArrow(float x, float y, bool bRight, eTUILook look);
    // An arrow button pointing up or down, ArrowWidth() square.
    void DrawScrollArrow(float x, float y, bool bUp, eTUILook look);
    // The pointer sprite with its tip at the pointer.
    void DrawPointer(float x, float y);

private:
    // The button sprite whose width is nearest at or above width, else the widest.
    kSprite* ButtonSpriteFor(float width) const;
    void DrawSprite(kSprite* sprite, float x, float y, float width, float height,
                    unsigned int colour);

    static constexpr int kNumButtonWidths = 7;
    kSharedPtr<kFont> m_titleFont;
    kSharedPtr<kFont> m_bodyFont;
    kSharedPtr<kFont> m_buttonFont;
    kSprite* m_buttons[kNumButtonWidths] = {};
    kSprite* m_radioOff = nullptr;
    kSprite* m_radioOn = nullptr;
    kSprite* m_arrowLeft = nullptr;
    kSprite* m_arrowRight = nullptr;
    kSprite* m_arrowUp = nullptr;
    kSprite* m_arrowDown = nullptr;
    kSprite* m_volumeBar = nullptr;
    kSprite* m_backArrow = nullptr;
    kSprite* m_help = nullptr;
    kSprite* m_textBox = nullptr;
    kSprite* m_pointer = nullptr;
    kSprite* m_panel = nullptr;
    kUIRect m_frame{};
    bool m_bFramed = false;
};

} // namespace Kelvo_lib
