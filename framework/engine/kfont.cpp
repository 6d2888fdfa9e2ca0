// Fonts: the glyph sheet's character layout, advances measured from each glyph's ink, and
// drawing glyph by glyph (shadow first) through the sprite manager.
#include <framework/kfont.h>

#include <kelvo/platform/klog.h>

#include <algorithm>
#include <climits>
#include <iterator>

namespace Kelvo_lib {

namespace {

constexpr int kGridSide = 16;
constexpr int kFirstCode = 0x21;
constexpr int kLastCode = 0xFF;

bool s_bAutoShadow = false;

struct AutoShadow {
    unsigned int text;
    unsigned int shadow;
};

constexpr AutoShadow kAutoShadows[] = {
    {0xFF000000, 0xFFFFFFFF}, {0xFF7F7F7F, 0xFFFFFFFF}, {0xFF808080, 0xFFFFFFFF},
    {0xFFFFFFFF, 0xFF606060}, {0xFFC86464, 0xFF606060}, {0xFFFFFF00, 0xFF000000},
    {0xFFFF7F00, 0xFF000000}, {0xFF00FF00, 0xFF000000},
};

// The shadow the automatic shadow gives the text colour, or false for none.
bool FindAutoShadow(unsigned int colour, unsigned int& shadow) {
    for (const AutoShadow& entry : kAutoShadows) {
        if (entry.text == colour) {
            shadow = entry.shadow;
            return true;
        }
    }
    return false;
}

float ToFraction(int pixels, int displaySize) {
    return displaySize > 0 ? static_cast<float>(pixels) / static_cast<float>(displaySize) : 0.0f;
}

} // namespace

char kFont::CharacterOfFrame(int frame) {
    const int code = kFirstCode + frame / kGridSide + kGridSide * (frame % kGridSide);
    return static_cast<char>(code <= kLastCode ? code : ' ');
}

kFont::kFont(kSharedPtr<kSpriteBank> spriteBank, const char* id)
    : m_spriteBank(spriteBank), m_charList(new char[kNumChars]) {
    std::fill(std::begin(m_asciiMap), std::end(m_asciiMap), -1);
    for (int frame = 0; frame < kNumChars; ++frame) {
        m_charList[frame] = CharacterOfFrame(frame);
    }
    if (m_spriteBank.Get() == nullptr) {
        kLogSys("kFont", "No sprite bank for font '%s'; the font is empty\n",
                id != nullptr ? id : "");
        return;
    }
    m_sprite = m_spriteBank->FindSprite(id);
    if (m_sprite == nullptr) {
        return;
    }
    // Frames the sprite lacks carry no character, so they are never read.
    const int frames = static_cast<int>(std::min<unsigned int>(kNumChars, m_sprite->numFrames));
    for (int frame = frames - 1; frame >= 0; --frame) {
        m_asciiMap[static_cast<unsigned char>(m_charList[frame])] = frame;
    }
    for (int frame = 0; frame < frames; ++frame) {
        int width = 0;
        int height = 0;
        InkSize(frame, width, height);
        m_maxWidth = std::max(m_maxWidth, width);
        m_maxHeight = std::max(m_maxHeight, height);
    }
}

kFont::~kFont() {
    delete[] m_charList;
}

void kFont::SetScaleXY(float scaleX, float scaleY) {
    m_scaleX = scaleX;
    m_scaleY = scaleY;
}

void kFont::SetAutoShadow(bool bAutoShadow) {
    s_bAutoShadow = bAutoShadow;
}

void kFont::SetColour(unsigned int colour, bool bNoAutoShadow) {
    m_colour = colour;
    unsigned int shadow = 0;
    m_bShadow = s_bAutoShadow && !bNoAutoShadow && FindAutoShadow(colour, shadow);
    if (m_bShadow) {
        m_shadowColour = shadow;
    }
}

void kFont::SetShadow(bool bShadow, unsigned int colour) {
    m_bShadow = bShadow;
    m_shadowColour = colour;
}

void kFont::SetPixelSpacingReduction(int x, int y) {
    m_reduceSpacingPixelsX = std::max(x, 0);
    m_reduceSpacingPixelsY = std::max(y, 0);
}

void kFont::SetFixedCharWidth(int width) {
    m_fixedCharWidth = width;
}

kFont::Step kFont::StepOf(unsigned char c) const {
    if (c == '\n') {
        return Step::LineBreak;
    }
    if (c == ' ') {
        return Step::Space;
    }
    return m_asciiMap[c] >= 0 ? Step::Glyph : Step::Skip;
}

void kFont::InkSize(int frame, int& width, int& height) const {
    const kSpriteBankFrame& record =
        *m_spriteBank->GetFrame(static_cast<int>(m_sprite->frameIndex) + frame);
    int x1 = INT_MAX;
    int y1 = INT_MAX;
    int x2 = INT_MIN;
    int y2 = INT_MIN;
    for (unsigned int i = 0; i < record.numCells; ++i) {
        const kSpriteBankCell& cell =
            *m_spriteBank->GetCell(static_cast<int>(record.cellIndex + i));
        x1 = std::min(x1, static_cast<int>(cell.offsetX));
        y1 = std::min(y1, static_cast<int>(cell.offsetY));
        x2 = std::max(x2, cell.offsetX + cell.w);
        y2 = std::max(y2, cell.offsetY + cell.h);
    }
    width = record.numCells > 0 ? x2 - x1 : 0;
    height = record.numCells > 0 ? y2 - y1 : 0;
}

int kFont::SpaceAdvance() const {
    return static_cast<int>(m_maxWidth / 3.0 * m_scaleX);
}

int kFont::LineAdvance() const {
    return static_cast<int>(static_cast<float>(m_maxHeight) * m_scaleY) - m_reduceSpacingPixelsY;
}

int kFont::GlyphWidth(unsigned char c) const {
    int width = m_fixedCharWidth;
    if (width <= 0) {
        int height = 0;
        InkSize(m_asciiMap[c], width, height);
    }
    return static_cast<int>(static_cast<float>(width) * m_scaleX) + 1;
}

int kFont::GlyphAdvance(unsigned char c) const {
    return m_fixedCharWidth > 0 ? GlyphWidth(c) : GlyphWidth(c) - m_reduceSpacingPixelsX;
}

int kFont::ChrWidth(char c) const {
    const auto code = static_cast<unsigned char>(c);
    switch (StepOf(code)) {
    case Step::Space:
        return SpaceAdvance();
    case Step::Glyph:
        return GlyphWidth(code);
    case Step::LineBreak:
    case Step::Skip:
        break;
    }
    return 0;
}

int kFont::ChrHeight(char c) const {
    const int frame = m_asciiMap[static_cast<unsigned char>(c)];
    if (frame < 0) {
        return 0;
    }
    int width = 0;
    int height = 0;
    InkSize(frame, width, height);
    return static_cast<int>(static_cast<float>(height) * m_scaleY) + 1;
}

void kFont::GetStringBound(int& outWidth, int& outHeight, const char* text) const {
    if (text == nullptr) {
        return;
    }
    outWidth = 0;
    outHeight = 0;
    if (m_sprite == nullptr) {
        return;
    }
    int line = 0;
    for (const char* p = text; *p != 0; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        switch (StepOf(c)) {
        case Step::Glyph:
            line += GlyphAdvance(c);
            break;
        case Step::Space:
            line += SpaceAdvance();
            break;
        case Step::LineBreak:
            outHeight += LineAdvance();
            outWidth = std::max(outWidth, line);
            line = 0;
            break;
        case Step::Skip:
            break;
        }
    }
    outWidth = std::max(outWidth, line);
    outHeight += LineAdvance();
}

void kFont::GetStringBound(float& outWidth, float& outHeight, const char* text) const {
    if (text == nullptr) {
        return;
    }
    int width = 0;
    int height = 0;
    GetStringBound(width, height, text);
    outWidth = ToFraction(width, kSpriteManager::GetDisplayWidth());
    outHeight = ToFraction(height, kSpriteManager::GetDisplayHeight());
}

void kFont::Print(int x, int y, const char* text, int flipFlags, float rotation) const {
    Draw(x, y, text, flipFlags, rotation, false);
}

void kFont::Print(float x, float y, const char* text) const {
    Print(static_cast<int>(x * static_cast<float>(kSpriteManager::GetDisplayWidth())),
          static_cast<int>(y * static_cast<float>(kSpriteManager::GetDisplayHeight())), text, 0,
          0.0f);
}

void kFont::PrintCenterX(int y, const char* inText) const {
    Draw(0, y, inText, 0, 0.0f, true);
}

void kFont::PrintCenterX(float y, const char* text) const {
    PrintCenterX(static_cast<int>(y * static_cast<float>(kSpriteManager::GetDisplayHeight())),
                 text);
}

// Centred lines start where the line, measured up to its break with the space advance and
// ChrWidth, sits in the middle of the display.
int kFont::LineStart(int x, const char* text, bool bCentre) const {
    if (!bCentre) {
        return x;
    }
    int width = 0;
    for (const char* p = text; *p != 0 && *p != '\n'; ++p) {
        width += ChrWidth(*p);
    }
    return (kSpriteManager::GetDisplayWidth() - width) / 2;
}

void kFont::Draw(int x, int y, const char* text, int flipFlags, float rotation,
                 bool bCentre) const {
    if (text == nullptr || m_sprite == nullptr) {
        return;
    }
    SpriteState state{};
    state.clipX1 = 1.0f;
    state.clipY1 = 1.0f;
    state.rotation = rotation;
    state.flipFlags = static_cast<unsigned int>(flipFlags);
    state.transparent = 1;
    int penX = LineStart(x, text, bCentre);
    int penY = y;
    for (const char* p = text; *p != 0; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        switch (StepOf(c)) {
        case Step::Glyph:
            DrawGlyph(state, c, penX, penY);
            penX += GlyphAdvance(c);
            break;
        case Step::Space:
            penX += SpaceAdvance();
            break;
        case Step::LineBreak:
            penX = LineStart(x, p + 1, bCentre);
            penY += LineAdvance();
            break;
        case Step::Skip:
            break;
        }
    }
}

void kFont::DrawGlyph(SpriteState& state, unsigned char c, int x, int y) const {
    const int frame = m_asciiMap[c];
    const kSpriteBankFrame& record =
        *m_spriteBank->GetFrame(static_cast<int>(m_sprite->frameIndex) + frame);
    state.frameIndex = static_cast<unsigned int>(frame);
    state.w = static_cast<float>(record.width) * m_scaleX;
    state.h = static_cast<float>(record.height) * m_scaleY;
    if (m_bShadow) {
        state.x = static_cast<float>(x + 1);
        state.y = static_cast<float>(y + 1);
        state.colour = m_shadowColour;
        kSpriteManager::Render(m_spriteBank.Get(), m_sprite, &state);
    }
    state.x = static_cast<float>(x);
    state.y = static_cast<float>(y);
    state.colour = m_colour;
    kSpriteManager::Render(m_spriteBank.Get(), m_sprite, &state);
}

} // namespace Kelvo_lib
