// The toolkit's look: sprites tinted by state (sky at rest, sun yellow under the pointer,
// grey when disabled, paper when done), DejaVu Sans bold for titles and buttons, book for body
// text.
#include <tui/tuiart.h>

#include <services/mnresourcemanager.h>
#include <services/mnslicedsprite.h>

#include <framework/ksprite.h>
#include <framework/kspritemanager.h>

#include <algorithm>
#include <cstring>

namespace Kelvo_lib {

namespace {

constexpr int kButtonWidths[] = {40, 160, 187, 188, 191, 256, 360};
constexpr const char* kButtonNames[] = {
    "wii_fe_button_40",  "wii_fe_button_160", "wii_fe_button_187", "wii_fe_button_188",
    "wii_fe_button_191", "wii_fe_button_256", "wii_fe_button_360"};
constexpr float kLabelRoom = 40.0f; // a sized-to-fit button's room around its label
constexpr float kMinButtonWidth = 120.0f;
constexpr float kDefaultIcon = 32.0f; // size of an icon whose sprite is missing
constexpr float kRadioInset = 6.0f;
constexpr float kSpinnerInset = 4.0f; // between a spinner's ends and its arrows
constexpr float kBarWidth = 10.0f;
constexpr float kBarGap = 4.0f;
constexpr unsigned int kDisabledLabel = 0xFFD8DCE4;
constexpr unsigned int kUnlitBar = 0xFF5A6A90;
constexpr unsigned int kHotUnlitBar = 0xFFC9A52E; // a darker sun yellow
constexpr int kMaxLine = 256;
constexpr float kFramePad = 8.0f;     // room kept between wrapped text and a frame's sides
constexpr float kPanelCorner = 20.0f; // the panel art's rounded corners and shadow, in its pixels

kSprite* FeSprite(const char* bank, const char* name) {
    kSprite* sprite = MNResourceManager::GetSprite(bank, name);
    if (sprite != nullptr) {
        sprite->SetNormalCoordinates(false);
        sprite->SetTransparent(true);
    }
    return sprite;
}

float WidthOf(const kSprite* sprite) {
    return sprite != nullptr ? sprite->GetWidth() : kDefaultIcon;
}

} // namespace

TUIArt::TUIArt()
    : m_titleFont(MNResourceManager::GetFont("wii_font_30", "wii_font_30")),
      m_bodyFont(MNResourceManager::GetFont("wii_font_20", "wii_font_20")),
      m_buttonFont(MNResourceManager::GetFont("wii_font_20b", "wii_font_20b")) {
    for (int i = 0; i < kNumButtonWidths; ++i) {
        m_buttons[i] = FeSprite("fe", kButtonNames[i]);
    }
    m_radioOff = FeSprite("fe", "fe_radio_off");
    m_radioOn = FeSprite("fe", "fe_radio_on");
    m_arrowLeft = FeSprite("fe", "fe_arrow_left");
    m_arrowRight = FeSprite("fe", "fe_arrow_right");
    m_arrowUp = FeSprite("fe", "fe_arrow_up");
    m_arrowDown = FeSprite("fe", "fe_arrow_down");
    m_volumeBar = FeSprite("fe", "fe_volume_bar");
    m_backArrow = FeSprite("fe", "fe_back");
    m_help = FeSprite("fe", "fe_help");
    m_textBox = FeSprite("fe", "fe_text_box");
    m_pointer = FeSprite("ptr", "ptr");
    m_panel = FeSprite("fe", "fe_panel");
}

TUIArt::~TUIArt() {
    for (kSprite* sprite : m_buttons) {
        delete sprite;
    }
    for (kSprite* sprite :
         {m_radioOff, m_radioOn, m_arrowLeft, m_arrowRight, m_arrowUp, m_arrowDown, m_volumeBar,
          m_backArrow, m_help, m_textBox, m_pointer, m_panel}) {
        delete sprite;
    }
}

float TUIArt::DisplayWidth() {
    return static_cast<float>(kSpriteManager::GetDisplayWidth());
}

float TUIArt::DisplayHeight() {
    return static_cast<float>(kSpriteManager::GetDisplayHeight());
}

void TUIArt::Measure(const kFont* font, const char* text, int& width, int& height) {
    width = 0;
    height = 0;
    if (font != nullptr) {
        font->GetStringBound(width, height, text);
    }
}

void TUIArt::SetFrame(const kUIRect& frame) {
    m_frame = frame;
    m_bFramed = true;
}

kUIRect TUIArt::GetFrame() const {
    return m_bFramed ? m_frame : kUIRect{0.0f, 0.0f, DisplayWidth(), DisplayHeight()};
}

float TUIArt::FrameX(float fx) const {
    const kUIRect frame = GetFrame();
    return frame.x + fx * frame.w;
}

float TUIArt::FrameY(float fy) const {
    const kUIRect frame = GetFrame();
    return frame.y + fy * frame.h;
}

float TUIArt::WrapWidth(float fixedWidth) const {
    const float display = DisplayWidth();
    const kUIRect frame = GetFrame();
    if (fixedWidth > 0.0f) {
        return fixedWidth * frame.w / display;
    }
    if (frame.w >= display) {
        return 0.0f;
    }
    const float safe = display * kSafeMargin;
    const float unsafeLeft = safe - frame.x;
    const float unsafeRight = frame.x + frame.w - (display - safe);
    const float inset = std::max({kFramePad, unsafeLeft, unsafeRight});
    return (frame.w - 2.0f * inset) / display;
}

void TUIArt::DrawPanel(const kUIRect& rect) {
    DrawSlicedSprite(m_panel, rect.x, rect.y, rect.w, rect.h, kPanelCorner);
}

unsigned int TUIArt::BodyColour(eTUILook look) {
    switch (look) {
    case TUI_LOOK_HOT:
        return kSun;
    case TUI_LOOK_DISABLED:
        return kGrey;
    case TUI_LOOK_DONE:
        return kPaper;
    case TUI_LOOK_REST:
        break;
    }
    return kSky;
}

unsigned int TUIArt::LabelColour(eTUILook look) {
    switch (look) {
    case TUI_LOOK_HOT:
    case TUI_LOOK_DONE:
        return kInk;
    case TUI_LOOK_DISABLED:
        return kDisabledLabel;
    case TUI_LOOK_REST:
        break;
    }
    return kWhite;
}

float TUIArt::ButtonWidth(int fixWidth, const char* label) const {
    if (fixWidth > 0) {
        return static_cast<float>(fixWidth);
    }
    if (fixWidth == kSquareButton) {
        return kButtonHeight;
    }
    int width = 0;
    int height = 0;
    Measure(GetButtonFont(), label, width, height);
    const float fitted = static_cast<float>(width) + kLabelRoom;
    return fitted > kMinButtonWidth ? fitted : kMinButtonWidth;
}

kSprite* TUIArt::ButtonSpriteFor(float width) const {
    for (int i = 0; i < kNumButtonWidths; ++i) {
        if (static_cast<float>(kButtonWidths[i]) >= width && m_buttons[i] != nullptr) {
            return m_buttons[i];
        }
    }
    return m_buttons[kNumButtonWidths - 1];
}

void TUIArt::DrawSprite(kSprite* sprite, float x, float y, float width, float height,
                        unsigned int colour) {
    if (sprite == nullptr) {
        return;
    }
    sprite->SetPosition(x, y);
    sprite->SetWidth(width);
    sprite->SetHeight(height);
    sprite->SetColour(colour);
    sprite->Render();
}

void TUIArt::DrawLabel(float x, float y, const char* label, eTUILook look, eTUIAlign align) {
    int width = 0;
    int height = 0;
    Measure(GetButtonFont(), label, width, height);
    DrawText(GetButtonFont(), x, y + (kButtonHeight - static_cast<float>(height)) * 0.5f, label,
             LabelColour(look), align);
}

void TUIArt::DrawButtonBody(float x, float y, float width, eTUILook look) {
    DrawSprite(ButtonSpriteFor(width), x, y, width, kButtonHeight, BodyColour(look));
}

void TUIArt::DrawButton(float x, float y, float width, const char* label, eTUILook look) {
    DrawButtonBody(x, y, width, look);
    DrawLabel(x + width * 0.5f, y, label, look, TUI_ALIGN_CENTRE);
}

float TUIArt::BackButtonWidth(const char* label) const {
    if (label == nullptr || label[0] == 0) {
        return WidthOf(m_backArrow) + kLabelRoom * 0.5f;
    }
    return ButtonWidth(kFittedButton, label) + WidthOf(m_backArrow) * 0.5f;
}

void TUIArt::DrawBackButton(float x, float y, const char* label, eTUILook look) {
    const float width = BackButtonWidth(label);
    const float arrow = WidthOf(m_backArrow);
    DrawButtonBody(x, y, width, look);
    if (m_backArrow != nullptr) {
        DrawSprite(m_backArrow, x + kLabelRoom * 0.25f, y + (kButtonHeight - arrow) * 0.5f, arrow,
                   m_backArrow->GetHeight(), LabelColour(look));
    }
    if (label != nullptr && label[0] != 0) {
        const float textLeft = x + kLabelRoom * 0.25f + arrow;
        DrawLabel(textLeft + (x + width - textLeft) * 0.5f, y, label, look, TUI_ALIGN_CENTRE);
    }
}

float TUIArt::HelpButtonSize() const {
    return m_help != nullptr ? m_help->GetWidth() : kButtonHeight;
}

void TUIArt::DrawHelpButton(float x, float y, eTUILook look) {
    const float size = HelpButtonSize();
    DrawSprite(m_help, x, y, size, size, BodyColour(look));
}

void TUIArt::DrawRadioButton(float x, float y, float width, const char* label, bool bOn,
                             eTUILook look) {
    DrawButtonBody(x, y, width, look);
    kSprite* box = bOn ? m_radioOn : m_radioOff;
    const float boxSize = WidthOf(box);
    DrawSprite(box, x + kRadioInset, y + (kButtonHeight - boxSize) * 0.5f, boxSize, boxSize,
               kWhite);
    DrawLabel(x + width - RadioLabelRoom(width) * 0.5f, y, label, look, TUI_ALIGN_CENTRE);
}

float TUIArt::RadioLabelRoom(float width) const {
    return width - kRadioInset * 2.0f - WidthOf(m_radioOff);
}

float TUIArt::SpinnerLabelRoom(float width) const {
    return width - 2.0f * (kSpinnerInset + ArrowWidth());
}

float TUIArt::ArrowWidth() const {
    return WidthOf(m_arrowLeft);
}

void TUIArt::DrawSpinner(float x, float y, float width, const char* label, eTUILook look) {
    DrawSprite(ButtonSpriteFor(width), x, y, width, kButtonHeight,
               look == TUI_LOOK_DISABLED ? kGrey : kSlate);
    const float arrow = ArrowWidth();
    const float arrowY = y + (kButtonHeight - arrow) * 0.5f;
    DrawArrow(x + kSpinnerInset, arrowY, false, look);
    DrawArrow(x + width - kSpinnerInset - arrow, arrowY, true, look);
    DrawLabel(x + width * 0.5f, y, label,
              look == TUI_LOOK_DISABLED ? TUI_LOOK_DISABLED : TUI_LOOK_REST, TUI_ALIGN_CENTRE);
}

void TUIArt::DrawVolumeBars(float centreX, float y, int level, int numStates, eTUILook look) {
    const int bars = numStates - 1;
    if (bars <= 0) {
        return;
    }
    const float total = static_cast<float>(bars) * (kBarWidth + kBarGap) - kBarGap;
    const float bottom = y + kButtonHeight - 8.0f;
    const float tallest = kButtonHeight - 16.0f;
    for (int i = 0; i < bars; ++i) {
        const float height = tallest * static_cast<float>(i + 1) / static_cast<float>(bars);
        const bool bLit = i < level;
        const bool bHot = look == TUI_LOOK_HOT;
        const unsigned int colour =
            bLit ? (bHot ? kSlate : kSun) : (bHot ? kHotUnlitBar : kUnlitBar);
        DrawSprite(m_volumeBar,
                   centreX - total * 0.5f + static_cast<float>(i) * (kBarWidth + kBarGap),
                   bottom - height, kBarWidth, height, colour);
    }
}

void TUIArt::DrawTextBox(float x, float y, float width, float height) {
    DrawSprite(m_textBox, x, y, width, height, kWhite);
}

void TUIArt::DrawText(kFont* font, float x, float y, const char* text, unsigned int colour,
                      eTUIAlign align) {
    if (font == nullptr || text == nullptr) {
        return;
    }
    font->SetColour(colour, false);
    char line[kMaxLine];
    for (const char* start = text;;) {
        const char* end = std::strchr(start, '\n');
        const size_t length =
            end != nullptr ? static_cast<size_t>(end - start) : std::strlen(start);
        const size_t kept = length < sizeof(line) - 1 ? length : sizeof(line) - 1;
        std::memcpy(line, start, kept);
        line[kept] = 0;
        int width = 0;
        int height = 0;
        Measure(font, kept != 0 ? line : "A", width, height);
        float left = x;
        if (align == TUI_ALIGN_CENTRE) {
            left = x - static_cast<float>(kept != 0 ? width : 0) * 0.5f;
        } else if (align == TUI_ALIGN_RIGHT) {
            left = x - static_cast<float>(kept != 0 ? width : 0);
        }
        font->Print(static_cast<int>(left), static_cast<int>(y), line, 0, 0.0f);
        if (end == nullptr) {
            break;
        }
        y += static_cast<float>(height);
        start = end + 1;
    }
}

void TUIArt::DrawArrow(float x, float y, bool bRight, eTUILook look) {
    const float size = ArrowWidth();
    DrawSprite(bRight ? m_arrowRight : m_arrowLeft, x, y, size, size,
               look == TUI_LOOK_HOT ? kSun : kSky);
}

void TUIArt::DrawScrollArrow(float x, float y, bool bUp, eTUILook look) {
    const float size = ArrowWidth();
    DrawSprite(bUp ? m_arrowUp : m_arrowDown, x, y, size, size, look == TUI_LOOK_HOT ? kSun : kSky);
}

void TUIArt::DrawPointer(float x, float y) {
    if (m_pointer != nullptr) {
        m_pointer->SetPosition(x, y);
        m_pointer->SetColour(kWhite);
        m_pointer->Render();
    }
}

} // namespace Kelvo_lib
