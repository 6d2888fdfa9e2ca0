// kUIWidget: a node of a screen's widget tree, laid out relative to its parent (pixels,
// or percent of the parent's size), with an optional font, a focus path and pointer
// events (over, hot, leave, button down and up, capture). A widget owns its children:
// destroying it destroys its subtree and drops the focus link and the pointer capture
// that point at it. Widgets are made by class; the base draws nothing and handles no
// event. Main thread only.
#pragma once

#include <game/kgameleaf.h>

#include <kelvo/containers/ksharedptr.h>
#include <kelvo/containers/kstring.h>
#include <kelvo/containers/ktreenode.h>

namespace Kelvo_lib {

class kFont;

// Pixels, as floats.
struct kUIPoint {
    float x = 0.0f;
    float y = 0.0f;
};

struct kUIRect {
    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;
};

// The m_positionFlags of positions and sizes: 0 is pixels, any other value percent of a
// reference size.
enum : unsigned int {
    KUI_POSITION_PIXELS = 0,
    KUI_POSITION_PERCENT = 1,
};

struct kUIWidgetPosition {
    unsigned int m_positionFlags = KUI_POSITION_PIXELS;
    float m_x = 0.0f;
    float m_y = 0.0f;
};

// A negative coordinate asks for the widget's ideal size.
struct kUIWidgetSize {
    unsigned int m_positionFlags = KUI_POSITION_PIXELS;
    float m_x = 0.0f;
    float m_y = 0.0f;
};

struct kUIWidgetSizeCoord {
    unsigned int m_positionFlags = KUI_POSITION_PIXELS;
    float m_coord = 0.0f;
};

// A widget's own font when m_flags is non-zero.
struct kUIFont {
    unsigned int m_flags = 0;
    kSharedPtr<kFont> m_font;
};

// The text held by text widgets.
struct kUIText {
    kString str;
};

// Horizontal alignment in the high nibble, vertical in the low: 0 left or top, 1 right
// or bottom, 2 centre.
enum kUIAlign : unsigned int {
    KUI_LEFT_TOP = 0x00,
    KUI_LEFT_BOTTOM = 0x01,
    KUI_LEFT_CENTER = 0x02,
    KUI_RIGHT_TOP = 0x10,
    KUI_RIGHT_BOTTOM = 0x11,
    KUI_RIGHT_CENTER = 0x12,
    KUI_CENTER_TOP = 0x20,
    KUI_CENTER_BOTTOM = 0x21,
    KUI_CENTER_CENTER = 0x22,
    KUI_TOP_LEFT = 0x00,
    KUI_TOP_RIGHT = 0x10,
    KUI_TOP_CENTER = 0x20,
    KUI_BOTTOM_LEFT = 0x01,
    KUI_BOTTOM_RIGHT = 0x11,
    KUI_BOTTOM_CENTER = 0x21,
    KUI_CENTER_LEFT = 0x02,
    KUI_CENTER_RIGHT = 0x12,
};

enum kUIAlignAxis : unsigned int {
    KUI_LEFT = 0,
    KUI_RIGHT = 1,
    KUI_CENTER = 2,
    KUI_TOP = 0,
    KUI_BOTTOM = 1,
};

// The offset of an item of size b inside a box of size a; an axis value other than
// left, right or centre gives 0.
kUIPoint kUICalcAlign(kUIAlign align, const kUIPoint& a, const kUIPoint& b);
float kUICalcAlignAxis(kUIAlignAxis axis, float a, float b);

// m_widgetFlags.
enum : unsigned int {
    KUI_WIDGET_FOCUS_ON_HIT = 0x1,   // a hit gives the widget the focus
    KUI_WIDGET_FOCUS_ON_PRESS = 0x2, // a button-1 press on it gives it the focus
    KUI_WIDGET_HIDDEN = 0x100,       // not drawn, no input, children included
    KUI_WIDGET_NOINPUT = 0x200,      // no input for it and its children
};

// m_mouseState and m_prevMouseState.
enum : unsigned int {
    KUI_MOUSE_HOT = 0x1,  // the innermost widget that took the pointer
    KUI_MOUSE_OVER = 0x2, // the pointer is inside the widget's rectangle
};

class kUIWidget : public kTreeNode<kUIWidget>,
                  public kPlainNameRTTI<kUIWidget, kGameLeaf,
                                        kCLSID<0xD7F1A20B, 0x20AA, 0x4CDB, 0xA792E892FD32147E>> {
public:
    kUIWidget() = default;
    // Also clears the parent's focus link and the pointer capture when they name it.
    ~kUIWidget() override;

    virtual void Tick(float) {}
    virtual void Render() {}
    virtual kUIPoint GetIdealSize() const { return {}; }
    // Whether a hit at pt (the widget's own coordinates) keeps the pointer from the
    // widgets below.
    virtual bool HitMask(const kUIPoint&) { return true; }
    virtual void OnMouseLeave() {}
    virtual void OnMouseLeaveHot() {}
    virtual void OnMouseOver() {}
    virtual void OnMouseOverHot() {}
    virtual void OnMouseHot(const kUIPoint&, unsigned int, unsigned int) {}
    virtual void OnMouseDown(const kUIPoint&, unsigned int) {}
    virtual void OnMouseUp(const kUIPoint&, unsigned int) {}
    virtual void OnMouse(const kUIPoint&, unsigned int, unsigned int) {}
    virtual void OnGainFocus() {}
    virtual void OnLoseFocus() {}
    virtual void OnKey(unsigned char, unsigned char) {}

    // Layout. The rectangle is relative to the parent's origin and computed afresh.
    const kUIRect* GetRect() const;
    // Sets the width and height of the rectangle.
    void UpdateSize() const;
    // pos measured in the size of widget (the display's when null).
    void CalcPos(kUIPoint& result, const kUIWidgetPosition& pos, const kUIWidget* widget) const;
    float PixelSizeX(const kUIWidgetSizeCoord& size) const;
    float PixelSizeY(const kUIWidgetSizeCoord& size) const;
    // A point of this widget's client space in screen pixels.
    kUIPoint WidgetClientToScreen(const kUIPoint& pt) const;
    // A rectangle of the parent's space in screen pixels.
    kUIRect WidgetToScreen(const kUIRect& rect) const;

    bool IsVisible() const { return (m_widgetFlags & KUI_WIDGET_HIDDEN) == 0; }
    // The nearest font of this widget or an ancestor, else the default font.
    kSharedPtr<kFont> GetFont() const;
    static void SetDefaultFont(const kSharedPtr<kFont>& font);

    // Makes the chain of focus links from the root end at this widget.
    void SetFocus();
    void InternalSetParentFocus();

    // On a root, once a frame: reads the pointer and the buttons and dispatches the
    // pointer events through the tree. Returns whether the pointer hit something that
    // masks it.
    bool ProcessInput();
    // pos in the parent's space; true when the widget took the event.
    bool ProcessMouseEvent(const kUIPoint& pos, unsigned int mouseDownFlags,
                           unsigned int mouseUpFlags);
    // This widget gets every pointer event until ReleaseMouse; returns the previous holder.
    kUIWidget* CaptureMouse();
    // Clears the capture, whoever holds it.
    void ReleaseMouse();

    unsigned int m_widgetFlags = 0;
    kString m_id;
    kUIWidgetPosition m_anchor; // the point of the widget, in its own size, placed at m_pos
    kUIWidgetPosition m_pos;    // where the anchor goes, in the parent's size
    kUIWidgetSize m_size;
    kUIFont m_font;
    mutable kUIRect m_rect;
    unsigned int m_mouseState = 0;
    unsigned int m_prevMouseState = 0;
    kUIWidget* m_focusChild = nullptr;
    kUIPoint m_mouseOverPos;
    kUIPoint m_mouseHotPos;

private:
    bool AcceptsInput() const;
    // The size that percentages of this widget's size refer to: the parent's, or the
    // display's at a root.
    kUIPoint ReferenceSize() const;
    float PixelSizeOnAxis(const kUIWidgetSizeCoord& size, float kUIPoint::*axis) const;
    // A root's reading of the pointer and the buttons, dispatched to the capture or the tree.
    bool ProcessRootPointer();
    // The pointer is on this widget and no child took it: button events, focus, hot.
    void TakeHit(const kUIPoint& local, unsigned int mouseDownFlags, unsigned int mouseUpFlags);
    // What ProcessMouseEvent answers for a hit.
    bool ReportsHit();
};

} // namespace Kelvo_lib
