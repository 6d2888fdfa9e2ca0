// Texture objects, palettes and the texture maps they are loaded into.
#include "gx/texture.h"

#include <console/os.h>

namespace {

constexpr u32 kPaletteSlots = GX_TLUT15 + 1;

struct TextureState {
    GXTexObj maps[GX_MAX_TEXMAP];
    bool loaded[GX_MAX_TEXMAP];
    u32 palettes[kPaletteSlots][kGXPaletteEntries];
};

constinit TextureState s_textures{};

u32 DecodeRgb5a3(u32 value) {
    if (value & 0x8000) {
        const u32 r = (value >> 10) & 0x1F;
        const u32 g = (value >> 5) & 0x1F;
        const u32 b = value & 0x1F;
        return 0xFF000000 | (r << 3 | r >> 2) << 16 | (g << 3 | g >> 2) << 8 | (b << 3 | b >> 2);
    }
    const u32 a = (value >> 12) & 0x7;
    const u32 r = (value >> 8) & 0xF;
    const u32 g = (value >> 4) & 0xF;
    const u32 b = value & 0xF;
    return (a << 5 | a << 2 | a >> 1) << 24 | (r * 17) << 16 | (g * 17) << 8 | b * 17;
}

// Palette entries are big-endian 16-bit values.
u32 DecodePaletteEntry(const u8* entry, GXTlutFmt format) {
    const u32 value = static_cast<u32>(entry[0]) << 8 | entry[1];
    switch (format) {
    case GX_TL_IA8: // alpha, then intensity
        return static_cast<u32>(entry[0]) << 24 | entry[1] * 0x010101u;
    case GX_TL_RGB565:
        return gx_texture::Expand565(value);
    default:
        return DecodeRgb5a3(value);
    }
}

bool IsPowerOfTwo(u32 value) {
    return (value & (value - 1)) == 0;
}

bool Linear(GXTexFilter filter) {
    return filter == GX_LINEAR || filter == GX_LIN_MIP_NEAR || filter == GX_LIN_MIP_LIN;
}

// A texture that cannot be sampled keeps no image, so it samples as transparent black.
void Describe(GXTexObj* texture, const void* image, u16 width, u16 height, u32 format,
              GXTexWrapMode wrapS, GXTexWrapMode wrapT, GXBool mipmap, bool supported,
              const char* call) {
    const bool sizeOk =
        width >= 1 && height >= 1 && width <= kGXMaxTextureSize && height <= kGXMaxTextureSize;
    const bool wrapOk = wrapS <= GX_MIRROR && wrapT <= GX_MIRROR;
    if (!sizeOk || !wrapOk || image == nullptr) {
        OSReport("%s: %u x %u image %p wrap %u/%u cannot be sampled\n", call, width, height, image,
                 wrapS, wrapT);
    }
    *texture = GXTexObj{supported && sizeOk && wrapOk ? image : nullptr,
                        width,
                        height,
                        format,
                        wrapS,
                        wrapT,
                        mipmap ? GX_LIN_MIP_LIN : GX_LINEAR,
                        GX_LINEAR,
                        0};
}

} // namespace

void GXResetTextures() {
    s_textures = TextureState{};
}

GXTextureSampler GXResolveSampler(u32 map) {
    GXTextureSampler sampler{};
    if (map >= GX_MAX_TEXMAP || !s_textures.loaded[map]) {
        return sampler;
    }
    const GXTexObj& texture = s_textures.maps[map];
    const bool byteTexels = texture.format == GX_TF_I8 || texture.format == GX_TF_C8;
    sampler.image = static_cast<const u8*>(texture.image);
    sampler.format = texture.format;
    sampler.width = texture.width;
    sampler.height = texture.height;
    sampler.maskS = IsPowerOfTwo(texture.width) ? texture.width - 1 : -1;
    sampler.maskT = IsPowerOfTwo(texture.height) ? texture.height - 1 : -1;
    sampler.tilesPerRow = byteTexels ? (texture.width + 7u) / 8 : (texture.width + 3u) / 4;
    sampler.wrapS = texture.wrapS;
    sampler.wrapT = texture.wrapT;
    sampler.linearMagnify = Linear(texture.magFilter);
    sampler.linearMinify = Linear(texture.minFilter);
    sampler.palette = s_textures.palettes[texture.tlut];
    return sampler;
}

void GXInitTexObj(GXTexObj* texture, const void* image, u16 width, u16 height, GXTexFmt format,
                  GXTexWrapMode wrapS, GXTexWrapMode wrapT, GXBool mipmap) {
    if (texture == nullptr) {
        OSReport("GXInitTexObj: no texture object\n");
        return;
    }
    const bool supported = format == GX_TF_RGBA8 || format == GX_TF_RGB565 || format == GX_TF_I8;
    if (!supported) {
        OSReport("GXInitTexObj: texture format %u is not supported; it samples as black\n", format);
    }
    Describe(texture, image, width, height, format, wrapS, wrapT, mipmap, supported,
             "GXInitTexObj");
}

void GXInitTexObjCI(GXTexObj* texture, const void* image, u16 width, u16 height, GXCITexFmt format,
                    GXTexWrapMode wrapS, GXTexWrapMode wrapT, GXBool mipmap, u32 tlut) {
    if (texture == nullptr) {
        OSReport("GXInitTexObjCI: no texture object\n");
        return;
    }
    const bool supported = format == GX_TF_C8 && tlut < kPaletteSlots;
    if (!supported) {
        OSReport("GXInitTexObjCI: format %u with palette slot %u is not supported; it samples "
                 "as black\n",
                 format, tlut);
    }
    Describe(texture, image, width, height, format, wrapS, wrapT, mipmap, supported,
             "GXInitTexObjCI");
    texture->tlut = supported ? tlut : 0;
}

void GXInitTexObjLOD(GXTexObj* texture, GXTexFilter minFilter, GXTexFilter magFilter, f32, f32, f32,
                     GXBool, GXBool, GXAnisotropy) {
    if (texture == nullptr || minFilter > GX_LIN_MIP_LIN || magFilter > GX_LINEAR) {
        OSReport("GXInitTexObjLOD: filters %u/%u not supported; ignored\n", minFilter, magFilter);
        return;
    }
    texture->minFilter = minFilter;
    texture->magFilter = magFilter;
}

void GXInitTlutObj(GXTlutObj* tlut, const void* table, GXTlutFmt format, u16 entryCount) {
    if (tlut == nullptr) {
        OSReport("GXInitTlutObj: no palette object\n");
        return;
    }
    if (format > GX_TL_RGB5A3 || entryCount > kGXPaletteEntries || table == nullptr) {
        OSReport("GXInitTlutObj: palette %p of %u entries in format %u is not supported; it "
                 "loads as black\n",
                 table, entryCount, format);
        *tlut = GXTlutObj{nullptr, GX_TL_RGB5A3, 0};
        return;
    }
    *tlut = GXTlutObj{table, format, entryCount};
}

void GXLoadTexObj(const GXTexObj* texture, GXTexMapID map) {
    if (texture == nullptr || map >= GX_MAX_TEXMAP) {
        OSReport("GXLoadTexObj: texture %p into map %u; ignored\n",
                 static_cast<const void*>(texture), map);
        return;
    }
    s_textures.maps[map] = *texture;
    s_textures.loaded[map] = true;
}

void GXLoadTlut(const GXTlutObj* tlut, u32 slot) {
    if (tlut == nullptr || slot >= kPaletteSlots) {
        OSReport("GXLoadTlut: palette %p into slot %u; ignored\n", static_cast<const void*>(tlut),
                 slot);
        return;
    }
    u32* palette = s_textures.palettes[slot];
    const u8* table = static_cast<const u8*>(tlut->table);
    const u32 count = table != nullptr ? tlut->entryCount : 0;
    for (u32 entry = 0; entry < kGXPaletteEntries; ++entry) {
        palette[entry] = entry < count ? DecodePaletteEntry(table + 2 * entry, tlut->format) : 0;
    }
}
