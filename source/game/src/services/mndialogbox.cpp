// A system dialog's look: a paper panel over the dimmed game, a slate title, an ink body,
// sky buttons with white labels turning sun yellow with ink ones under the pointer.
#include <services/mndialogbox.h>

#include <services/mnresourcemanager.h>
#include <services/mnslicedsprite.h>
#include <services/splittext.h>

#include <framework/kdialog.h>
#include <framework/ksprite.h>
#include <framework/kspritemanager.h>
#include <framework/ktext.h>

#include <kelvo/render/krdrawhelp.h>

#include <console/hbm.h>

namespace Kelvo_lib {

namespace {

constexpr const char* kBank = "dialog";
constexpr float kPanelWidth = 480.0f;
constexpr float kMargin = 28.0f;
constexpr float kGap = 18.0f;
constexpr float kButtonWidth = 200.0f;
constexpr float kButtonHeight = 44.0f;
constexpr float kButtonGap = 14.0f;
constexpr float kLabelRoom = 24.0f; // room around a label inside its button
constexpr unsigned int kDim = 0xA0000000;
constexpr unsigned int kInk = 0xFF1A1A1A;
constexpr unsigned int kTitleInk = 0xFF2E4272;
constexpr unsigned int kPointer = 0xFFFFFFFF;
constexpr unsigned int kBar = 0xFF1B2B4B;
constexpr unsigned int kWhite = 0xFFFFFFFF;
constexpr float kPointerSize = 10.0f;
constexpr int kMaxLine = 256;
// The corners of the panel and button art, in the art's pixels: drawn at that size.
constexpr float kArtCorner = 24.0f;

float DisplayWidth() {
    return static_cast<float>(kSpriteManager::GetDisplayWidth());
}

float DisplayHeight() {
    return static_cast<float>(kSpriteManager::GetDisplayHeight());
}

// Pixel width (bWidth) or height of a text; 0 for no text or no font.
float TextBound(const kFont* font, const kString& text, bool bWidth) {
    int width = 0;
    int height = 0;
    if (font != nullptr && text.CStr() != nullptr && text.CStr()[0] != '\0') {
        font->GetStringBound(width, height, text.CStr());
    }
    return static_cast<float>(bWidth ? width : height);
}

float TextHeight(const kFont* font, const kString& text) {
    return TextBound(font, text, false);
}

float TextWidth(const kFont* font, const kString& text) {
    return TextBound(font, text, true);
}

kSprite* DialogSprite(const char* bank, const char* name) {
    kSprite* const sprite = MNResourceManager::GetSprite(bank, name);
    if (sprite != nullptr) {
        sprite->SetNormalCoordinates(false);
        sprite->SetTransparent(true);
    }
    return sprite;
}

} // namespace

MNDialogBox::MNDialogBox()
    : m_titleFont(MNResourceManager::GetFont("wii_font_30", "wii_font_30")),
      m_bodyFont(MNResourceManager::GetFont("wii_font_20", "wii_font_20")),
      m_buttonFont(MNResourceManager::GetFont("wii_font_20b", "wii_font_20b")),
      m_box(DialogSprite(kBank, "box")), m_button(DialogSprite(kBank, "button")),
      m_buttonHot(DialogSprite(kBank, "button_hot")), m_pointer(DialogSprite("ptr", "ptr")),
      m_homeOff(DialogSprite(kBank, "home_off")) {}

MNDialogBox::~MNDialogBox() {
    delete m_box;
    delete m_button;
    delete m_buttonHot;
    delete m_pointer;
    delete m_homeOff;
}

// The game's pointer; while the disc cannot be read, a white dot ringed in ink.
void MNDialogBox::DrawPointer(float x, float y) const {
    if (m_pointer != nullptr) {
        m_pointer->SetPosition(x, y);
        m_pointer->Render();
        return;
    }
    krDrawHelp::DrawRect(KR_DRAW_PIXELS | KR_DRAW_CENTRED, x, y, kPointerSize + 4.0f,
                         kPointerSize + 4.0f, kInk);
    krDrawHelp::DrawRect(KR_DRAW_PIXELS | KR_DRAW_CENTRED, x, y, kPointerSize, kPointerSize,
                         kPointer);
}

kString MNDialogBox::TextOf(int scriptId, const kString& literal) {
    if (scriptId < 0) {
        return literal;
    }
    // Before the player's language is known (the save block is read first) the texts are
    // shown in English, as the save banner is.
    const int language = kText::GetLanguage();
    return kString(
        kText::SystemText(scriptId, language == KTEXT_NONE ? KTEXT_UK_ENGLISH : language));
}

kString MNDialogBox::Wrapped(kFont* font, const kString& text) {
    const float textWidth = kPanelWidth - 2.0f * kMargin;
    return font != nullptr ? SplitText(font, text, textWidth / DisplayWidth()) : text;
}

void MNDialogBox::Layout(const kDialog& dialog) {
    kString title = TextOf(dialog.m_titleScriptId, dialog.m_title);
    kString body = TextOf(dialog.m_bodyScriptId, dialog.m_body);
    if (body.CStr() == nullptr || body.CStr()[0] == '\0') {
        body = title;
        title = kString();
    }
    m_title = Wrapped(m_titleFont.Get(), title);
    m_body = Wrapped(m_bodyFont.Get(), body);
    m_labels.Clear();
    float widestLabel = 0.0f;
    for (int i = 0; i < dialog.m_optionList.Size(); ++i) {
        const bool bById = i < dialog.m_optionScriptIdList.Size();
        m_labels.Push(TextOf(bById ? dialog.m_optionScriptIdList(i) : -1, dialog.m_optionList(i)));
        const float width = TextWidth(m_buttonFont.Get(), m_labels.Last());
        widestLabel = width > widestLabel ? width : widestLabel;
    }

    const float titleHeight = TextHeight(m_titleFont.Get(), m_title);
    const float bodyHeight = TextHeight(m_bodyFont.Get(), m_body);
    const int numButtons = m_labels.Size();
    // Buttons stand in a row when their labels fit, else one above the other, full width.
    const bool bRow = widestLabel + kLabelRoom <= kButtonWidth &&
                      static_cast<float>(numButtons) * (kButtonWidth + kButtonGap) <= kPanelWidth;
    const int rows = bRow ? (numButtons > 0 ? 1 : 0) : numButtons;
    float height = kMargin + titleHeight + bodyHeight + kMargin;
    if (titleHeight > 0.0f && bodyHeight > 0.0f) {
        height += kGap;
    }
    if (rows > 0) {
        height += kGap + static_cast<float>(rows) * (kButtonHeight + kButtonGap) - kButtonGap;
    }
    m_panel = {(DisplayWidth() - kPanelWidth) / 2.0f, (DisplayHeight() - height) / 2.0f,
               kPanelWidth, height};
    m_bodyY = m_panel.y + kMargin + titleHeight + (titleHeight > 0.0f ? kGap : 0.0f);

    m_buttons.Clear();
    const float firstY = m_panel.y + m_panel.h - kMargin -
                         static_cast<float>(rows) * (kButtonHeight + kButtonGap) + kButtonGap;
    const float rowWidth =
        static_cast<float>(numButtons) * (kButtonWidth + kButtonGap) - kButtonGap;
    for (int i = 0; i < numButtons; ++i) {
        const float step = static_cast<float>(i) * (kButtonWidth + kButtonGap);
        if (bRow) {
            m_buttons.Push(
                {(DisplayWidth() - rowWidth) / 2.0f + step, firstY, kButtonWidth, kButtonHeight});
        } else {
            m_buttons.Push({m_panel.x + kMargin,
                            firstY + static_cast<float>(i) * (kButtonHeight + kButtonGap),
                            kPanelWidth - 2.0f * kMargin, kButtonHeight});
        }
    }
}

int MNDialogBox::OptionAt(float x, float y) const {
    for (int i = 0; i < m_buttons.Size(); ++i) {
        if (m_buttons(i).Contains(x, y)) {
            return i;
        }
    }
    return -1;
}

// The art stretched over the rectangle but for its corners, drawn at their own size.
void MNDialogBox::DrawPanelSprite(kSprite* sprite, const Rect& rect) {
    DrawSlicedSprite(sprite, rect.x, rect.y, rect.w, rect.h, kArtCorner);
}

void MNDialogBox::DrawCentred(kFont* font, const Rect& rect, float y, const char* text,
                              unsigned int colour) const {
    if (font == nullptr || text == nullptr) {
        return;
    }
    font->SetColour(colour, true);
    // The font's own line advance, as its bounds count it.
    const float lineHeight = TextHeight(font, kString("A\nA")) - TextHeight(font, kString("A"));
    char line[kMaxLine];
    for (const char* start = text; *start != '\0'; y += lineHeight) {
        int length = 0;
        while (start[length] != '\0' && start[length] != '\n' && length < kMaxLine - 1) {
            line[length] = start[length];
            ++length;
        }
        line[length] = '\0';
        int width = 0;
        int height = 0;
        font->GetStringBound(width, height, line);
        font->Print(static_cast<int>(rect.x + (rect.w - static_cast<float>(width)) / 2.0f),
                    static_cast<int>(y), line, 0, 0.0f);
        start += length;
        if (*start == '\n') {
            ++start;
        }
    }
}

// Sky with a white label, or sun yellow with an ink one under the pointer.
void MNDialogBox::DrawButton(const Rect& rect, bool bHot, const char* label) const {
    DrawPanelSprite(bHot ? m_buttonHot : m_button, rect);
    DrawCentred(m_buttonFont.Get(), rect,
                rect.y + (rect.h - TextHeight(m_buttonFont.Get(), label)) / 2.0f, label,
                bHot ? kInk : kWhite);
}

void MNDialogBox::Render(int hotOption, float pointerX, float pointerY) const {
    krDrawHelp::DrawRect(KR_DRAW_PIXELS, 0.0f, 0.0f, DisplayWidth(), DisplayHeight(), kDim);
    DrawPanelSprite(m_box, m_panel);
    DrawCentred(m_titleFont.Get(), m_panel, m_panel.y + kMargin, m_title.CStr(), kTitleInk);
    DrawCentred(m_bodyFont.Get(), m_panel, m_bodyY, m_body.CStr(), kInk);
    for (int i = 0; i < m_buttons.Size(); ++i) {
        DrawButton(m_buttons(i), i == hotOption, m_labels(i).CStr());
    }
    if (m_buttons.Size() > 0) {
        DrawPointer(pointerX, pointerY);
    }
}

void MNDialogBox::RenderHomeMenu(float pointerX, float pointerY) const {
    const float width = DisplayWidth();
    const float height = DisplayHeight();
    // The menu covers the game: slate, with a night-blue bar at the top.
    krDrawHelp::DrawRect(KR_DRAW_PIXELS, 0.0f, 0.0f, width, height, kTitleInk);
    krDrawHelp::DrawRect(KR_DRAW_PIXELS, 0.0f, 0.0f, width, HBMGetBarHeight() * height, kBar);
    const Rect bar = {0.0f, 0.0f, width * 0.6f, HBMGetBarHeight() * height};
    DrawCentred(m_titleFont.Get(), bar,
                (bar.h - TextHeight(m_titleFont.Get(), HBMGetTitle())) / 2.0f, HBMGetTitle(),
                kWhite);
    for (int i = 0; i < HBM_BUTTON_COUNT; ++i) {
        const HBMButton& button = HBMGetButton(i);
        const Rect rect = {button.x * width, button.y * height, button.w * width,
                           button.h * height};
        DrawButton(rect, HBMGetHotButton() == i, button.label);
    }
    DrawPointer(pointerX, pointerY);
}

void MNDialogBox::RenderHomeOffIcon() const {
    if (m_homeOff != nullptr) {
        m_homeOff->SetPosition(DisplayWidth() - m_homeOff->GetWidth() - kMargin,
                               DisplayHeight() - m_homeOff->GetHeight() - kMargin);
        m_homeOff->Render();
    }
}

} // namespace Kelvo_lib
