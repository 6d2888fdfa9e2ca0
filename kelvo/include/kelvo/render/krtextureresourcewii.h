// krTextureResourceWII: a counted texture owning one 32-byte aligned block from the
// second arena (MyDemoAllocator2): an optional 256-entry RGB5A3 palette, then its mip
// levels. The render layer builds the GX objects from level 0 at the first bind after
// creation or Dirty. Holders share it through RcPtr; the last one deletes it. Main
// thread only. CreateTexture returns null (nothing left allocated) for an unsupported
// type, a size that is not a power of two, or a block that cannot be allocated.
#pragma once

#include <console/gx.h>
#include <kelvo/containers/kresource.h>
#include <kelvo/image/kimage.h>
#include <kelvo/render/krmemcachewii.h>

namespace Kelvo_lib {

// The GX texture formats a texture may have.
enum : u32 {
    KR_WII_FORMAT_RGB565 = 4,
    KR_WII_FORMAT_RGBA8 = 6,
    KR_WII_FORMAT_C8 = 9,
};

// The header word: bit fields from the most significant bit down.
namespace WIITextureFormat {
constexpr u32 kTypeShift = 22;       // 10 bits: GX texture format
constexpr u32 kNumMipMapsShift = 18; // 4 bits
constexpr u32 kUSizeShift = 14;      // 4 bits: log2 of the width
constexpr u32 kVSizeShift = 10;      // 4 bits: log2 of the height
constexpr u32 kSurfaceTex = 1u << 9; // a render surface; its GX object is prepared elsewhere
constexpr u32 kInvert = 1u << 8;     // 16-bit data already in GX RGB565 order (red high)
} // namespace WIITextureFormat

// The description of one mip level.
struct krTextureResourceLevel {
    void* data;
    u32 dataSize;
    void* table; // the palette, or null
    u32 tableSize;
    kIMAGE_TYPE type;
    u32 width;
    u32 height;
    u32 pitch;
};

class krTextureResourceWII : public kResource {
public:
    static constexpr u32 kPaletteBytes = 512;

    static krTextureResourceWII* CreateTexture(u32 width, u32 height, u32 numMipMaps,
                                               kIMAGE_TYPE type);
    // Frees the block and the converted copies when the texture owns its buffers.
    ~krTextureResourceWII();

    // Fills the header and resets the per-texture state; false, nothing changed, for an
    // unsupported type or a size that is not a power of two.
    bool SetHeader(u32 width, u32 height, u32 numMipMaps, kIMAGE_TYPE type, void* block);

    // The palette (C8 textures), else null.
    void* GetTableData() const;
    u32 CalculateTableSize() const;
    // The start of a level; past the last level, the end of the data (not checked).
    void* GetMipMapData(u32 level) const;
    // False, levelData untouched, for a level at or beyond the texture's count.
    bool GetMipMapLevel(u32 level, krTextureResourceLevel& levelData) const;
    // The data changed: the next bind rebuilds the GX objects.
    void Dirty();

    u32 GXFormat() const { return format >> WIITextureFormat::kTypeShift; }
    u32 NumMipMaps() const { return (format >> WIITextureFormat::kNumMipMapsShift) & 0xF; }
    u32 Width() const { return 1u << ((format >> WIITextureFormat::kUSizeShift) & 0xF); }
    u32 Height() const { return 1u << ((format >> WIITextureFormat::kVSizeShift) & 0xF); }
    bool IsSurfaceTexture() const { return (format & WIITextureFormat::kSurfaceTex) != 0; }
    bool IsInverted() const { return (format & WIITextureFormat::kInvert) != 0; }
    // The image type the data is in: the first type of the texture's GX format.
    kIMAGE_TYPE ImageType() const;

    u32 format = 0;
    void* data = nullptr; // the block
    krCacheIdWII cacheId{};
    bool dirty = false;
    bool validObj = false;
    bool preswizzled = false; // level 0 already holds GX tiles
    GXTexObj texObj{};
    GXTlutObj tlutObj{};
    void* texdata = nullptr; // tiled data bound to GX: a copy, or level 0 when preswizzled
    void* tlutdata = nullptr;

private:
    krTextureResourceWII();

    // Bytes from the start of the block to the level (the palette and earlier levels).
    u64 LevelOffset(u32 level) const;
    u64 LevelBytes(u32 level) const;
    void ReleaseCacheSlot();
    void FreeConvertedCopies();
};

// The GX texture format of an image type, or -1 when it cannot be a texture.
s32 krWiiTextureFormat(kIMAGE_TYPE type);

} // namespace Kelvo_lib
