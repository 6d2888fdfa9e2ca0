// Texture stages: binding a texture builds its GX objects once (after creation or
// Dirty), tiling level 0 into a copy unless it is already tiled, and loads them.
#include "krenderwii_private.h"

#include <console/os.h>
#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>

namespace Kelvo_lib {

using namespace kRenderWII_Private;

namespace {

constexpr u16 kPaletteEntries = 256;

// GX tile layout of a texture format: tiles of tileWidth x tileHeight pixels, tileBytes
// each, left to right, then top to bottom.
struct TileLayout {
    u32 tileWidth;
    u32 tileHeight;
    u32 tileBytes;

    u32 TilesAcross(u32 width) const { return (width + tileWidth - 1) / tileWidth; }
    u32 TilesDown(u32 height) const { return (height + tileHeight - 1) / tileHeight; }
    u32 BufferSize(u32 width, u32 height) const {
        return TilesAcross(width) * TilesDown(height) * tileBytes;
    }
};

constexpr TileLayout kRGBA8Tiles{4, 4, 64};
constexpr TileLayout kRGB565Tiles{4, 4, 32};
constexpr TileLayout kC8Tiles{8, 4, 32};

// Calls copy(tile, i, pixel) for each image pixel: tile is the first byte of its tile, i its
// index inside the tile (row by row), pixel its index in the untiled image. Tile bytes of
// pixels outside the image are not touched.
template <class CopyPixel>
void ForEachTiledPixel(const TileLayout& layout, u32 width, u32 height, u8* dst, CopyPixel&& copy) {
    for (u32 y = 0; y < height; ++y) {
        for (u32 x = 0; x < width; ++x) {
            const u32 tileIndex =
                (y / layout.tileHeight) * layout.TilesAcross(width) + x / layout.tileWidth;
            const u32 i = (y % layout.tileHeight) * layout.tileWidth + x % layout.tileWidth;
            copy(dst + tileIndex * layout.tileBytes, i, y * width + x);
        }
    }
}

// Source pixels are the bytes A, R, G, B; a tile holds the A-R pairs, then the G-B pairs.
void ConvertImage32(const u8* src, u32 width, u32 height, u8* dst) {
    ForEachTiledPixel(kRGBA8Tiles, width, height, dst, [src](u8* tile, u32 i, u32 pixel) {
        const u8* argb = src + pixel * 4;
        tile[2 * i] = argb[0];
        tile[2 * i + 1] = argb[1];
        tile[32 + 2 * i] = argb[2];
        tile[33 + 2 * i] = argb[3];
    });
}

// Big-endian 16-bit words; blue-green-red 5-6-5 becomes GX RGB565 by exchanging the two
// 5-bit fields, unless the data is already in that order (invert).
void ConvertImage16(const u8* src, u32 width, u32 height, u8* dst, bool invert) {
    ForEachTiledPixel(kRGB565Tiles, width, height, dst, [=](u8* tile, u32 i, u32 pixel) {
        const u32 word = static_cast<u32>(src[pixel * 2]) << 8 | src[pixel * 2 + 1];
        const u32 out = invert ? word : (word & 0x1F) << 11 | (word & 0x07E0) | word >> 11;
        tile[2 * i] = static_cast<u8>(out >> 8);
        tile[2 * i + 1] = static_cast<u8>(out);
    });
}

void ConvertImageCI8(const u8* src, u32 width, u32 height, u8* dst) {
    ForEachTiledPixel(kC8Tiles, width, height, dst,
                      [src](u8* tile, u32 i, u32 pixel) { tile[i] = src[pixel]; });
}

const TileLayout* TilesOfFormat(u32 gxFormat) {
    switch (gxFormat) {
    case KR_WII_FORMAT_RGBA8:
        return &kRGBA8Tiles;
    case KR_WII_FORMAT_RGB565:
        return &kRGB565Tiles;
    case KR_WII_FORMAT_C8:
        return &kC8Tiles;
    default:
        return nullptr;
    }
}

// Points texdata at level 0 (already tiled), or tiles level 0 into a copy made once.
bool PrepareTiledData(krTextureResourceWII& texture, u32 size) {
    u8* level0 = static_cast<u8*>(texture.GetMipMapData(0));
    if (texture.preswizzled) {
        krTextureResourceLevel level{};
        if (!texture.GetMipMapLevel(0, level) || level.dataSize < size) {
            kLogSys("WII", "Texture: tiled level 0 holds fewer than the %u bytes GX reads\n", size);
            return false;
        }
        if (texture.texdata != nullptr && texture.texdata != level0) {
            MEMFreeToAllocator(&MyDemoAllocator2, texture.texdata); // an earlier copy
        }
        texture.texdata = level0;
        return true;
    }
    if (texture.texdata == nullptr) {
        texture.texdata = MEMAllocFromAllocator(&MyDemoAllocator2, size);
        if (texture.texdata == nullptr) {
            kLogSys("WII", "Texture: no memory for %u bytes of tiles\n", size);
            return false;
        }
    }
    u8* tiles = static_cast<u8*>(texture.texdata);
    const u32 width = texture.Width();
    const u32 height = texture.Height();
    switch (texture.GXFormat()) {
    case KR_WII_FORMAT_RGBA8:
        ConvertImage32(level0, width, height, tiles);
        break;
    case KR_WII_FORMAT_RGB565:
        if (texture.IsInverted()) {
            kLogFmt("  Converting invert\n");
        }
        ConvertImage16(level0, width, height, tiles, texture.IsInverted());
        break;
    default:
        ConvertImageCI8(level0, width, height, tiles);
        break;
    }
    return true;
}

// Builds the GX texture (and palette) objects from level 0; validObj says whether it did.
void BuildTextureObjects(krTextureResourceWII& texture) {
    const TileLayout* tiles = TilesOfFormat(texture.GXFormat());
    if (tiles == nullptr || texture.NumMipMaps() == 0) {
        kLogSys("WII", "Texture: format %u with %u levels cannot be bound\n", texture.GXFormat(),
                texture.NumMipMaps());
        return;
    }
    const bool palette = texture.GXFormat() == KR_WII_FORMAT_C8;
    if (palette) {
        GXInitTlutObj(&texture.tlutObj, texture.GetTableData(), GX_TL_RGB5A3, kPaletteEntries);
        DCFlushRange(texture.GetTableData(), texture.CalculateTableSize());
    }
    const u32 width = texture.Width();
    const u32 height = texture.Height();
    const u32 size = tiles->BufferSize(width, height);
    if (!PrepareTiledData(texture, size)) {
        return;
    }
    DCFlushRange(texture.texdata, size);
    const u16 w = static_cast<u16>(width);
    const u16 h = static_cast<u16>(height);
    if (palette) {
        GXInitTexObjCI(&texture.texObj, texture.texdata, w, h, GX_TF_C8, GX_REPEAT, GX_REPEAT,
                       GX_FALSE, GX_TLUT0);
    } else {
        GXInitTexObj(&texture.texObj, texture.texdata, w, h,
                     static_cast<GXTexFmt>(texture.GXFormat()), GX_REPEAT, GX_REPEAT, GX_FALSE);
    }
    GXInitTexObjLOD(&texture.texObj, GX_LIN_MIP_LIN, GX_LINEAR, 0.0f, 0.0f, 0.0f, GX_FALSE,
                    GX_FALSE, GX_ANISO_1);
    texture.validObj = true;
}

} // namespace

void kRender::SetTextureResource(int index, const RcPtr<krTextureResourceWII>& texture) {
    if (index < 0 || index >= static_cast<int>(KR_NUM_TEXTURE_STAGES)) {
        return;
    }
    RcPtr<krTextureResourceWII>& stage = m_renderState.textureRef[index];
    krTextureResourceWII* bound = texture.Get();
    if (bound == nullptr) {
        stage = RcPtr<krTextureResourceWII>();
        return;
    }
    if (bound == stage.Get()) {
        return;
    }
    if (bound->IsSurfaceTexture()) {
        kAssertMsg(bound->validObj, "texture->validObj");
        GXInvalidateTexAll();
    } else {
        if (bound->dirty) {
            bound->dirty = false;
            bound->validObj = false;
        }
        if (!bound->validObj) {
            BuildTextureObjects(*bound);
        }
    }
    if (bound->validObj) {
        if (bound->GXFormat() == KR_WII_FORMAT_C8) {
            GXLoadTlut(&bound->tlutObj, GX_TLUT0);
        }
        GXLoadTexObj(&bound->texObj, static_cast<GXTexMapID>(GX_TEXMAP0 + index));
    } else {
        kLogFmt("Error couldn't load texture object!\n");
    }
    stage = texture;
}

} // namespace Kelvo_lib
