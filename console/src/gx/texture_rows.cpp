// The decoded-row store: rows and 32-texel chunks stamped with the primitive that
// decoded them.
#include "gx/texture_rows.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr s32 kChunk = 32;
constexpr s32 kChunks = kGXMaxTextureSize / kChunk;
constexpr s32 kRowLength = kGXMaxTextureSize + 6;

struct RowStore {
    GXTextureSampler sampler;
    u32 generation;                    // of the primitive being drawn; stamps below it are stale
    u32 rowStamp[kGXMaxTextureSize];   // borders decoded
    u32 wholeStamp[kGXMaxTextureSize]; // every chunk decoded
    u32 chunkStamp[kGXMaxTextureSize][kChunks];
    s32 chunksDecoded[kGXMaxTextureSize];
    u32 texels[kGXMaxTextureSize][kRowLength];
};

// Zero-initialised, so it costs nothing until rows are used.
constinit RowStore s_rows{};

template <u32 kFormat>
void DecodeTexels(s32 y, s32 from, s32 to, u32* row) {
    for (s32 x = from; x < to; ++x) {
        row[x + 1] = gx_texture::Fetch<kFormat>(s_rows.sampler, x, y);
    }
}

// Whole 4 x 4 tiles of RGBA8, a row of four texels at a time: the alpha-red and
// green-blue byte pairs swapped into blue, green, red, alpha.
void DecodeRgba8Tiles(s32 y, s32 from, s32 to, u32* row) {
    using Lanes = u16 __attribute__((vector_size(16)));
    using Halves = u64 __attribute__((vector_size(16)));
    const GXTextureSampler& t = s_rows.sampler;
    const u8* tiles = t.image + (static_cast<u32>(y >> 2) * t.tilesPerRow) * 64 + (y & 3) * 8;
    const auto lanesOf = [](const u8* bytes) {
        u64 half;
        std::memcpy(&half, bytes, sizeof half);
        const Lanes pairs = reinterpret_cast<Lanes>(Halves{half, 0});
        return pairs << 8 | pairs >> 8;
    };
    for (s32 x = from; x < to; x += 4) {
        const u8* tile = tiles + (x >> 2) * 64;
        const Lanes texels =
            __builtin_shufflevector(lanesOf(tile + 32), lanesOf(tile), 0, 8, 1, 9, 2, 10, 3, 11);
        std::memcpy(row + x + 1, &texels, sizeof texels);
    }
}

// Texels [from, to) of row y, all inside the texture.
void Decode(s32 y, s32 from, s32 to, u32* row) {
    switch (s_rows.sampler.format) {
    case GX_TF_RGBA8:
        if (from % 4 == 0 && to % 4 == 0) {
            DecodeRgba8Tiles(y, from, to, row);
        } else {
            DecodeTexels<GX_TF_RGBA8>(y, from, to, row);
        }
        break;
    case GX_TF_RGB565:
        DecodeTexels<GX_TF_RGB565>(y, from, to, row);
        break;
    case GX_TF_C8:
        DecodeTexels<GX_TF_C8>(y, from, to, row);
        break;
    default:
        DecodeTexels<GX_TF_I8>(y, from, to, row);
        break;
    }
}

void DecodeBorders(s32 y, u32* row) {
    const GXTextureSampler& t = s_rows.sampler;
    const s32 width = t.width;
    const s32 before = gx_texture::Wrap(-1, width, t.maskS, t.wrapS);
    const s32 after = gx_texture::Wrap(width, width, t.maskS, t.wrapS);
    Decode(y, before, before + 1, row);
    row[0] = row[before + 1];
    Decode(y, after, after + 1, row);
    row[width + 1] = row[after + 1];
}

// Decodes what row y lacks of texels first to last.
[[gnu::noinline]] const u32* DecodeRow(s32 y, s32 first, s32 last) {
    const u32 generation = s_rows.generation;
    u32* row = s_rows.texels[y];
    if (s_rows.rowStamp[y] != generation) {
        s_rows.rowStamp[y] = generation;
        s_rows.chunksDecoded[y] = 0;
        DecodeBorders(y, row);
    }
    const s32 width = s_rows.sampler.width;
    const s32 from = std::max(first, 0) / kChunk;
    const s32 to = std::min(last, width - 1) / kChunk;
    u32* stamps = s_rows.chunkStamp[y];
    for (s32 chunk = from; chunk <= to; ++chunk) {
        if (stamps[chunk] != generation) {
            stamps[chunk] = generation;
            Decode(y, chunk * kChunk, std::min((chunk + 1) * kChunk, width), row);
            ++s_rows.chunksDecoded[y];
        }
    }
    if (s_rows.chunksDecoded[y] == (width + kChunk - 1) / kChunk) {
        s_rows.wholeStamp[y] = generation;
    }
    return row;
}

} // namespace

void GXStartTextureRows(const GXTextureSampler& sampler) {
    s_rows.sampler = sampler;
    if (++s_rows.generation == 0) {
        std::memset(s_rows.rowStamp, 0, sizeof s_rows.rowStamp);
        std::memset(s_rows.wholeStamp, 0, sizeof s_rows.wholeStamp);
        std::memset(s_rows.chunkStamp, 0, sizeof s_rows.chunkStamp);
        s_rows.generation = 1;
    }
}

const u32* GXTextureRow(s32 y, s32 first, s32 last) {
    if (s_rows.wholeStamp[y] == s_rows.generation) {
        return s_rows.texels[y];
    }
    return DecodeRow(y, first, last);
}
