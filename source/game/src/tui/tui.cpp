// The TUI toolkit: component geometry and drawing, and the pointer rules of a menu's tick.
#include <tui/tui.h>

#include <services/mnsound.h>
#include <services/splittext.h>

#include <kelvo/platform/klog.h>

#include <algorithm>
#include <cstring>

namespace Kelvo_lib {

namespace {

constexpr float kBoxPadX = 12.0f;
constexpr float kBoxPadY = 6.0f;
constexpr float kMinBoxWidth = 256.0f;
constexpr float kCursorPeriod = 1.0f; // the cursor shows in the first half of each period
constexpr int kTitleCue = 0;
constexpr unsigned int kFooterColour = TUIArt::kMuted;

bool Contains(const kUIRect& rect, float x, float y) {
    return x >= rect.x && x < rect.x + rect.w && y >= rect.y && y < rect.y + rect.h;
}

// Beside a sub-screen the screen keeps this share of the display's width, from its left edge;
// the sub-screen's panel takes the rest up to the title-safe margin.
constexpr float kScreenShare = 0.6f;
constexpr float kSafeMargin = TUIArt::kSafeMargin;
constexpr float kPanelGap = 6.0f;

// A centred row of the given width and the button height at a component's place.
kUIRect CentredRow(const TUIArt& art, float fx, float fy, float width) {
    return kUIRect{art.FrameX(fx) - width * 0.5f, art.FrameY(fy), width, TUIArt::kButtonHeight};
}

} // namespace

// --- TUIText ---

TUIText::TUIText(const TUIString& text, float x, float y, bool bTitle, bool bFooter)
    : TUIComponent(TUI_TYPE_TEXT, x, y), m_text(text), m_bTitle(bTitle), m_bFooter(bFooter) {}

bool TUIText::CursorShows(float time) {
    const float phase =
        time - static_cast<float>(static_cast<int>(time / kCursorPeriod)) * kCursorPeriod;
    return phase < kCursorPeriod * 0.5f;
}

bool TUIText::ShowsCursor(const char* text) const {
    const bool bFull = m_maxTyped > 0 && std::strlen(text) > static_cast<size_t>(m_maxTyped);
    return !bFull && CursorShows(m_fTime);
}

kFont* TUIText::FontOf(const TUIArt& art) const {
    if (m_bTitle) {
        return art.GetTitleFont();
    }
    return m_bHeading ? art.GetButtonFont() : art.GetBodyFont();
}

kString TUIText::Layout(const TUIArt& art) const {
    char text[TUIString::kMaxLength];
    m_text.Format(text, sizeof(text));
    if (m_bCursor && text[0] != 0 && !ShowsCursor(text)) {
        text[std::strlen(text) - 1] = 0;
    }
    const float wrapWidth = art.WrapWidth(m_fFixedWidth);
    if (wrapWidth <= 0.0f) {
        return kString(text);
    }
    // Wrapping measures every line: it is done again only when the text or width changes.
    if (!(m_wrapSource == text) || m_fWrapWidth != wrapWidth) {
        m_wrapSource = text;
        m_fWrapWidth = wrapWidth;
        m_wrapped = SplitText(FontOf(art), m_wrapSource, wrapWidth);
    }
    return m_wrapped;
}

kUIRect TUIText::Bounds(const TUIArt& art) const {
    const kString text = Layout(art);
    int width = 0;
    int height = 0;
    TUIArt::Measure(FontOf(art), text, width, height);
    const float x = art.FrameX(m_fX);
    const float w = static_cast<float>(width);
    const float left = m_bAnchorLeft ? x : (m_bAnchorRight ? x - w : x - w * 0.5f);
    return kUIRect{left, art.FrameY(m_fY), w, static_cast<float>(height)};
}

void TUIText::Draw(TUIArt& art, eTUILook) {
    const kString text = Layout(art);
    const float x = art.FrameX(m_fX);
    const float y = art.FrameY(m_fY);
    const eTUIAlign align =
        m_bAnchorLeft ? TUI_ALIGN_LEFT : (m_bAnchorRight ? TUI_ALIGN_RIGHT : TUI_ALIGN_CENTRE);
    unsigned int colour = m_bFooter ? kFooterColour : TUIArt::kWhite;
    if (m_bBoxed) {
        // The box keeps its size while the cursor blinks: measure the whole text.
        char whole[TUIString::kMaxLength];
        m_text.Format(whole, sizeof(whole));
        int width = 0;
        int height = 0;
        TUIArt::Measure(FontOf(art), whole[0] != 0 ? whole : "A", width, height);
        const float boxWidth = static_cast<float>(width) + 2.0f * kBoxPadX > kMinBoxWidth
                                   ? static_cast<float>(width) + 2.0f * kBoxPadX
                                   : kMinBoxWidth;
        art.DrawTextBox(x - boxWidth * 0.5f, y - kBoxPadY, boxWidth,
                        static_cast<float>(height) + 2.0f * kBoxPadY);
        colour = TUIArt::kInk;
    }
    art.DrawText(FontOf(art), x, y, text, colour, align);
}

// --- TUIButton ---

TUIButton::TUIButton(const TUIString& text, float x, float y, bool bBack, int fixWidth)
    : TUIComponent(TUI_TYPE_BUTTON, x, y), m_text(text), m_bBack(bBack), m_fixWidth(fixWidth) {}

kUIRect TUIButton::Bounds(const TUIArt& art) const {
    char label[TUIString::kMaxLength];
    m_text.Format(label, sizeof(label));
    if (IsBackPlace()) {
        return kUIRect{TUIArt::kMargin,
                       TUIArt::DisplayHeight() - TUIArt::kMargin - TUIArt::kButtonHeight,
                       art.BackButtonWidth(label), TUIArt::kButtonHeight};
    }
    return CentredRow(art, m_fX, m_fY, art.ButtonWidth(m_fixWidth, label));
}

void TUIButton::Draw(TUIArt& art, eTUILook look) {
    char label[TUIString::kMaxLength];
    m_text.Format(label, sizeof(label));
    const kUIRect rect = Bounds(art);
    if (IsBackPlace() || (m_bBack && m_fixWidth == TUIArt::kFittedButton)) {
        art.DrawBackButton(rect.x, rect.y, label, look);
    } else {
        art.DrawButton(rect.x, rect.y, rect.w, label, look);
    }
}

// --- TUIRadioButton ---

TUIRadioButton::TUIRadioButton(const TUIString& text, float x, float y, int fixWidth)
    : TUIComponent(TUI_TYPE_RADIOBUTTON, x, y), m_text(text), m_fixWidth(fixWidth) {}

kUIRect TUIRadioButton::Bounds(const TUIArt& art) const {
    return CentredRow(art, m_fX, m_fY,
                      static_cast<float>(m_fixWidth > 0 ? m_fixWidth : kDefaultWidth));
}

void TUIRadioButton::Draw(TUIArt& art, eTUILook look) {
    char label[TUIString::kMaxLength];
    m_text.Format(label, sizeof(label));
    const kUIRect rect = Bounds(art);
    art.DrawRadioButton(rect.x, rect.y, rect.w, label, m_bOn, look);
}

// --- TUISpinner ---

TUISpinner::TUISpinner(const kArray<TUIString>& textList, float x, float y, int fixWidth)
    : TUIComponent(TUI_TYPE_SPINNER, x, y), m_textList(textList), m_fixWidth(fixWidth) {}

kUIRect TUISpinner::Bounds(const TUIArt& art) const {
    return CentredRow(art, m_fX, m_fY,
                      static_cast<float>(m_fixWidth > 0 ? m_fixWidth : kDefaultWidth));
}

void TUISpinner::Draw(TUIArt& art, eTUILook look) {
    char label[TUIString::kMaxLength] = "";
    if (m_index >= 0 && m_index < m_textList.Size()) {
        m_textList(m_index).Format(label, sizeof(label));
    }
    const kUIRect rect = Bounds(art);
    art.DrawSpinner(rect.x, rect.y, rect.w, label, look);
}

void TUISpinner::Step(int direction) {
    const int count = m_textList.Size();
    if (count == 0) {
        return;
    }
    m_index = ((m_index + direction) % count + count) % count;
}

// --- TUIScreen ---

TUIScreen::~TUIScreen() {
    for (int i = 0; i < m_componentList.Size(); ++i) {
        delete m_componentList(i);
    }
}

TUIComponent* TUIScreen::ComponentAt(const TUIArt& art, float x, float y) const {
    for (int i = m_componentList.Size() - 1; i >= 0; --i) {
        TUIComponent* component = m_componentList(i);
        if (component->m_bVisible && component->IsSelectable() &&
            Contains(component->Bounds(art), x, y)) {
            return component;
        }
    }
    return nullptr;
}

// --- TUI ---

TUI::TUI() = default;

TUI::~TUI() {
    for (int i = 0; i < m_screenList.Size(); ++i) {
        delete m_screenList(i);
    }
}

TUIScreen* TUI::AddScreen() {
    TUIScreen* screen = new TUIScreen;
    m_screenList.Push(screen);
    return screen;
}

bool TUI::Holds(const TUIScreen* screen) const {
    for (int i = 0; i < m_screenList.Size(); ++i) {
        if (m_screenList(i) == screen) {
            return true;
        }
    }
    return false;
}

void TUI::RemoveScreen(TUIScreen* screen) {
    if (screen == nullptr || !Holds(screen)) {
        kLogFmt("TUI::RemoveScreen: not a screen of this menu\n");
        return;
    }
    m_screenList.RemoveElement(screen);
    if (m_activeScreen == screen) {
        m_activeScreen = nullptr;
    }
    if (m_activeSubScreen == screen) {
        m_activeSubScreen = nullptr;
    }
    m_pressed = nullptr;
    delete screen;
}

void TUI::SetActiveScreen(TUIScreen* screen) {
    m_activeScreen = screen;
    m_pressed = nullptr;
}

void TUI::SetActiveSubScreen(TUIScreen* screen) {
    m_activeSubScreen = screen;
}

template <class T>
T* TUI::Append(TUIScreen* screen, T* component) {
    if (screen == nullptr || !Holds(screen)) {
        kLogFmt("TUI: component added to a screen this menu does not hold\n");
        delete component;
        return nullptr;
    }
    screen->m_componentList.Push(component);
    return component;
}

TUIText* TUI::AddText(TUIScreen* screen, const TUIString& text, float x, float y, bool bTitle,
                      bool bFooter) {
    return Append(screen, new TUIText(text, x, y, bTitle, bFooter));
}

TUIButton* TUI::AddButton(TUIScreen* screen, const TUIString& text, float x, float y, bool bBack,
                          int fixWidth) {
    return Append(screen, new TUIButton(text, x, y, bBack, fixWidth));
}

TUIRadioButton* TUI::AddRadioButton(TUIScreen* screen, const TUIString& text, float x, float y,
                                    int fixWidth) {
    return Append(screen, new TUIRadioButton(text, x, y, fixWidth));
}

TUISpinner* TUI::AddSpinner(TUIScreen* screen, const kArray<TUIString>& textList, float x, float y,
                            int fixWidth) {
    return Append(screen, new TUISpinner(textList, x, y, fixWidth));
}

void TUI::RestartTitleMusic() {
    if (MNSound::GetMusicPlayingIdx() != kTitleCue) {
        MNSound::StopMusic();
        MNSound::PlayMusic(kTitleCue);
    }
}

void TUI::AdvanceCursors(TUIScreen* screen, float delta) {
    if (screen == nullptr) {
        return;
    }
    for (int i = 0; i < screen->m_componentList.Size(); ++i) {
        TUIComponent* component = screen->m_componentList(i);
        if (component->m_type == TUI_TYPE_TEXT) {
            static_cast<TUIText*>(component)->m_fTime += delta;
        }
    }
}

kUIRect TUI::HelpBounds() const {
    const float size = m_art.HelpButtonSize();
    return kUIRect{TUIArt::DisplayWidth() - TUIArt::kMargin - size,
                   TUIArt::DisplayHeight() - TUIArt::kMargin - size, size, size};
}

bool TUI::IsOverHelp() const {
    return m_bShowHelp && Contains(HelpBounds(), m_pointer.GetX(), m_pointer.GetY());
}

void TUI::Tick(float delta) {
    RestartTitleMusic();
    m_pointer.Update();
    AdvanceCursors(m_activeScreen, delta);
    AdvanceCursors(m_activeSubScreen, delta);
    TUIScreen* screen = m_activeScreen;
    if (screen == nullptr) {
        return;
    }
    m_art.SetFrame(ScreenFrame());
    m_bHelpHot = IsOverHelp();
    TUIComponent* hit =
        m_bHelpHot ? nullptr : screen->ComponentAt(m_art, m_pointer.GetX(), m_pointer.GetY());
    if (m_pointer.WasPressed()) {
        m_pressed = hit;
        m_bPressedHelp = m_bHelpHot;
    }
    Hover(screen, hit);
    // A handler may have changed screens: the release belongs to the screen it began on.
    if (m_pointer.WasReleased() && screen == m_activeScreen) {
        Release(screen, hit);
    }
}

void TUI::Hover(TUIScreen* screen, TUIComponent* hit) {
    if (hit == nullptr || hit == screen->m_activeComponent) {
        return;
    }
    screen->m_activeComponent = hit;
    switch (hit->m_type) {
    case TUI_TYPE_BUTTON:
        ButtonSelected(screen, static_cast<TUIButton*>(hit));
        break;
    case TUI_TYPE_RADIOBUTTON:
        RadioButtonSelected(screen, static_cast<TUIRadioButton*>(hit));
        break;
    case TUI_TYPE_SPINNER:
        SpinnerSelected(screen, static_cast<TUISpinner*>(hit));
        break;
    default:
        break;
    }
}

void TUI::Release(TUIScreen* screen, TUIComponent* hit) {
    const TUIComponent* pressed = m_pressed;
    const bool bPressedHelp = m_bPressedHelp;
    m_pressed = nullptr;
    m_bPressedHelp = false;
    if (m_bHelpHot) {
        if (bPressedHelp) {
            SignalHelp();
        }
        return;
    }
    if (hit == nullptr || !hit->m_bEnabled) {
        return;
    }
    const bool bBack = hit->m_type == TUI_TYPE_BUTTON && static_cast<TUIButton*>(hit)->m_bBack;
    if (hit == pressed || bBack) {
        Press(screen, hit);
    }
}

void TUI::Press(TUIScreen* screen, TUIComponent* component) {
    switch (component->m_type) {
    case TUI_TYPE_BUTTON:
        ButtonPressed(screen, static_cast<TUIButton*>(component));
        break;
    case TUI_TYPE_RADIOBUTTON: {
        auto* radio = static_cast<TUIRadioButton*>(component);
        radio->m_bOn = !radio->m_bOn;
        RadioButtonPressed(screen, radio);
        break;
    }
    case TUI_TYPE_SPINNER: {
        auto* spinner = static_cast<TUISpinner*>(component);
        const kUIRect rect = spinner->Bounds(m_art);
        spinner->Step(m_pointer.GetX() < rect.x + rect.w * 0.5f ? -1 : 1);
        SpinnerPressed(screen, spinner);
        break;
    }
    default:
        break;
    }
}

eTUILook TUI::LookOf(const TUIScreen* screen, const TUIComponent* component) const {
    if (!component->m_bEnabled) {
        return component->m_bDone ? TUI_LOOK_DONE : TUI_LOOK_DISABLED;
    }
    return component == screen->m_activeComponent ? TUI_LOOK_HOT : TUI_LOOK_REST;
}

kUIRect TUI::ScreenFrame() const {
    const float width = TUIArt::DisplayWidth();
    const float share = m_activeSubScreen != nullptr ? kScreenShare : 1.0f;
    return kUIRect{0.0f, 0.0f, width * share, TUIArt::DisplayHeight()};
}

kUIRect TUI::ActiveScreenBounds(const TUIComponent* component) {
    m_art.SetFrame(ScreenFrame());
    const kUIRect bounds = component->Bounds(m_art);
    m_art.ClearFrame();
    return bounds;
}

kUIRect TUI::SubScreenFrame() const {
    const float width = TUIArt::DisplayWidth();
    const float left = width * kScreenShare + kPanelGap;
    return kUIRect{left, 0.0f, width * (1.0f - kSafeMargin) - left, TUIArt::DisplayHeight()};
}

// The panel holds the sub-screen's visible components with a margin around them, between the
// title-safe top and the row of the back and help buttons; with none it takes all of that.
// The art's frame must be the sub-screen's.
kUIRect TUI::PanelBounds(const TUIScreen* screen) const {
    const kUIRect frame = SubScreenFrame();
    float top = TUIArt::DisplayHeight() * kSafeMargin * 0.5f;
    float bottom = TUIArt::DisplayHeight() - TUIArt::kMargin - TUIArt::kButtonHeight - 8.0f;
    float contentTop = bottom;
    float contentBottom = top;
    for (int i = 0; i < screen->m_componentList.Size(); ++i) {
        const TUIComponent* component = screen->m_componentList(i);
        if (component->m_bVisible) {
            const kUIRect bounds = component->Bounds(m_art);
            contentTop = std::min(contentTop, bounds.y - TUIArt::kMargin);
            contentBottom = std::max(contentBottom, bounds.y + bounds.h + TUIArt::kMargin);
        }
    }
    if (contentTop < contentBottom) {
        top = std::max(top, contentTop);
        bottom = std::min(bottom, contentBottom);
    }
    return kUIRect{frame.x, top, frame.w, bottom - top};
}

void TUI::DrawComponents(TUIScreen* screen, bool bLive) {
    for (int i = 0; i < screen->m_componentList.Size(); ++i) {
        TUIComponent* component = screen->m_componentList(i);
        if (component->m_bVisible) {
            component->Draw(m_art, bLive ? LookOf(screen, component) : TUI_LOOK_REST);
        }
    }
}

void TUI::Render() {
    if (m_activeScreen != nullptr) {
        m_art.SetFrame(ScreenFrame());
        DrawComponents(m_activeScreen, true);
    }
    if (m_activeSubScreen != nullptr) {
        m_art.SetFrame(SubScreenFrame());
        m_art.DrawPanel(PanelBounds(m_activeSubScreen));
        DrawComponents(m_activeSubScreen, false);
    }
    m_art.ClearFrame();
    RenderOverlay();
    if (m_bShowHelp) {
        const kUIRect help = HelpBounds();
        m_art.DrawHelpButton(help.x, help.y, m_bHelpHot ? TUI_LOOK_HOT : TUI_LOOK_REST);
    }
    m_art.DrawPointer(m_pointer.GetX(), m_pointer.GetY());
}

// --- TUIWidget ---

namespace {
[[maybe_unused]] kClass* const s_registeredRecords[] = {TUIWidget::StaticClass()};
} // namespace

void TUIWidgetBase::Tick(float delta) {
    if (m_tui != nullptr) {
        m_tui->Tick(delta);
    }
}

void TUIWidgetBase::Render() {
    if (m_tui != nullptr) {
        m_tui->Render();
    }
}

} // namespace Kelvo_lib
