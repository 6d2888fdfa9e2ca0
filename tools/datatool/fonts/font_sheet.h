// Renders a font's glyph sheet from a TrueType face through FreeType: one sprite of 256
// frames in the engine's glyph order (kFont::CharacterOfFrame), the bytes read as Latin-1.
// Each frame is its glyph's ink columns by the sheet's line box (the union of every glyph's
// rows, so glyphs keep a common baseline), white with coverage in alpha; a glyph without ink
// is one transparent column. Pure function; false, with the reason in error, for a face that
// cannot be read or a size or weight that makes no sheet.
#pragma once

#include "sprites/sprite_bank_builder.h"

#include <string>

namespace datatool {

constexpr const char* kDefaultFontFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr unsigned int kMaxFontPixelSize = 256;

struct FontSheetRequest {
    std::string facePath = kDefaultFontFace;
    std::string spriteName;
    unsigned int pixelSize = 0; // the face's size in pixels per em, 1 to kMaxFontPixelSize
    float weight = 0.0f;        // pixels added to every stroke, up to a quarter of the size
};

// Whether the request makes a sheet, whatever its face: a sprite name, a size from 1 to
// kMaxFontPixelSize and a weight up to a quarter of it; false with the reason in error.
bool CheckFontRequest(const FontSheetRequest& request, std::string* error);

bool RenderFontSheet(const FontSheetRequest& request, SpriteSource* sprite, std::string* error);

// The sheet as a bank of its own, on pages of kDefaultPageSize; false as above, or when a
// glyph is larger than a page.
bool BuildFontBank(const FontSheetRequest& request, SpriteBankContent* bank, std::string* error);

} // namespace datatool
