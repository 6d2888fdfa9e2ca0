// The glyph sheet: every glyph rendered once as an 8-bit coverage bitmap, the line box taken
// over all of them, then each cut to its ink columns inside that box.
#include "font_sheet.h"

#include <framework/kfont.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace datatool {
namespace {

constexpr unsigned int kFirstControl = 0x7F; // DEL and the C1 controls have no glyph
constexpr unsigned int kLastControl = 0x9F;
constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr float kFixedPointOne = 64.0f;    // FreeType's 26.6 coordinates
constexpr unsigned int kPackingBorder = 1; // the bank builder's border around every cell

// One glyph's coverage: rows from the top, top being its first row's height over the
// baseline; empty for a glyph without ink.
struct GlyphBitmap {
    unsigned int width = 0;
    unsigned int rows = 0;
    int top = 0;
    std::vector<unsigned char> coverage;
    unsigned int firstColumn = 0; // the ink columns
    unsigned int endColumn = 0;

    bool HasInk() const { return endColumn > firstColumn; }
};

// The open face; both handles freed with it.
class Face {
public:
    ~Face() {
        if (m_face != nullptr) {
            FT_Done_Face(m_face);
        }
        if (m_library != nullptr) {
            FT_Done_FreeType(m_library);
        }
    }

    bool Open(const FontSheetRequest& request, std::string* error) {
        if (FT_Init_FreeType(&m_library) != 0) {
            *error = "FreeType cannot start";
            return false;
        }
        if (FT_New_Face(m_library, request.facePath.c_str(), 0, &m_face) != 0) {
            *error = "cannot read the font face '" + request.facePath + "'";
            return false;
        }
        if (FT_Set_Pixel_Sizes(m_face, 0, request.pixelSize) != 0) {
            *error = "the face '" + request.facePath + "' has no size of " +
                     std::to_string(request.pixelSize) + " pixels";
            return false;
        }
        return true;
    }

    // The glyph of a Latin-1 character, emboldened by weight pixels; no ink when the face
    // lacks it.
    bool Render(unsigned int code, float weight, GlyphBitmap* glyph, std::string* error) {
        const FT_UInt index = FT_Get_Char_Index(m_face, code);
        if (index == 0) {
            return true;
        }
        if (FT_Load_Glyph(m_face, index, FT_LOAD_NO_BITMAP) != 0 ||
            m_face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
            *error = "cannot load the outline of character " + std::to_string(code);
            return false;
        }
        const auto strength = static_cast<FT_Pos>(std::lround(weight * kFixedPointOne));
        if (strength > 0) {
            FT_Outline_EmboldenXY(&m_face->glyph->outline, strength, strength);
        }
        if (FT_Render_Glyph(m_face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            *error = "cannot render character " + std::to_string(code);
            return false;
        }
        CopyBitmap(m_face->glyph->bitmap, m_face->glyph->bitmap_top, glyph);
        return true;
    }

private:
    static void CopyBitmap(const FT_Bitmap& bitmap, int top, GlyphBitmap* glyph) {
        glyph->width = bitmap.width;
        glyph->rows = bitmap.rows;
        glyph->top = top;
        glyph->coverage.assign(static_cast<std::size_t>(bitmap.width) * bitmap.rows, 0);
        glyph->firstColumn = bitmap.width;
        glyph->endColumn = 0;
        for (unsigned int y = 0; y < bitmap.rows; ++y) {
            const unsigned char* row =
                bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
            for (unsigned int x = 0; x < bitmap.width; ++x) {
                glyph->coverage[static_cast<std::size_t>(y) * bitmap.width + x] = row[x];
                if (row[x] != 0) {
                    glyph->firstColumn = std::min(glyph->firstColumn, x);
                    glyph->endColumn = std::max(glyph->endColumn, x + 1);
                }
            }
        }
    }

    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
};

bool HasGlyph(unsigned char code) {
    return code != ' ' && (code < kFirstControl || code > kLastControl);
}

// Rows from the highest glyph top to the lowest glyph bottom, relative to the baseline.
struct LineBox {
    int top = 0;    // over the baseline
    int bottom = 0; // under it

    unsigned int Height() const { return static_cast<unsigned int>(std::max(top + bottom, 1)); }
};

LineBox MeasureLineBox(const std::vector<GlyphBitmap>& glyphs) {
    LineBox box;
    for (const GlyphBitmap& glyph : glyphs) {
        if (glyph.HasInk()) {
            box.top = std::max(box.top, glyph.top);
            box.bottom = std::max(box.bottom, static_cast<int>(glyph.rows) - glyph.top);
        }
    }
    return box;
}

// Clear pixels are white too, so that filtering at a glyph's edge never darkens it.
ArgbImage MakeFrame(const GlyphBitmap& glyph, const LineBox& box) {
    ArgbImage frame(glyph.HasInk() ? glyph.endColumn - glyph.firstColumn : 1, box.Height());
    frame.pixels.assign(frame.pixels.size(), kWhite);
    if (!glyph.HasInk()) {
        return frame;
    }
    const int firstRow = box.top - glyph.top;
    for (unsigned int y = 0; y < glyph.rows; ++y) {
        for (unsigned int x = 0; x < frame.width; ++x) {
            const std::uint32_t alpha =
                glyph.coverage[static_cast<std::size_t>(y) * glyph.width + glyph.firstColumn + x];
            frame.Set(x, static_cast<unsigned int>(firstRow) + y, alpha << 24 | kWhite);
        }
    }
    return frame;
}

} // namespace

bool CheckFontRequest(const FontSheetRequest& request, std::string* error) {
    if (request.spriteName.empty()) {
        *error = "a font sheet needs a sprite name";
    } else if (request.pixelSize == 0 || request.pixelSize > kMaxFontPixelSize) {
        *error = "the pixel size must be from 1 to " + std::to_string(kMaxFontPixelSize);
    } else if (!(request.weight >= 0.0f &&
                 request.weight <= static_cast<float>(request.pixelSize) / 4.0f)) {
        *error = "the weight must be from 0 to a quarter of the pixel size";
    } else {
        return true;
    }
    return false;
}

bool RenderFontSheet(const FontSheetRequest& request, SpriteSource* sprite, std::string* error) {
    if (!CheckFontRequest(request, error)) {
        return false;
    }
    Face face;
    if (!face.Open(request, error)) {
        return false;
    }
    std::vector<GlyphBitmap> glyphs(Kelvo_lib::kFont::kNumChars);
    for (int frame = 0; frame < Kelvo_lib::kFont::kNumChars; ++frame) {
        const auto code = static_cast<unsigned char>(Kelvo_lib::kFont::CharacterOfFrame(frame));
        if (HasGlyph(code) && !face.Render(code, request.weight, &glyphs[frame], error)) {
            return false;
        }
    }
    const LineBox box = MeasureLineBox(glyphs);
    *sprite = SpriteSource{};
    sprite->name = request.spriteName;
    for (const GlyphBitmap& glyph : glyphs) {
        sprite->frames.push_back(MakeFrame(glyph, box));
    }
    return true;
}

bool BuildFontBank(const FontSheetRequest& request, SpriteBankContent* bank, std::string* error) {
    SpriteSource sprite;
    if (!RenderFontSheet(request, &sprite, error)) {
        return false;
    }
    // One cell per glyph: each must fit a page inside the packing border.
    const unsigned int side = kDefaultPageSize - 2 * kPackingBorder;
    if (std::any_of(sprite.frames.begin(), sprite.frames.end(),
                    [&](const ArgbImage& f) { return f.width > side || f.height > side; })) {
        *error = "glyphs of " + std::to_string(request.pixelSize) + " pixels do not fit a page";
        return false;
    }
    return BuildSpriteBank({sprite}, kDefaultPageSize, bank, error);
}

} // namespace datatool
