// Widget layout, focus and pointer dispatch, and the state all widget trees share: the
// default font, the pointer capture and the button edges of the frame.
#include <ui/kuiwidget.h>

#include <ui/kuimouse.h>

#include <framework/kproperty.h>
#include <framework/kspritemanager.h>

#include <kelvo/input/kinputsystem.h>
#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

// The widget record, and the property kinds that describe widgets.
[[maybe_unused]] kClass* const s_registeredRecords[] = {
    kUIWidget::StaticClass(),     kPropertyUIPoint::StaticClass(), kPropertyUIRect::StaticClass(),
    kPropertyFlag::StaticClass(), kProperty::StaticClass(),
};

kSharedPtr<kFont> s_defaultFont;
kUIWidget* s_pMouseCapture = nullptr;
// Button bits of this and the last root dispatch, and this frame's edges.
unsigned int s_mouseFlags = 0;
unsigned int s_mouseFlagsPrev = 0;
unsigned int s_mouseDownFlags = 0;
unsigned int s_mouseUpFlags = 0;

constexpr unsigned int kButton1 = 0x1;
constexpr unsigned int kButton2 = 0x2;

// What percentages of a root refer to.
kUIPoint DisplaySize() {
    return {static_cast<float>(kSpriteManager::GetDisplayWidth()),
            static_cast<float>(kSpriteManager::GetDisplayHeight())};
}

bool IsPercent(unsigned int positionFlags) {
    return positionFlags != KUI_POSITION_PIXELS;
}

bool Contains(const kUIRect& rect, const kUIPoint& point) {
    return rect.x <= point.x && point.x <= rect.x + rect.w && rect.y <= point.y &&
           point.y <= rect.y + rect.h;
}

// point in the space of rect's widget, rect being in the space of its parent.
kUIPoint Inside(const kUIRect& rect, const kUIPoint& point) {
    return {point.x - rect.x, point.y - rect.y};
}

unsigned int ReadButtons() {
    if (kInput == nullptr) {
        return 0;
    }
    unsigned int flags = 0;
    if (kInput->GetInputState(KI_MOUSE_BUTTON1, 0) != 0.0f ||
        kInput->GetInputState(KI_PAD1_BUTTON1, 0) != 0.0f) {
        flags |= kButton1;
    }
    if (kInput->GetInputState(KI_MOUSE_BUTTON2, 0) != 0.0f) {
        flags |= kButton2;
    }
    return flags;
}

void ReadButtonEdges() {
    s_mouseFlags = ReadButtons();
    s_mouseDownFlags = s_mouseFlags & ~s_mouseFlagsPrev;
    s_mouseUpFlags = s_mouseFlagsPrev & ~s_mouseFlags;
    s_mouseFlagsPrev = s_mouseFlags;
}

// Clears the focus links below top; the widget that ended the path loses the focus.
void ClearFocusPathBelow(kUIWidget* top) {
    kUIWidget* last = top;
    while (last->m_focusChild != nullptr) {
        kUIWidget* const next = last->m_focusChild;
        last->m_focusChild = nullptr;
        last = next;
    }
    if (last != top) {
        last->OnLoseFocus();
    }
}

bool Entered(const kUIWidget& widget, unsigned int bit) {
    return (widget.m_mouseState & bit) != 0 && (widget.m_prevMouseState & bit) == 0;
}

bool Left(const kUIWidget& widget, unsigned int bit) {
    return (widget.m_prevMouseState & bit) != 0 && (widget.m_mouseState & bit) == 0;
}

void FireLeaveEvents(kUIWidget& widget) {
    if (Left(widget, KUI_MOUSE_OVER)) {
        widget.OnMouseLeave();
    }
    if (Left(widget, KUI_MOUSE_HOT)) {
        widget.OnMouseLeaveHot();
    }
}

void FireOverEvents(kUIWidget& widget, unsigned int down, unsigned int up) {
    if (Entered(widget, KUI_MOUSE_OVER)) {
        widget.OnMouseOver();
    }
    widget.OnMouse(widget.m_mouseOverPos, down, up);
}

void FireHotEvents(kUIWidget& widget, unsigned int down, unsigned int up) {
    if (Entered(widget, KUI_MOUSE_HOT)) {
        widget.OnMouseOverHot();
    }
    widget.OnMouseHot(widget.m_mouseHotPos, down, up);
}

// The over and hot events a child earned this frame, with the frame's button edges.
void FireStateEvents(kUIWidget& widget) {
    if ((widget.m_mouseState & KUI_MOUSE_OVER) != 0) {
        FireOverEvents(widget, s_mouseDownFlags, s_mouseUpFlags);
    }
    if ((widget.m_mouseState & KUI_MOUSE_HOT) != 0) {
        FireHotEvents(widget, s_mouseDownFlags, s_mouseUpFlags);
    }
}

// This frame's pointer bits become last frame's.
void AgeMouseState(kUIWidget& widget) {
    widget.m_prevMouseState = widget.m_mouseState;
    widget.m_mouseState = 0;
}

kUIWidget* LastChild(const kUIWidget& parent) {
    kUIWidget* child = parent.m_firstChild;
    while (child != nullptr && child->m_nextSibling != nullptr) {
        child = child->m_nextSibling;
    }
    return child;
}

// Calls visit for each child from the last to the first until it returns true; returns
// whether one did.
template <class Visit>
bool VisitChildrenLastToFirst(const kUIWidget& parent, Visit visit) {
    for (kUIWidget* child = LastChild(parent); child != nullptr; child = child->PrevSibling()) {
        if (visit(*child)) {
            return true;
        }
    }
    return false;
}

template <class Apply>
void ForEachChildLastToFirst(const kUIWidget& parent, Apply apply) {
    VisitChildrenLastToFirst(parent, [&apply](kUIWidget& child) {
        apply(child);
        return false;
    });
}

} // namespace

kUIPoint kUICalcAlign(kUIAlign align, const kUIPoint& a, const kUIPoint& b) {
    const auto horizontal = static_cast<kUIAlignAxis>((align >> 4) & 0xF);
    const auto vertical = static_cast<kUIAlignAxis>(align & 0xF);
    return {kUICalcAlignAxis(horizontal, a.x, b.x), kUICalcAlignAxis(vertical, a.y, b.y)};
}

float kUICalcAlignAxis(kUIAlignAxis axis, float a, float b) {
    switch (axis) {
    case KUI_RIGHT:
        return a - b;
    case KUI_CENTER:
        return 0.5f * (a - b);
    default:
        return 0.0f;
    }
}

kUIWidget::~kUIWidget() {
    if (m_parent != nullptr && m_parent->m_focusChild == this) {
        m_parent->m_focusChild = nullptr;
    }
    // The owner is meant to release the capture first; a widget that dies holding it
    // must not leave it pointing at freed memory.
    if (s_pMouseCapture == this) {
        s_pMouseCapture = nullptr;
    }
}

const kUIRect* kUIWidget::GetRect() const {
    UpdateSize();
    kUIPoint anchor;
    kUIPoint place;
    CalcPos(anchor, m_anchor, this);
    CalcPos(place, m_pos, m_parent);
    m_rect.x = place.x - anchor.x;
    m_rect.y = place.y - anchor.y;
    return &m_rect;
}

void kUIWidget::UpdateSize() const {
    kUIPoint size{m_size.m_x, m_size.m_y};
    if (size.x < 0.0f || size.y < 0.0f) {
        size = GetIdealSize();
    }
    if (!IsPercent(m_size.m_positionFlags)) {
        m_rect.w = size.x;
        m_rect.h = size.y;
        return;
    }
    const kUIPoint reference = ReferenceSize();
    m_rect.w = 0.01f * size.x * reference.x;
    m_rect.h = 0.01f * size.y * reference.y;
}

void kUIWidget::CalcPos(kUIPoint& result, const kUIWidgetPosition& pos,
                        const kUIWidget* widget) const {
    if (!IsPercent(pos.m_positionFlags)) {
        result = {pos.m_x, pos.m_y};
        return;
    }
    kUIPoint size = DisplaySize();
    if (widget != nullptr) {
        widget->UpdateSize();
        size = {widget->m_rect.w, widget->m_rect.h};
    }
    result = {0.01f * pos.m_x * size.x, 0.01f * pos.m_y * size.y};
}

float kUIWidget::PixelSizeX(const kUIWidgetSizeCoord& size) const {
    return PixelSizeOnAxis(size, &kUIPoint::x);
}

float kUIWidget::PixelSizeY(const kUIWidgetSizeCoord& size) const {
    return PixelSizeOnAxis(size, &kUIPoint::y);
}

float kUIWidget::PixelSizeOnAxis(const kUIWidgetSizeCoord& size, float kUIPoint::*axis) const {
    const float value = size.m_coord < 0.0f ? GetIdealSize().*axis : size.m_coord;
    return IsPercent(size.m_positionFlags) ? 0.01f * value * (ReferenceSize().*axis) : value;
}

kUIPoint kUIWidget::ReferenceSize() const {
    if (m_parent == nullptr) {
        return DisplaySize();
    }
    m_parent->UpdateSize();
    return {m_parent->m_rect.w, m_parent->m_rect.h};
}

kUIPoint kUIWidget::WidgetClientToScreen(const kUIPoint& pt) const {
    kUIPoint result = pt;
    for (const kUIWidget* widget = this; widget != nullptr; widget = widget->m_parent) {
        const kUIRect* rect = widget->GetRect();
        result.x += rect->x;
        result.y += rect->y;
    }
    return result;
}

kUIRect kUIWidget::WidgetToScreen(const kUIRect& rect) const {
    kUIRect result = rect;
    for (const kUIWidget* widget = m_parent; widget != nullptr; widget = widget->m_parent) {
        const kUIRect* parentRect = widget->GetRect();
        result.x += parentRect->x;
        result.y += parentRect->y;
    }
    return result;
}

kSharedPtr<kFont> kUIWidget::GetFont() const {
    for (const kUIWidget* widget = this; widget != nullptr; widget = widget->m_parent) {
        if (widget->m_font.m_flags != 0) {
            return widget->m_font.m_font;
        }
    }
    return s_defaultFont;
}

void kUIWidget::SetDefaultFont(const kSharedPtr<kFont>& font) {
    s_defaultFont = font;
}

void kUIWidget::SetFocus() {
    if (m_parent == nullptr && m_focusChild == nullptr) {
        return;
    }
    if (m_parent != nullptr && m_parent->m_focusChild == this && m_focusChild == nullptr) {
        return;
    }
    InternalSetParentFocus();
    ClearFocusPathBelow(this);
    OnGainFocus();
}

void kUIWidget::InternalSetParentFocus() {
    if (m_parent == nullptr || m_parent->m_focusChild == this) {
        return;
    }
    if (m_parent->m_focusChild != nullptr) {
        ClearFocusPathBelow(m_parent);
    } else {
        m_parent->InternalSetParentFocus();
    }
    m_parent->m_focusChild = this;
}

bool kUIWidget::ProcessInput() {
    bool bResult = false;
    if (m_parent == nullptr) {
        if (AcceptsInput()) {
            bResult = ProcessRootPointer();
        }
        FireLeaveEvents(*this);
        AgeMouseState(*this);
    }
    if (AcceptsInput()) {
        ForEachChildLastToFirst(*this, [](kUIWidget& child) { child.ProcessInput(); });
        ForEachChildLastToFirst(*this, FireLeaveEvents);
        ForEachChildLastToFirst(*this, FireStateEvents);
        ForEachChildLastToFirst(*this, AgeMouseState);
    }
    return bResult;
}

bool kUIWidget::ProcessRootPointer() {
    kUIPoint point{static_cast<float>(kUIMouse::GetPixelX()),
                   static_cast<float>(kUIMouse::GetPixelY())};
    ReadButtonEdges();
    kUIWidget* const capture = s_pMouseCapture;
    if (capture == nullptr) {
        return ProcessMouseEvent(point, s_mouseDownFlags, s_mouseUpFlags);
    }
    for (const kUIWidget* ancestor = capture->m_parent; ancestor != nullptr;
         ancestor = ancestor->m_parent) {
        point = Inside(*ancestor->GetRect(), point);
    }
    return capture->ProcessMouseEvent(point, s_mouseDownFlags, s_mouseUpFlags);
}

bool kUIWidget::ProcessMouseEvent(const kUIPoint& pos, unsigned int mouseDownFlags,
                                  unsigned int mouseUpFlags) {
    if (!AcceptsInput()) {
        return false;
    }
    const kUIRect rect = *GetRect();
    const kUIPoint local = Inside(rect, pos);
    if (Contains(rect, pos)) {
        m_mouseState |= KUI_MOUSE_OVER;
        m_mouseOverPos = local;
        if (m_parent == nullptr) {
            FireOverEvents(*this, mouseDownFlags, mouseUpFlags);
        }
        const bool bChildTook =
            s_pMouseCapture != this && VisitChildrenLastToFirst(*this, [&](kUIWidget& child) {
                return child.ProcessMouseEvent(local, mouseDownFlags, mouseUpFlags);
            });
        if (!bChildTook) {
            TakeHit(local, mouseDownFlags, mouseUpFlags);
        }
        return ReportsHit();
    }
    if (s_pMouseCapture == this) {
        OnMouse(local, mouseDownFlags, mouseUpFlags);
        if (mouseDownFlags != 0) {
            kLogFmt("OnMouseDown2: %s\n", m_id.CStr());
            OnMouseDown(local, mouseDownFlags);
        }
        if (mouseUpFlags != 0) {
            OnMouseUp(local, mouseUpFlags);
        }
        return ReportsHit();
    }
    return false;
}

void kUIWidget::TakeHit(const kUIPoint& local, unsigned int mouseDownFlags,
                        unsigned int mouseUpFlags) {
    if (mouseDownFlags != 0) {
        kLogFmt("OnMouseDown: %s\n", m_id.CStr());
        OnMouseDown(local, mouseDownFlags);
    }
    if (mouseUpFlags != 0) {
        OnMouseUp(local, mouseUpFlags);
    }
    if ((m_widgetFlags & KUI_WIDGET_FOCUS_ON_HIT) != 0 ||
        ((m_widgetFlags & KUI_WIDGET_FOCUS_ON_PRESS) != 0 && (mouseDownFlags & kButton1) != 0)) {
        SetFocus();
    }
    m_mouseState |= KUI_MOUSE_HOT;
    m_mouseHotPos = local;
    if (m_parent == nullptr) {
        FireHotEvents(*this, mouseDownFlags, mouseUpFlags);
    }
}

bool kUIWidget::ReportsHit() {
    if ((m_widgetFlags & (KUI_WIDGET_FOCUS_ON_HIT | KUI_WIDGET_FOCUS_ON_PRESS)) != 0) {
        return false;
    }
    return HitMask(m_mouseHotPos);
}

bool kUIWidget::AcceptsInput() const {
    return (m_widgetFlags & (KUI_WIDGET_HIDDEN | KUI_WIDGET_NOINPUT)) == 0;
}

kUIWidget* kUIWidget::CaptureMouse() {
    kUIWidget* const previous = s_pMouseCapture;
    s_pMouseCapture = this;
    return previous;
}

void kUIWidget::ReleaseMouse() {
    s_pMouseCapture = nullptr;
}

} // namespace Kelvo_lib
