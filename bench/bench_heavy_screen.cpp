// A heavy screen drawn by our graphics processor and by pixman, part by part and whole:
// a full-screen background (1:1), a full-screen movie frame through the movie player's
// four YUV stages (pixman converts the same planes as YV12), two translucent panels, a
// translucent fade over everything, 600 glyphs of 16 x 16 in the text colour and 100
// sprites of 32 x 32, both 1:1 and alpha-blended. GX draws every part but the movie as the
// render layer's 2-D batch does: each run of quads as indexed triangles from the batch's
// vertices, texture colour x vertex colour with the texture's alpha, blended; the movie as
// the player draws it, one quad. Before a part is measured both draw it once over the
// background, and their pictures must agree within one level a channel, or the part
// reports an error. After the run it prints, for every part, for the parts the batch draws
// (all but the movie) together and for the whole frame, both medians and their ratio.
#include "gx_test_support.h"

#include <console/gx.h>

#include <benchmark/benchmark.h>

#include "support/comparison_main.h"
#include <pixman.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr u32 kWidth = 640;
constexpr u32 kHeight = 480;
constexpr u32 kGlyphSize = 16;
constexpr u32 kGlyphsAcross = 4; // glyphs in a 64 x 64 sheet
constexpr u32 kGlyphCount = 600;
constexpr u32 kSpriteSize = 32;
constexpr u32 kSpriteCount = 100;

struct Rect {
    s32 x, y, width, height;
    u32 argb; // straight alpha
};

constexpr Rect kPanels[] = {{60, 60, 520, 240, 0xC0202040}, {100, 320, 440, 120, 0xC0402020}};
constexpr Rect kFade = {0, 0, kWidth, kHeight, 0x60000000};

// Where glyph i sits and which glyph of the sheet it is.
Rect GlyphAt(u32 i) {
    return {static_cast<s32>(8 + i % 38 * kGlyphSize), static_cast<s32>(8 + i / 38 * 28),
            kGlyphSize, kGlyphSize, i % (kGlyphsAcross * kGlyphsAcross)};
}

Rect SpriteAt(u32 i) {
    return {static_cast<s32>(i * 37 % (kWidth - kSpriteSize)),
            static_cast<s32>(i * 53 % (kHeight - kSpriteSize)), kSpriteSize, kSpriteSize, 0};
}

// Images, row-major 0xAARRGGBB (straight alpha) or bytes.
struct Images {
    std::vector<u32> background, glyphs, sprite;
    std::vector<u8> y, u, v;

    Images()
        : background(kWidth * kHeight), glyphs(64 * 64), sprite(kSpriteSize * kSpriteSize),
          y(kWidth * kHeight), u(kWidth * kHeight / 4), v(kWidth * kHeight / 4) {
        for (u32 i = 0; i < background.size(); ++i) {
            background[i] = 0xFF000000 | (i * 2654435761u >> 8);
            y[i] = static_cast<u8>(i % kWidth / 3 + i / kWidth / 4);
        }
        for (u32 i = 0; i < u.size(); ++i) {
            u[i] = static_cast<u8>(i * 7);
            v[i] = static_cast<u8>(i / 320 + 40);
        }
        for (u32 i = 0; i < glyphs.size(); ++i) {
            const u32 x = i % 64 % kGlyphSize, row = i / 64 % kGlyphSize;
            const bool ink = (x * 5 + row * 3 + i / 1024) % 7 < 3 && x > 1 && row > 1;
            glyphs[i] = ink ? 0xFFFFFFFF : 0x00FFFFFF;
        }
        for (u32 i = 0; i < sprite.size(); ++i) {
            const u32 x = i % kSpriteSize, row = i / kSpriteSize;
            const u32 alpha = x < 2 || row < 2 ? 0 : (x + row) % 5 == 0 ? 0x80 : 0xFF;
            sprite[i] = alpha << 24 | (x * 8) << 16 | (row * 8) << 8 | 0x40;
        }
    }
};

// The movie's planes converted as the player's four stages define it (full range, their
// konst and register values taken exactly), row-major 0xFFRRGGBB: pixman's own YV12
// conversion is at the video range.
std::vector<u32> FullRangeMovie(const Images& images) {
    std::vector<u32> rgb(kWidth * kHeight);
    const auto level = [](double value) {
        return static_cast<u32>(std::lround(std::fmin(std::fmax(value, 0.0), 255.0)));
    };
    for (u32 y = 0; y < kHeight; ++y) {
        for (u32 x = 0; x < kWidth; ++x) {
            const double luma = images.y[y * kWidth + x];
            const double u = images.u[y / 2 * (kWidth / 2) + x / 2];
            const double v = images.v[y / 2 * (kWidth / 2) + x / 2];
            rgb[y * kWidth + x] = 0xFF000000 |
                                  level(luma + 2.0 * (-90.0 + v * 179.0 / 255.0)) << 16 |
                                  level(luma + 135.0 - u * 88.0 / 255.0 - v * 182.0 / 255.0) << 8 |
                                  level(luma + 2.0 * (-114.0 + u * 226.0 / 255.0));
        }
    }
    return rgb;
}

const Images& TheImages() {
    static const Images images;
    return images;
}

// ---- Our graphics processor ----

struct GXTextures {
    std::vector<u8> backgroundTiles, glyphTiles, spriteTiles, yTiles, uTiles, vTiles;
    GXTexObj background, glyphs, sprite, y, u, v;

    GXTextures() {
        const Images& images = TheImages();
        backgroundTiles = gxtest::TileRgba8(images.background, kWidth, kHeight);
        glyphTiles = gxtest::TileRgba8(images.glyphs, 64, 64);
        spriteTiles = gxtest::TileRgba8(images.sprite, kSpriteSize, kSpriteSize);
        yTiles = gxtest::TileBytes(images.y, kWidth, kHeight);
        uTiles = gxtest::TileBytes(images.u, kWidth / 2, kHeight / 2);
        vTiles = gxtest::TileBytes(images.v, kWidth / 2, kHeight / 2);
        Init(background, backgroundTiles, kWidth, kHeight, GX_TF_RGBA8, GX_NEAR);
        Init(glyphs, glyphTiles, 64, 64, GX_TF_RGBA8, GX_LINEAR);
        Init(sprite, spriteTiles, kSpriteSize, kSpriteSize, GX_TF_RGBA8, GX_LINEAR);
        Init(y, yTiles, kWidth, kHeight, GX_TF_I8, GX_NEAR);
        Init(u, uTiles, kWidth / 2, kHeight / 2, GX_TF_I8, GX_NEAR);
        Init(v, vTiles, kWidth / 2, kHeight / 2, GX_TF_I8, GX_NEAR);
    }

    static void Init(GXTexObj& texture, std::vector<u8>& tiles, u16 width, u16 height,
                     GXTexFmt format, GXTexFilter filter) {
        GXInitTexObj(&texture, tiles.data(), width, height, format, GX_CLAMP, GX_CLAMP, GX_FALSE);
        GXInitTexObjLOD(&texture, filter, filter, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
    }
};

u32 Rgba(u32 argb) {
    return argb << 8 | argb >> 24;
}

// The render layer's 2-D shading: with a texture, texture colour x vertex colour and the
// texture's alpha; without, the vertex colour. Always source-alpha blending.
void UseBatchShading(const GXTexObj* texture) {
    GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_NOOP);
    GXSetNumTevStages(1);
    GXSetTevOrder(GX_TEVSTAGE0, GX_TEXCOORD0, GX_TEXMAP0, GX_COLOR0A0);
    if (texture == nullptr) {
        GXSetNumTexGens(0);
        GXSetTevOp(GX_TEVSTAGE0, GX_PASSCLR);
        return;
    }
    GXLoadTexObj(texture, GX_TEXMAP0);
    GXSetTexCoordGen2(GX_TEXCOORD0, GX_TG_MTX2x4, GX_TG_TEX0, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
    GXSetNumTexGens(1);
    GXSetTevColorIn(GX_TEVSTAGE0, GX_CC_ZERO, GX_CC_TEXC, GX_CC_RASC, GX_CC_ZERO);
    GXSetTevColorOp(GX_TEVSTAGE0, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, GX_TRUE, GX_TEVPREV);
    GXSetTevAlphaIn(GX_TEVSTAGE0, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_TEXA);
    GXSetTevAlphaOp(GX_TEVSTAGE0, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, GX_TRUE, GX_TEVPREV);
}

// The 2-D batch: quads of four vertices (top left, top right, bottom left, bottom right)
// drawn as two triangles each, (0, 1, 3) and (0, 3, 2), by 16-bit indices into them.
class QuadBatch {
public:
    static constexpr u32 kCapacity = 1000;

    QuadBatch() {
        for (u32 quad = 0; quad < kCapacity; ++quad) {
            for (u32 corner : {0, 1, 3, 0, 3, 2}) {
                m_indices.push_back(static_cast<u16>(quad * 4 + corner));
            }
        }
        m_vertices.reserve(kCapacity * 4);
    }

    void Add(const Rect& r, u32 argb, f32 s0 = 0, f32 t0 = 0, f32 s1 = 1, f32 t1 = 1) {
        const f32 left = static_cast<f32>(r.x), top = static_cast<f32>(r.y);
        const f32 right = left + static_cast<f32>(r.width);
        const f32 bottom = top + static_cast<f32>(r.height);
        const u32 rgba = Rgba(argb);
        m_vertices.push_back({left, top, 0.0f, rgba, s0, t0});
        m_vertices.push_back({right, top, 0.0f, rgba, s1, t0});
        m_vertices.push_back({left, bottom, 0.0f, rgba, s0, t1});
        m_vertices.push_back({right, bottom, 0.0f, rgba, s1, t1});
    }

    // Draws the quads added with the shading of the texture (null: none) and empties the
    // batch.
    void Flush(const GXTexObj* texture) {
        UseBatchShading(texture);
        gxtest::DrawIndexed(m_vertices.data(), m_indices.data(),
                            static_cast<u16>(m_vertices.size() / 4 * 6));
        m_vertices.clear();
    }

private:
    std::vector<gxtest::Vertex> m_vertices;
    std::vector<u16> m_indices;
};

void SetTevStage(GXTevStageID stage, GXTexCoordID coordinate, GXTexMapID map,
                 const GXTevColorArg (&colour)[4], GXTevScale colourScale, GXBool colourClamp,
                 const GXTevAlphaArg (&alpha)[4], GXTevOp alphaOp, GXBool alphaClamp) {
    GXSetTevOrder(stage, coordinate, map, GX_COLOR_NULL);
    GXSetTevColorIn(stage, colour[0], colour[1], colour[2], colour[3]);
    GXSetTevColorOp(stage, GX_TEV_ADD, GX_TB_ZERO, colourScale, colourClamp, GX_TEVPREV);
    GXSetTevAlphaIn(stage, alpha[0], alpha[1], alpha[2], alpha[3]);
    GXSetTevAlphaOp(stage, alphaOp, GX_TB_ZERO, GX_CS_SCALE_1, alphaClamp, GX_TEVPREV);
}

// The movie player's set-up: Y through coordinate 0, U and V through coordinate 1, four
// stages adding the chroma terms to Y, no blending; one quad of direct vertices.
void DrawMovieGX(const GXTextures& textures) {
    GXLoadTexObj(&textures.y, GX_TEXMAP0);
    GXLoadTexObj(&textures.u, GX_TEXMAP1);
    GXLoadTexObj(&textures.v, GX_TEXMAP2);
    GXSetBlendMode(GX_BM_NONE, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_NOOP);
    GXSetNumTexGens(2);
    GXSetTexCoordGen2(GX_TEXCOORD0, GX_TG_MTX2x4, GX_TG_TEX0, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
    GXSetTexCoordGen2(GX_TEXCOORD1, GX_TG_MTX2x4, GX_TG_TEX0, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
    GXSetNumTevStages(4);
    SetTevStage(GX_TEVSTAGE0, GX_TEXCOORD1, GX_TEXMAP1,
                {GX_CC_ZERO, GX_CC_TEXC, GX_CC_KONST, GX_CC_C0}, GX_CS_SCALE_1, GX_FALSE,
                {GX_CA_ZERO, GX_CA_TEXA, GX_CA_KONST, GX_CA_A0}, GX_TEV_SUB, GX_FALSE);
    GXSetTevKColorSel(GX_TEVSTAGE0, GX_TEV_KCSEL_K0);
    GXSetTevKAlphaSel(GX_TEVSTAGE0, GX_TEV_KASEL_K0_A);
    SetTevStage(GX_TEVSTAGE1, GX_TEXCOORD1, GX_TEXMAP2,
                {GX_CC_ZERO, GX_CC_TEXC, GX_CC_KONST, GX_CC_CPREV}, GX_CS_SCALE_2, GX_FALSE,
                {GX_CA_ZERO, GX_CA_TEXA, GX_CA_KONST, GX_CA_APREV}, GX_TEV_SUB, GX_FALSE);
    GXSetTevKColorSel(GX_TEVSTAGE1, GX_TEV_KCSEL_K1);
    GXSetTevKAlphaSel(GX_TEVSTAGE1, GX_TEV_KASEL_K1_A);
    SetTevStage(GX_TEVSTAGE2, GX_TEXCOORD0, GX_TEXMAP0,
                {GX_CC_ZERO, GX_CC_TEXC, GX_CC_ONE, GX_CC_CPREV}, GX_CS_SCALE_1, GX_TRUE,
                {GX_CA_TEXA, GX_CA_ZERO, GX_CA_ZERO, GX_CA_APREV}, GX_TEV_ADD, GX_TRUE);
    SetTevStage(GX_TEVSTAGE3, GX_TEXCOORD_NULL, GX_TEXMAP_NULL,
                {GX_CC_APREV, GX_CC_CPREV, GX_CC_KONST, GX_CC_ZERO}, GX_CS_SCALE_1, GX_TRUE,
                {GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO}, GX_TEV_ADD, GX_TRUE);
    GXSetTevKColorSel(GX_TEVSTAGE3, GX_TEV_KCSEL_K2);
    GXSetTevColorS10(GX_TEVREG0, GXColorS10{-90, 0, -114, 135});
    GXSetTevKColor(GX_KCOLOR0, GXColor{0, 0, 226, 88});
    GXSetTevKColor(GX_KCOLOR1, GXColor{179, 0, 0, 182});
    GXSetTevKColor(GX_KCOLOR2, GXColor{255, 0, 255, 128});
    gxtest::DrawRect(0.0f, 0.0f, kWidth, kHeight, gxtest::kWhite);
}

void DrawGlyphsGX(const GXTextures& textures, QuadBatch& batch) {
    constexpr f32 kCell = 1.0f / kGlyphsAcross;
    for (u32 i = 0; i < kGlyphCount; ++i) {
        const Rect glyph = GlyphAt(i);
        const f32 s = static_cast<f32>(glyph.argb % kGlyphsAcross) * kCell;
        const f32 t = static_cast<f32>(glyph.argb / kGlyphsAcross) * kCell;
        batch.Add(glyph, 0xFFF0E0A0, s, t, s + kCell, t + kCell);
    }
    batch.Flush(&textures.glyphs);
}

void DrawSpritesGX(const GXTextures& textures, QuadBatch& batch) {
    for (u32 i = 0; i < kSpriteCount; ++i) {
        batch.Add(SpriteAt(i), 0xFFFFFFFF);
    }
    batch.Flush(&textures.sprite);
}

enum Part {
    kBackgroundPart,
    kMoviePart,
    kPanelsPart,
    kFadePart,
    kGlyphsPart,
    kSpritesPart,
    kWholeFrame
};

void DrawPartGX(const GXTextures& textures, QuadBatch& batch, s64 part) {
    const bool whole = part == kWholeFrame;
    if (whole || part == kBackgroundPart) {
        batch.Add({0, 0, kWidth, kHeight, 0}, 0xFFFFFFFF);
        batch.Flush(&textures.background);
    }
    if (whole || part == kMoviePart) {
        DrawMovieGX(textures);
    }
    if (whole || part == kPanelsPart) {
        for (const Rect& panel : kPanels) {
            batch.Add(panel, panel.argb);
        }
        batch.Flush(nullptr);
    }
    if (whole || part == kFadePart) {
        batch.Add(kFade, kFade.argb);
        batch.Flush(nullptr);
    }
    if (whole || part == kGlyphsPart) {
        DrawGlyphsGX(textures, batch);
    }
    if (whole || part == kSpritesPart) {
        DrawSpritesGX(textures, batch);
    }
}

// ---- pixman ----

u32 Premultiplied(u32 argb) {
    const u32 a = argb >> 24;
    u32 result = a << 24;
    for (u32 shift = 0; shift < 24; shift += 8) {
        result |= ((((argb >> shift) & 0xFF) * a + 127) / 255) << shift;
    }
    return result;
}

pixman_color_t PixmanColour(u32 argb) {
    const auto channel = [&](u32 shift) {
        const u32 a = argb >> 24;
        return static_cast<u16>((((argb >> shift) & 0xFF) * a + 127) / 255 * 257);
    };
    return {channel(16), channel(8), channel(0), static_cast<u16>((argb >> 24) * 257)};
}

// What pixman draws the movie from: the YV12 planes it converts (at the video range), or
// the frame converted beforehand at the player's full range, for comparing pictures.
enum class MovieSource { kYv12, kFullRangeRgb };

struct PixmanScene {
    std::vector<u32> frame, background, sprite, yv12, movieRgb;
    std::vector<u8> glyphAlpha;
    pixman_image_t *destination, *backgroundImage, *spriteImage, *movie, *glyphSheet, *text;

    explicit PixmanScene(MovieSource source) : frame(kWidth * kHeight), glyphAlpha(64 * 64) {
        const Images& images = TheImages();
        background = images.background;
        for (u32 texel : images.sprite) {
            sprite.push_back(Premultiplied(texel));
        }
        for (u32 i = 0; i < glyphAlpha.size(); ++i) {
            glyphAlpha[i] = static_cast<u8>(images.glyphs[i] >> 24);
        }
        // YV12: the Y plane, then V, then U, each row a multiple of four bytes.
        std::vector<u8> planes(images.y);
        planes.insert(planes.end(), images.v.begin(), images.v.end());
        planes.insert(planes.end(), images.u.begin(), images.u.end());
        yv12.resize(planes.size() / 4);
        std::memcpy(yv12.data(), planes.data(), planes.size());
        destination =
            pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, frame.data(), kWidth * 4);
        backgroundImage = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight,
                                                   background.data(), kWidth * 4);
        spriteImage = pixman_image_create_bits(PIXMAN_a8r8g8b8, kSpriteSize, kSpriteSize,
                                               sprite.data(), kSpriteSize * 4);
        if (source == MovieSource::kYv12) {
            movie = pixman_image_create_bits(PIXMAN_yv12, kWidth, kHeight, yv12.data(), kWidth);
        } else {
            movieRgb = FullRangeMovie(images);
            movie = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, movieRgb.data(),
                                             kWidth * 4);
        }
        glyphSheet = pixman_image_create_bits(PIXMAN_a8, 64, 64,
                                              reinterpret_cast<u32*>(glyphAlpha.data()), 64);
        const pixman_color_t textColour = PixmanColour(0xFFF0E0A0);
        text = pixman_image_create_solid_fill(&textColour);
    }

    ~PixmanScene() {
        for (pixman_image_t* image :
             {destination, backgroundImage, spriteImage, movie, glyphSheet, text}) {
            pixman_image_unref(image);
        }
    }

    void Over(pixman_image_t* source, pixman_image_t* mask, s32 maskX, s32 maskY, const Rect& r) {
        pixman_image_composite32(PIXMAN_OP_OVER, source, mask, destination, 0, 0, maskX, maskY, r.x,
                                 r.y, r.width, r.height);
    }

    void Flat(const Rect& r) {
        const pixman_color_t colour = PixmanColour(r.argb);
        pixman_image_t* solid = pixman_image_create_solid_fill(&colour);
        Over(solid, nullptr, 0, 0, r);
        pixman_image_unref(solid);
    }

    void Draw(s64 part) {
        const bool whole = part == kWholeFrame;
        const auto copy = [&](pixman_image_t* source) {
            pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, destination, 0, 0, 0, 0, 0, 0,
                                     kWidth, kHeight);
        };
        if (whole || part == kBackgroundPart) {
            copy(backgroundImage);
        }
        if (whole || part == kMoviePart) {
            copy(movie);
        }
        if (whole || part == kPanelsPart) {
            for (const Rect& panel : kPanels) {
                Flat(panel);
            }
        }
        if (whole || part == kFadePart) {
            Flat(kFade);
        }
        if (whole || part == kGlyphsPart) {
            for (u32 i = 0; i < kGlyphCount; ++i) {
                const Rect glyph = GlyphAt(i);
                Over(text, glyphSheet, static_cast<s32>(glyph.argb % kGlyphsAcross * kGlyphSize),
                     static_cast<s32>(glyph.argb / kGlyphsAcross * kGlyphSize), glyph);
            }
        }
        if (whole || part == kSpritesPart) {
            for (u32 i = 0; i < kSpriteCount; ++i) {
                pixman_image_composite32(PIXMAN_OP_OVER, spriteImage, nullptr, destination, 0, 0, 0,
                                         0, SpriteAt(i).x, SpriteAt(i).y, kSpriteSize, kSpriteSize);
            }
        }
    }
};

// The largest difference in a colour channel between GX's picture and pixman's, each
// drawing the part over the background once (pixman's movie converted at the player's
// range), and the first pixel that shows it.
struct Difference {
    u32 levels = 0;
    u32 x = 0, y = 0, gx = 0, pixman = 0;
};

Difference DifferenceFromPixman(const GXTextures& textures, QuadBatch& batch, s64 part) {
    gxtest::Reset();
    GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
    PixmanScene scene(MovieSource::kFullRangeRgb);
    for (s64 drawn : {static_cast<s64>(kBackgroundPart), part}) {
        DrawPartGX(textures, batch, drawn);
        scene.Draw(drawn);
    }
    Difference largest;
    for (u32 y = 0; y < kHeight; ++y) {
        for (u32 x = 0; x < kWidth; ++x) {
            const u32 gx = gxtest::ArgbAt(x, y), pixman = scene.frame[y * kWidth + x];
            for (u32 shift = 0; shift < 24; shift += 8) {
                const u32 levels =
                    static_cast<u32>(std::abs(static_cast<int>(gx >> shift & 0xFF) -
                                              static_cast<int>(pixman >> shift & 0xFF)));
                if (levels > largest.levels) {
                    largest = {levels, x, y, gx & 0xFFFFFF, pixman & 0xFFFFFF};
                }
            }
        }
    }
    return largest;
}

// A part's picture may differ from pixman's by its rounding: one level a channel; the
// whole frame's layers (the movie, then the fade over it) add theirs up to two.
u32 LevelsAllowed(s64 part) {
    return part == kWholeFrame ? 2 : 1;
}

void BM_HeavyScreenGX(benchmark::State& state) {
    const s64 part = state.range(0);
    const GXTextures textures;
    QuadBatch batch;
    const Difference difference = DifferenceFromPixman(textures, batch, part);
    if (difference.levels > LevelsAllowed(part)) {
        char message[160];
        std::snprintf(message, sizeof(message),
                      "GX's picture differs from pixman's by %u levels at (%u, %u): "
                      "GX %06X, pixman %06X",
                      difference.levels, difference.x, difference.y, difference.gx,
                      difference.pixman);
        state.SkipWithError(message);
        return;
    }
    for (auto _ : state) {
        DrawPartGX(textures, batch, part);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_HeavyScreenGX)
    ->DenseRange(kBackgroundPart, kWholeFrame)
    ->Unit(benchmark::kMillisecond);

void BM_HeavyScreenPixman(benchmark::State& state) {
    PixmanScene scene(MovieSource::kYv12);
    for (auto _ : state) {
        scene.Draw(state.range(0));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_HeavyScreenPixman)
    ->DenseRange(kBackgroundPart, kWholeFrame)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparisons(
        argc, argv,
        {{"background 640 x 480", "BM_HeavyScreenGX/0", "GX", "BM_HeavyScreenPixman/0", "pixman"},
         {"movie 640 x 480", "BM_HeavyScreenGX/1", "GX", "BM_HeavyScreenPixman/1", "pixman"},
         {"two panels", "BM_HeavyScreenGX/2", "GX", "BM_HeavyScreenPixman/2", "pixman"},
         {"fade", "BM_HeavyScreenGX/3", "GX", "BM_HeavyScreenPixman/3", "pixman"},
         {"600 glyphs", "BM_HeavyScreenGX/4", "GX", "BM_HeavyScreenPixman/4", "pixman"},
         {"100 sprites", "BM_HeavyScreenGX/5", "GX", "BM_HeavyScreenPixman/5", "pixman"},
         {"the batch's parts (all but the movie), summed",
          "BM_HeavyScreenGX/0+BM_HeavyScreenGX/2+BM_HeavyScreenGX/3+BM_HeavyScreenGX/4+"
          "BM_HeavyScreenGX/5",
          "GX",
          "BM_HeavyScreenPixman/0+BM_HeavyScreenPixman/2+BM_HeavyScreenPixman/3+"
          "BM_HeavyScreenPixman/4+BM_HeavyScreenPixman/5",
          "pixman"},
         {"whole frame", "BM_HeavyScreenGX/6", "GX", "BM_HeavyScreenPixman/6", "pixman"}});
}
