// TUI: a menu built in code from screens of components (texts, buttons, radio buttons,
// spinners) placed at fractions of the display. A derived menu builds its screens and gets
// the pointer's events through its virtual handlers; Tick drives the active screen with the
// pointer and the A button, Render draws it, then the pointer. A sub-screen is shown beside
// the active screen on a panel of its own, fitted to its components: the screen then keeps
// the left part of the display and the sub-screen's fractions map into the right part; only
// the active screen takes the pointer. The TUI owns its screens and a screen its components.
// Main thread only.
#pragma once

#include <services/mninputedge.h>
#include <tui/tuiart.h>
#include <tui/tuistring.h>

#include <ui/kuiwidget.h>

#include <kelvo/containers/karray.h>
#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class TUI;

enum eTUIComponentType {
    TUI_TYPE_TEXT = 1,
    TUI_TYPE_BUTTON = 2,
    TUI_TYPE_RADIOBUTTON = 3,
    TUI_TYPE_SPINNER = 4,
};

// Positions: m_fX is the centre (or an anchored edge of a text), m_fY the top, both
// fractions of the display; a negative coordinate puts a button at the back button's place,
// the bottom-left corner.
class TUIComponent {
public:
    TUIComponent(const TUIComponent&) = delete;
    TUIComponent& operator=(const TUIComponent&) = delete;
    virtual ~TUIComponent() = default;

    // The rectangle the component covers, in pixels.
    virtual kUIRect Bounds(const TUIArt& art) const = 0;
    virtual void Draw(TUIArt& art, eTUILook look) = 0;
    // Whether the pointer can make it the active component.
    virtual bool IsSelectable() const { return true; }

    int m_type;
    bool m_bEnabled = true;
    // A disabled component whose work is done looks finished, not unavailable.
    bool m_bDone = false;
    bool m_bVisible = true;
    float m_fX;
    float m_fY;

protected:
    TUIComponent(int type, float x, float y) : m_type(type), m_fX(x), m_fY(y) {}
};

class TUIText : public TUIComponent {
public:
    TUIText(const TUIString& text, float x, float y, bool bTitle, bool bFooter);

    kUIRect Bounds(const TUIArt& art) const override;
    void Draw(TUIArt& art, eTUILook look) override;
    bool IsSelectable() const override { return false; }
    // Whether the cursor mark (the last character) shows in this half-second.
    static bool CursorShows(float time);

    TUIString m_text;
    bool m_bTitle;
    bool m_bFooter;
    bool m_bBoxed = false;
    bool m_bHeading = false; // in the buttons' bold type, over the text it names
    bool m_bCursor = false;  // the last character blinks
    int m_maxTyped = 0;      // above 0: no cursor once this many characters stand before it
    float m_fFixedWidth = 0; // above 0: wrapped to this fraction of the display width
    bool m_bAnchorLeft = false;
    bool m_bAnchorRight = false;
    float m_fTime = 0.0f; // for the cursor's blink

private:
    kFont* FontOf(const TUIArt& art) const;
    // Whether the text, formatted, ends in a cursor mark that shows at this time: not in the
    // blink's off half, nor after a field full to m_maxTyped.
    bool ShowsCursor(const char* text) const;

    mutable kString m_wrapSource; // the text m_wrapped was made from, at m_fWrapWidth
    mutable kString m_wrapped;
    mutable float m_fWrapWidth = 0.0f;
    // The text as drawn: formatted, wrapped to the fixed width.
    kString Layout(const TUIArt& art) const;
};

class TUIButton : public TUIComponent {
public:
    TUIButton(const TUIString& text, float x, float y, bool bBack, int fixWidth);

    kUIRect Bounds(const TUIArt& art) const override;
    void Draw(TUIArt& art, eTUILook look) override;
    bool IsBackPlace() const { return m_fX < 0.0f || m_fY < 0.0f; }

    TUIString m_text;
    bool m_bBack;
    int m_fixWidth;
};

class TUIRadioButton : public TUIComponent {
public:
    static constexpr int kDefaultWidth = 187;

    TUIRadioButton(const TUIString& text, float x, float y, int fixWidth);

    kUIRect Bounds(const TUIArt& art) const override;
    void Draw(TUIArt& art, eTUILook look) override;

    TUIString m_text;
    int m_fixWidth;
    bool m_bOn = false;
};

class TUISpinner : public TUIComponent {
public:
    static constexpr int kDefaultWidth = 256;

    TUISpinner(const kArray<TUIString>& textList, float x, float y, int fixWidth);

    kUIRect Bounds(const TUIArt& art) const override;
    void Draw(TUIArt& art, eTUILook look) override;
    // Moves the index one step, wrapping at both ends; nothing for an empty list.
    void Step(int direction);

    kArray<TUIString> m_textList;
    int m_index = 0;
    int m_fixWidth;
};

class TUIScreen {
public:
    TUIScreen() = default;
    TUIScreen(const TUIScreen&) = delete;
    TUIScreen& operator=(const TUIScreen&) = delete;
    ~TUIScreen();

    // The topmost visible selectable component at a pixel point, or null.
    TUIComponent* ComponentAt(const TUIArt& art, float x, float y) const;

    TUIComponent* m_activeComponent = nullptr;
    kArray<TUIComponent*> m_componentList; // in the order added; owned
};

class TUI : public kHasSlots<> {
public:
    TUI();
    TUI(const TUI&) = delete;
    TUI& operator=(const TUI&) = delete;
    virtual ~TUI();

    // Restarts the title music when another cue or none plays, then handles the pointer on
    // the active screen (see the handlers below).
    virtual void Tick(float delta);
    // The active screen, the sub-screen's panel, the overlay, the help button when shown, then
    // the pointer.
    virtual void Render();

    // A release of the A button over the enabled button it was pressed on, or over an
    // enabled back button.
    virtual void ButtonPressed(TUIScreen*, TUIButton*) {}
    // A visible button, enabled or not, became the active component under the pointer.
    virtual void ButtonSelected(TUIScreen*, TUIButton*) {}
    // After m_bOn flipped.
    virtual void RadioButtonPressed(TUIScreen*, TUIRadioButton*) {}
    // After m_index moved one step towards the arrow pressed, wrapping.
    virtual void SpinnerPressed(TUIScreen*, TUISpinner*) {}
    virtual void RadioButtonSelected(TUIScreen*, TUIRadioButton*) {}
    virtual void SpinnerSelected(TUIScreen*, TUISpinner*) {}

    TUIScreen* AddScreen();
    // Deletes the screen and its components; the active screen or sub-screen becomes none.
    void RemoveScreen(TUIScreen* screen);
    void SetActiveScreen(TUIScreen* screen);
    void SetActiveSubScreen(TUIScreen* screen);
    TUIScreen* GetActiveScreen() const { return m_activeScreen; }
    const kArray<TUIScreen*>& GetScreens() const { return m_screenList; }
    TUIScreen* GetActiveSubScreen() const { return m_activeSubScreen; }

    // Each appends a visible, enabled component to the screen and returns it; null (logged)
    // for a screen this TUI does not hold.
    TUIText* AddText(TUIScreen* screen, const TUIString& text, float x, float y,
                     bool bTitle = false, bool bFooter = false);
    TUIButton* AddButton(TUIScreen* screen, const TUIString& text, float x, float y,
                         bool bBack = false, int fixWidth = TUIArt::kFittedButton);
    TUIRadioButton* AddRadioButton(TUIScreen* screen, const TUIString& text, float x, float y,
                                   int fixWidth = 0);
    TUISpinner* AddSpinner(TUIScreen* screen, const kArray<TUIString>& textList, float x, float y,
                           int fixWidth = 0);

    // Whether the help button shows at the bottom-right corner of every screen (off at first).
    void SetShowHelp(bool bShow) { m_bShowHelp = bShow; }
    // The pointer reading of the last tick.
    const MNInputEdge& GetPointer() const { return m_pointer; }
    // Where a component of the active screen is drawn, in pixels.
    kUIRect ActiveScreenBounds(const TUIComponent* component);

    kSignal0<> SignalHelp;

protected:
    // What a derived menu draws over the screen and under the help button and the pointer.
    virtual void RenderOverlay() {}
    // Where the active screen's fractions map, in pixels: the display's left part beside a
    // sub-screen, else the whole display.
    kUIRect ScreenFrame() const;

    TUIArt m_art;

private:
    bool Holds(const TUIScreen* screen) const;
    template <class T>
    T* Append(TUIScreen* screen, T* component);
    void RestartTitleMusic();
    void AdvanceCursors(TUIScreen* screen, float delta);
    kUIRect HelpBounds() const;
    bool IsOverHelp() const;
    void Hover(TUIScreen* screen, TUIComponent* hit);
    void Press(TUIScreen* screen, TUIComponent* component);
    void Release(TUIScreen* screen, TUIComponent* hit);
    eTUILook LookOf(const TUIScreen* screen, const TUIComponent* component) const;
    // Where the sub-screen's fractions map, and its panel.
    kUIRect SubScreenFrame() const;
    kUIRect PanelBounds(const TUIScreen* screen) const;
    // The visible components; a screen that is not live draws each at rest.
    void DrawComponents(TUIScreen* screen, bool bLive);

    kArray<TUIScreen*> m_screenList;
    TUIScreen* m_activeScreen = nullptr;
    TUIScreen* m_activeSubScreen = nullptr;
    MNInputEdge m_pointer;
    TUIComponent* m_pressed = nullptr; // where the A button went down, until it comes up
    bool m_bPressedHelp = false;
    bool m_bShowHelp = false;
    bool m_bHelpHot = false;
};

// A widget that ticks and draws a TUI it does not own, so that a TUI menu can stand in a
// screen's widget tree. It has no record of its own: the widgets made from it are created by
// class with kUIWidget as their records' base.
class TUIWidgetBase : public kUIWidget {
public:
    void Tick(float delta) override;
    void Render() override;

    TUI* m_tui = nullptr;
};

class TUIWidget : public kPlainNameRTTI<TUIWidget, TUIWidgetBase, kCLSID<0, 0, 0, 0>> {};

} // namespace Kelvo_lib
