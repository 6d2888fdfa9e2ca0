// Texture creation, the block layout (palette, then mip levels) and the cache slot.
#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krtextureresourcewii.h>

#include <cstdint>

namespace Kelvo_lib {

namespace {

// The GX format of each image type; -1 where the type cannot be a texture.
constexpr s32 MakeWiiFormat(int type) {
    switch (type) {
    case K_IMAGE_PAL_8:
        return KR_WII_FORMAT_C8;
    case K_IMAGE_BGR_565:
        return KR_WII_FORMAT_RGB565;
    case K_IMAGE_BGRA_8888:
    case K_IMAGE_ARGB_8888:
    case K_IMAGE_ABGR_8888:
        return KR_WII_FORMAT_RGBA8;
    default:
        return -1;
    }
}

constexpr u32 kBlockAlign = 32;
constexpr u32 kMaxLog2Size = 15;
constexpr u32 kOwnedTextureFlags = 7;
// Past this many levels every level of any valid size is empty.
constexpr u32 kMaxNonEmptyLevels = 2 * kMaxLog2Size + 1;

// The largest l with 2^l <= value; 0 for 0 and 1.
u32 Log2Floor(u32 value) {
    u32 log2 = 0;
    while (value > 1) {
        value >>= 1;
        ++log2;
    }
    return log2;
}

// lw for a power-of-two size up to 32768, else false.
bool Log2OfSize(u32 size, u32& log2) {
    log2 = Log2Floor(size);
    return size != 0 && (1u << log2) == size && log2 <= kMaxLog2Size;
}

std::uintptr_t Address(const void* pointer) {
    return reinterpret_cast<std::uintptr_t>(pointer);
}

void* Pointer(std::uintptr_t address) {
    return reinterpret_cast<void*>(address);
}

} // namespace

s32 krWiiTextureFormat(kIMAGE_TYPE type) {
    return type >= K_IMAGE_UNKNOWN && type <= K_IMAGE_MAX ? MakeWiiFormat(type) : -1;
}

krTextureResourceWII::krTextureResourceWII() {
    m_flags = kOwnedTextureFlags;
}

krTextureResourceWII* krTextureResourceWII::CreateTexture(u32 width, u32 height, u32 numMipMaps,
                                                          kIMAGE_TYPE type) {
    if (krWiiTextureFormat(type) < 0) {
        kLogSys("WII", "CreateTexture: image type %d cannot be a texture\n",
                static_cast<int>(type));
        return nullptr;
    }
    krTextureResourceWII* texture = new krTextureResourceWII();
    if (!texture->SetHeader(width, height, numMipMaps, type, nullptr)) {
        kLogSys("WII", "CreateTexture: size %u x %u is not a power of two up to 32768\n", width,
                height);
        delete texture;
        return nullptr;
    }
    const u64 bytes = texture->LevelOffset(texture->NumMipMaps());
    void* block = bytes <= UINT32_MAX
                      ? MEMAllocFromAllocator(&MyDemoAllocator2, static_cast<u32>(bytes))
                      : nullptr;
    if (block == nullptr) {
        kLogSys("WII", "CreateTexture: no memory for the %llu bytes of a %u x %u texture\n",
                static_cast<unsigned long long>(bytes), width, height);
        delete texture;
        return nullptr;
    }
    texture->data = block;
    return texture;
}

krTextureResourceWII::~krTextureResourceWII() {
    if ((m_flags & K_RESOURCE_OWNED) != 0) {
        if (data != nullptr) {
            MEMFreeToAllocator(&MyDemoAllocator2, data);
            data = nullptr;
        }
        FreeConvertedCopies();
    }
    ReleaseCacheSlot();
}

bool krTextureResourceWII::SetHeader(u32 width, u32 height, u32 numMipMaps, kIMAGE_TYPE type,
                                     void* block) {
    u32 log2Width = 0;
    u32 log2Height = 0;
    if (!Log2OfSize(width, log2Width) || !Log2OfSize(height, log2Height)) {
        return false;
    }
    const s32 gxFormat = krWiiTextureFormat(type);
    if (gxFormat < 0) {
        return false;
    }
    if ((m_flags & K_RESOURCE_OWNED) != 0) {
        FreeConvertedCopies();
    }
    format = (format & WIITextureFormat::kInvert) |
             static_cast<u32>(gxFormat) << WIITextureFormat::kTypeShift |
             (numMipMaps & 0xF) << WIITextureFormat::kNumMipMapsShift |
             log2Width << WIITextureFormat::kUSizeShift |
             log2Height << WIITextureFormat::kVSizeShift;
    validObj = false;
    dirty = false;
    preswizzled = false;
    texdata = nullptr;
    tlutdata = nullptr;
    data = block;
    kAssertMsg((Address(block) & (kBlockAlign - 1)) == 0, "((data & (32-1)) == 0)");
    return true;
}

kIMAGE_TYPE krTextureResourceWII::ImageType() const {
    for (int type = K_IMAGE_UNKNOWN; type <= K_IMAGE_MAX; ++type) {
        if (MakeWiiFormat(type) == static_cast<s32>(GXFormat())) {
            return static_cast<kIMAGE_TYPE>(type);
        }
    }
    return K_IMAGE_UNKNOWN;
}

u32 krTextureResourceWII::CalculateTableSize() const {
    return GXFormat() == KR_WII_FORMAT_C8 ? kPaletteBytes : 0;
}

void* krTextureResourceWII::GetTableData() const {
    if (GXFormat() != KR_WII_FORMAT_C8) {
        return nullptr;
    }
    return Pointer((Address(data) + kBlockAlign - 1) & ~std::uintptr_t{kBlockAlign - 1});
}

u64 krTextureResourceWII::LevelBytes(u32 level) const {
    if (level >= kMaxNonEmptyLevels) {
        return 0;
    }
    const u32 log2Pixels = Log2Floor(Width()) + Log2Floor(Height());
    return ((u64{1} << log2Pixels) >> (2 * level)) * kImage::BitsPerPixel(ImageType()) / 8;
}

u64 krTextureResourceWII::LevelOffset(u32 level) const {
    u64 offset = CalculateTableSize();
    for (u32 n = 0; n < level && n < kMaxNonEmptyLevels; ++n) {
        offset += LevelBytes(n);
    }
    return offset;
}

void* krTextureResourceWII::GetMipMapData(u32 level) const {
    const std::uintptr_t aligned =
        (Address(data) + kBlockAlign - 1) & ~std::uintptr_t{kBlockAlign - 1};
    return Pointer(aligned + static_cast<std::uintptr_t>(LevelOffset(level)));
}

bool krTextureResourceWII::GetMipMapLevel(u32 level, krTextureResourceLevel& levelData) const {
    if (level >= NumMipMaps()) {
        return false;
    }
    const kIMAGE_TYPE type = ImageType();
    levelData.data = Pointer(Address(data) + static_cast<std::uintptr_t>(LevelOffset(level)));
    levelData.dataSize = static_cast<u32>(LevelBytes(level));
    levelData.table = GetTableData();
    levelData.tableSize = CalculateTableSize();
    levelData.type = type;
    levelData.width = Width() >> level;
    levelData.height = Height() >> level;
    levelData.pitch = levelData.width * kImage::BitsPerPixel(type) / 8;
    return true;
}

void krTextureResourceWII::Dirty() {
    dirty = true;
    ReleaseCacheSlot();
}

void krTextureResourceWII::ReleaseCacheSlot() {
    cacheId.vramptr = nullptr;
    if (cacheId.cache != nullptr) {
        cacheId.cache->Free(&cacheId);
    } else {
        cacheId.loaded = false;
    }
}

void krTextureResourceWII::FreeConvertedCopies() {
    if (texdata != nullptr && !preswizzled) {
        MEMFreeToAllocator(&MyDemoAllocator2, texdata);
    }
    texdata = nullptr;
    if (tlutdata != nullptr) {
        MEMFreeToAllocator(&MyDemoAllocator2, tlutdata);
    }
    tlutdata = nullptr;
}

} // namespace Kelvo_lib
