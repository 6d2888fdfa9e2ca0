// The decoded-row store: a few textures' rows, each row's 32-texel chunks stamped with
// the primitive that decoded them. A texture whose tiles cover it exactly keeps a copy
// of its image as decoded; a later primitive compares each block of tiles it reads (four
// texel rows of one chunk, contiguous in the image) with the copy and takes the decoded
// chunks again only where they are unchanged, so memory changed in place is still seen.
#include "gx/texture_rows.h"

#include "gx/rgba8_tiles.h"
#include "gx/runtime_simd.h"

#include <console/host_heap.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr s32 kChunk = 32;
constexpr s32 kTileHeight = 4;
constexpr s32 kRowBorder = 6; // texels -1 and width, and room to read four past the end
constexpr u32 kSlots = 8;

// Texels first to last (-1 to width) of a row that the generation `stamp` has decoded.
struct Decoded {
    u32 stamp;
    s32 first, last;
};

// One texture's rows; every stamp below `since` was made for another texture. Its memory
// comes from the host: the graphics processor's memory is not part of the game's heap.
struct TextureSlot {
    GXTextureSampler sampler{};
    u32 palette[kGXPaletteEntries]{}; // C8's colours as decoded
    bool kept = false;                // its chunks outlive the primitive, checked against `image`
    u32 since = 0;
    u32 lastUsed = 0;
    u32 wholeAt = 0;              // generation that has decoded every row whole, texels -1 to width
    u32 countedAt = 0;            // generation `wholeRows` counts for
    s32 wholeRows = 0;            // rows that generation has decoded whole
    s32 chunks = 0;               // per row
    s32 stride = 0;               // elements per row
    HostVector<u32> rowStamp;     // borders decoded
    HostVector<Decoded> decoded;  // per row
    HostVector<u32> chunkStamp;   // [row][chunk]
    HostVector<u32> blockChecked; // [tile row][chunk]: generation compared with `image`
    HostVector<u32> blockChanged; // [tile row][chunk]: generation the copy was last taken
    HostVector<u8> image;         // the image as its decoded chunks were decoded
    HostVector<u32> texels;       // [row][stride]
};

struct RowStore {
    u32 generation = 0; // of the primitive being drawn
    TextureSlot slots[kSlots];
};

constinit RowStore s_rows;
constinit TextureSlot* s_active = &s_rows.slots[0];

s32 TileWidth(u32 format) {
    return format == GX_TF_I8 || format == GX_TF_C8 ? 8 : 4;
}

s32 TileBytes(u32 format) {
    return format == GX_TF_RGBA8 ? 64 : 32;
}

// Texels [from, to) of row y to out[0] on.
template <u32 kFormat>
void DecodeTexels(s32 y, s32 from, s32 to, u32* out) {
    for (s32 x = from; x < to; ++x) {
        out[x - from] = gx_texture::Fetch<kFormat>(s_active->sampler, x, y);
    }
}

// Whole 4 x 4 tiles of RGBA8, a row of four texels at a time: the alpha-red and
// green-blue byte pairs swapped into blue, green, red, alpha (with AVX2's byte shuffle
// where the processor has it).
void DecodeRgba8Tiles(s32 y, s32 from, s32 to, u32* out) {
    using Lanes = u16 __attribute__((vector_size(16)));
    using Halves = u64 __attribute__((vector_size(16)));
    const GXTextureSampler& t = s_active->sampler;
    const u8* tileRow = t.image + (static_cast<u32>(y >> 2) * t.tilesPerRow) * 64;
#if defined(__x86_64__)
    if (GXHasAvx2()) {
        GXDecodeRgba8TileRowAvx2(tileRow + (from >> 2) * 64, static_cast<u32>(y & 3),
                                 static_cast<u32>((to - from) >> 2), out);
        return;
    }
#endif
    const u8* tiles = tileRow + (y & 3) * 8;
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
        std::memcpy(out + (x - from), &texels, sizeof texels);
    }
}

// RGBA8 texels [from, to): the whole tiles' rows among them four at a time.
void DecodeRgba8(s32 y, s32 from, s32 to, u32* out) {
    const s32 tilesFrom = std::min((from + 3) & ~3, to);
    const s32 tilesTo = std::max(to & ~3, tilesFrom);
    DecodeTexels<GX_TF_RGBA8>(y, from, tilesFrom, out);
    DecodeRgba8Tiles(y, tilesFrom, tilesTo, out + (tilesFrom - from));
    DecodeTexels<GX_TF_RGBA8>(y, tilesTo, to, out + (tilesTo - from));
}

// Texels [from, to) of row y, all inside the texture, to out[0] on.
void Decode(s32 y, s32 from, s32 to, u32* out) {
    switch (s_active->sampler.format) {
    case GX_TF_RGBA8:
        DecodeRgba8(y, from, to, out);
        break;
    case GX_TF_RGB565:
        DecodeTexels<GX_TF_RGB565>(y, from, to, out);
        break;
    case GX_TF_C8:
        DecodeTexels<GX_TF_C8>(y, from, to, out);
        break;
    default:
        DecodeTexels<GX_TF_I8>(y, from, to, out);
        break;
    }
}

// The image bytes of tile row `tileRow`'s texels [chunk * kChunk, + kChunk): whole tiles,
// one after another.
struct Block {
    const u8* image;
    u8* copy;
    u32 size;
};

Block BlockOf(TextureSlot& slot, s32 tileRow, s32 chunk) {
    const GXTextureSampler& t = slot.sampler;
    const u32 tileBytes = static_cast<u32>(TileBytes(t.format));
    const u32 tilesPerChunk = static_cast<u32>(kChunk / TileWidth(t.format));
    const u32 firstTile = static_cast<u32>(chunk) * tilesPerChunk;
    const u32 tiles = std::min(tilesPerChunk, t.tilesPerRow - firstTile);
    const u32 at = (static_cast<u32>(tileRow) * t.tilesPerRow + firstTile) * tileBytes;
    return {t.image + at, slot.image.data() + at, tiles * tileBytes};
}

// The generation from which the chunks of tile row `tileRow` are as the image holds them
// now, the image's block compared with the copy once per generation.
u32 BlockChangedAt(TextureSlot& slot, s32 tileRow, s32 chunk) {
    const u32 generation = s_rows.generation;
    const size_t at = static_cast<size_t>(tileRow) * static_cast<size_t>(slot.chunks) +
                      static_cast<size_t>(chunk);
    if (slot.blockChecked[at] != generation) {
        const Block block = BlockOf(slot, tileRow, chunk);
        const bool copied = slot.blockChecked[at] >= slot.since;
        if (!copied || std::memcmp(block.copy, block.image, block.size) != 0) {
            std::memcpy(block.copy, block.image, block.size);
            slot.blockChanged[at] = generation;
        }
        slot.blockChecked[at] = generation;
    }
    return slot.blockChanged[at];
}

// Whether chunk `chunk` of row y, stamped `stamp` by an earlier primitive, still holds
// what the image holds; a kept texture's block is compared with its copy (or copied) first.
bool StillDecoded(TextureSlot& slot, s32 y, s32 chunk, u32 stamp) {
    if (!slot.kept) {
        return false;
    }
    const u32 changedAt = BlockChangedAt(slot, y / kTileHeight, chunk);
    return stamp >= slot.since && stamp >= changedAt;
}

// The texels a row carries either side: -1 and width, as the horizontal wrap gives them.
struct Borders {
    s32 before, after;
};

Borders BordersOf(const GXTextureSampler& t) {
    return {gx_texture::Wrap(-1, t.width, t.maskS, t.wrapS),
            gx_texture::Wrap(t.width, t.width, t.maskS, t.wrapS)};
}

void DecodeBorders(s32 y, u32* row) {
    const GXTextureSampler& t = s_active->sampler;
    const s32 width = t.width;
    const auto [before, after] = BordersOf(t);
    Decode(y, before, before + 1, row);
    Decode(y, after, after + 1, row + width + 1);
}

// Whether row y's borders, decoded by an earlier primitive at `stamp`, still hold what
// the image holds.
bool BordersStillDecoded(TextureSlot& slot, s32 y, u32 stamp) {
    const Borders borders = BordersOf(slot.sampler);
    return StillDecoded(slot, y, borders.before / kChunk, stamp) &&
           StillDecoded(slot, y, borders.after / kChunk, stamp);
}

// Notes texels first to last of a row decoded, with those decoded before when the two
// ranges meet.
void NoteDecoded(Decoded& decoded, s32 first, s32 last) {
    const u32 generation = s_rows.generation;
    if (decoded.stamp == generation && first <= decoded.last + 1 && last >= decoded.first - 1) {
        decoded.first = std::min(decoded.first, first);
        decoded.last = std::max(decoded.last, last);
    } else {
        decoded = {generation, first, last};
    }
}

// Whether generation `generation` has decoded texels first to last of the row.
bool Covers(const Decoded& decoded, u32 generation, s32 first, s32 last) {
    return decoded.stamp == generation && first >= decoded.first && last <= decoded.last;
}

// Counts one more row decoded whole by this generation; with the last, every row is.
void CountWholeRow(TextureSlot& slot) {
    const u32 generation = s_rows.generation;
    if (slot.countedAt != generation) {
        slot.countedAt = generation;
        slot.wholeRows = 0;
    }
    if (++slot.wholeRows == slot.sampler.height) {
        slot.wholeAt = generation;
    }
}

// Decodes what row y lacks of texels first to last.
[[gnu::noinline]] const u32* DecodeRow(s32 y, s32 first, s32 last) {
    TextureSlot& slot = *s_active;
    const u32 generation = s_rows.generation;
    const size_t rowAt = static_cast<size_t>(y);
    u32* row = slot.texels.data() + rowAt * static_cast<size_t>(slot.stride);
    if (slot.rowStamp[rowAt] != generation) {
        if (!BordersStillDecoded(slot, y, slot.rowStamp[rowAt])) {
            DecodeBorders(y, row);
        }
        slot.rowStamp[rowAt] = generation;
    }
    const s32 width = slot.sampler.width;
    const s32 from = std::max(first, 0) / kChunk;
    const s32 to = std::min(last, width - 1) / kChunk;
    u32* stamps = slot.chunkStamp.data() + rowAt * static_cast<size_t>(slot.chunks);
    for (s32 chunk = from; chunk <= to; ++chunk) {
        if (stamps[chunk] == generation) {
            continue;
        }
        if (!StillDecoded(slot, y, chunk, stamps[chunk])) {
            const s32 from = chunk * kChunk;
            Decode(y, from, std::min(from + kChunk, width), row + from + 1);
        }
        stamps[chunk] = generation;
    }
    NoteDecoded(slot.decoded[rowAt], from == 0 ? -1 : from * kChunk,
                to == slot.chunks - 1 ? width : to * kChunk + kChunk - 1);
    // A row already whole is never decoded again in the generation, so each counts once.
    if (Covers(slot.decoded[rowAt], generation, -1, width)) {
        CountWholeRow(slot);
    }
    return row;
}

bool SameTexture(const TextureSlot& slot, const GXTextureSampler& t) {
    const GXTextureSampler& s = slot.sampler;
    const bool same = s.image == t.image && s.format == t.format && s.width == t.width &&
                      s.height == t.height && s.wrapS == t.wrapS;
    return same &&
           (t.format != GX_TF_C8 || std::memcmp(slot.palette, t.palette, sizeof slot.palette) == 0);
}

// Whether the image's tiles cover the texture exactly, so that its blocks can be compared.
bool WholeTiles(const GXTextureSampler& t) {
    return t.width % TileWidth(t.format) == 0 && t.height % kTileHeight == 0;
}

template <typename T>
void Fit(HostVector<T>& values, s32 count) {
    if (values.size() < static_cast<size_t>(count)) {
        values.resize(static_cast<size_t>(count));
    }
}

// Gives the least recently used slot to this texture.
TextureSlot& Reassign(const GXTextureSampler& t) {
    TextureSlot* slot = &s_rows.slots[0];
    for (TextureSlot& candidate : s_rows.slots) {
        slot = candidate.lastUsed < slot->lastUsed ? &candidate : slot;
    }
    slot->sampler = t;
    if (t.format == GX_TF_C8) {
        std::memcpy(slot->palette, t.palette, sizeof slot->palette);
    }
    slot->kept = WholeTiles(t);
    slot->since = s_rows.generation;
    slot->chunks = (t.width + kChunk - 1) / kChunk;
    slot->stride = t.width + kRowBorder;
    const s32 tileRows = (t.height + kTileHeight - 1) / kTileHeight;
    Fit(slot->rowStamp, t.height);
    Fit(slot->decoded, t.height);
    Fit(slot->chunkStamp, t.height * slot->chunks);
    Fit(slot->texels, t.height * slot->stride);
    if (slot->kept) {
        Fit(slot->blockChecked, tileRows * slot->chunks);
        Fit(slot->blockChanged, tileRows * slot->chunks);
        Fit(slot->image, tileRows * static_cast<s32>(t.tilesPerRow) * TileBytes(t.format));
    }
    return *slot;
}

// Stamps start again from 1 when the generation wraps: every slot is forgotten.
void Restart() {
    for (TextureSlot& slot : s_rows.slots) {
        slot = TextureSlot{};
    }
    s_rows.generation = 1;
}

} // namespace

void GXStartTextureRows(const GXTextureSampler& sampler) {
    if (++s_rows.generation == 0) {
        Restart();
    }
    TextureSlot* slot = nullptr;
    for (TextureSlot& candidate : s_rows.slots) {
        slot = SameTexture(candidate, sampler) ? &candidate : slot;
    }
    s_active = slot != nullptr ? slot : &Reassign(sampler);
    s_active->sampler = sampler;
    s_active->lastUsed = s_rows.generation;
}

const u32* GXTextureRow(s32 y, s32 first, s32 last) {
    const TextureSlot& slot = *s_active;
    const size_t rowAt = static_cast<size_t>(y);
    if (Covers(slot.decoded[rowAt], s_rows.generation, first, last)) {
        return slot.texels.data() + rowAt * static_cast<size_t>(slot.stride);
    }
    return DecodeRow(y, first, last);
}

void GXTextureRows(const s32* ys, u32 count, s32 first, s32 last, const u32** rows) {
    // The slot's stores do not move while a primitive is drawn; held here, they are not read
    // again after each row is written out.
    const TextureSlot& slot = *s_active;
    const Decoded* const decoded = slot.decoded.data();
    const u32* const texels = slot.texels.data();
    const size_t stride = static_cast<size_t>(slot.stride);
    const u32 generation = s_rows.generation;
    if (slot.wholeAt == generation) {
        for (u32 i = 0; i < count; ++i) {
            rows[i] = texels + static_cast<size_t>(ys[i]) * stride;
        }
        return;
    }
    for (u32 i = 0; i < count; ++i) {
        rows[i] = Covers(decoded[ys[i]], generation, first, last)
                      ? texels + static_cast<size_t>(ys[i]) * stride
                      : DecodeRow(ys[i], first, last);
    }
}

void GXDecodeTexels(s32 y, s32 first, s32 last, u32* out) {
    Decode(y, first, last + 1, out);
}
