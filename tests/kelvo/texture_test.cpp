// Textures: block layout of palette and levels, the types and sizes refused, a block
// that cannot be allocated, ownership of the block, and the cache slot.
#include <kelvo/platform/kmemory.h>
#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krtextureresourcewii.h>

#include <console/mem.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

using namespace Kelvo_lib;

namespace {

struct TextureDeleter {
    void operator()(krTextureResourceWII* texture) const { delete texture; }
};
using TexturePtr = std::unique_ptr<krTextureResourceWII, TextureDeleter>;

TexturePtr Create(u32 width, u32 height, u32 levels, kIMAGE_TYPE type) {
    return TexturePtr(krTextureResourceWII::CreateTexture(width, height, levels, type));
}

std::ptrdiff_t Offset(const krTextureResourceWII& texture, const void* address) {
    return static_cast<const u8*>(address) - static_cast<const u8*>(texture.data);
}

struct LevelCase {
    u32 width, height, pitch, dataSize;
    kIMAGE_TYPE type;
    std::ptrdiff_t offset;
};

struct LayoutCase {
    const char* name;
    u32 width, height, levels;
    kIMAGE_TYPE type;
    u32 gxFormat;
    u32 tableSize;
    std::ptrdiff_t blockSize;
    std::vector<LevelCase> levels_;
};

void PrintTo(const LayoutCase& layout, std::ostream* out) {
    *out << layout.name;
}

class TextureLayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(TextureLayoutTest, PaletteThenLevelsWithoutGaps) {
    const LayoutCase& expected = GetParam();
    const TexturePtr texture =
        Create(expected.width, expected.height, expected.levels, expected.type);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->m_refCount, 0u);
    EXPECT_EQ(texture->m_flags, 7u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(texture->data) % 32, 0u);
    EXPECT_EQ(texture->GXFormat(), expected.gxFormat);
    EXPECT_EQ(texture->CalculateTableSize(), expected.tableSize);
    EXPECT_EQ(texture->GetTableData(), expected.tableSize != 0 ? texture->data : nullptr);
    EXPECT_EQ(Offset(*texture, texture->GetMipMapData(expected.levels)), expected.blockSize)
        << "the address past the last level ends the block";
    EXPECT_GE(MEMGetSizeForMBlockExpHeap(texture->data), static_cast<u32>(expected.blockSize));
    for (u32 n = 0; n < expected.levels; ++n) {
        const LevelCase& want = expected.levels_[n];
        krTextureResourceLevel level{};
        ASSERT_TRUE(texture->GetMipMapLevel(n, level)) << n;
        EXPECT_EQ(level.width, want.width) << n;
        EXPECT_EQ(level.height, want.height) << n;
        EXPECT_EQ(level.pitch, want.pitch) << n;
        EXPECT_EQ(level.dataSize, want.dataSize) << n;
        EXPECT_EQ(level.type, want.type) << n;
        EXPECT_EQ(level.tableSize, expected.tableSize) << n;
        EXPECT_EQ(Offset(*texture, level.data), want.offset) << n;
        EXPECT_EQ(level.data, texture->GetMipMapData(n)) << n;
    }
    krTextureResourceLevel untouched{};
    untouched.width = 12345;
    EXPECT_FALSE(texture->GetMipMapLevel(expected.levels, untouched));
    EXPECT_EQ(untouched.width, 12345u);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, TextureLayoutTest,
    testing::Values(LayoutCase{"Palette256",
                               256,
                               256,
                               1,
                               K_IMAGE_PAL_8,
                               9,
                               512,
                               512 + 65536,
                               {{256, 256, 256, 65536, K_IMAGE_PAL_8, 512}}},
                    LayoutCase{"ArgbThreeLevels",
                               64,
                               32,
                               3,
                               K_IMAGE_ARGB_8888,
                               6,
                               0,
                               10752,
                               {{64, 32, 256, 8192, K_IMAGE_BGRA_8888, 0},
                                {32, 16, 128, 2048, K_IMAGE_BGRA_8888, 8192},
                                {16, 8, 64, 512, K_IMAGE_BGRA_8888, 10240}}},
                    LayoutCase{"Bgr565",
                               128,
                               64,
                               1,
                               K_IMAGE_BGR_565,
                               4,
                               0,
                               16384,
                               {{128, 64, 256, 16384, K_IMAGE_BGR_565, 0}}},
                    LayoutCase{"LevelsShrinkToNothing",
                               8,
                               8,
                               5,
                               K_IMAGE_BGRA_8888,
                               6,
                               0,
                               256 + 64 + 16 + 4,
                               {{8, 8, 32, 256, K_IMAGE_BGRA_8888, 0},
                                {4, 4, 16, 64, K_IMAGE_BGRA_8888, 256},
                                {2, 2, 8, 16, K_IMAGE_BGRA_8888, 320},
                                {1, 1, 4, 4, K_IMAGE_BGRA_8888, 336},
                                {0, 0, 0, 0, K_IMAGE_BGRA_8888, 340}}},
                    LayoutCase{"PaletteWithoutLevels", 16, 16, 0, K_IMAGE_PAL_8, 9, 512, 512, {}},
                    LayoutCase{"NoLevels", 16, 16, 0, K_IMAGE_ABGR_8888, 6, 0, 0, {}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

// Types and sizes a texture cannot have, and blocks the second arena cannot give (8192 x
// 8192 x 4 bytes is more than it holds, 32768 x 32768 x 4 more than a 32-bit size): no
// texture is made, and nothing of it is left behind.
TEST(TextureTest, GivesNoTextureForWhatItCannotHoldAndLeavesNothingBehind) {
    struct Request {
        u32 width;
        u32 height;
        u32 levels;
        kIMAGE_TYPE type;
    };
    const Request requests[] = {
        {64, 64, 1, K_IMAGE_RGBA_8888},
        {64, 64, 1, K_IMAGE_RGB_565},
        {64, 64, 1, K_IMAGE_A_8},
        {64, 64, 1, static_cast<kIMAGE_TYPE>(44)},
        {64, 64, 1, static_cast<kIMAGE_TYPE>(-1)},
        {100, 64, 1, K_IMAGE_PAL_8},
        {64, 0, 1, K_IMAGE_PAL_8},
        {65536, 1, 1, K_IMAGE_PAL_8}, // beyond the 4-bit size field
        {8192, 8192, 1, K_IMAGE_BGRA_8888},
        {32768, 32768, 2, K_IMAGE_BGRA_8888},
    };
    const kMemStats before = kPlatform_GetMemStats();
    const u32 freeBefore =
        MEMGetTotalFreeSizeForExpHeap(static_cast<MEMHeapHandle>(MyDemoAllocator2.heap));
    for (const Request& r : requests) {
        EXPECT_EQ(Create(r.width, r.height, r.levels, r.type), nullptr)
            << r.width << " x " << r.height << ", type " << r.type;
    }
    EXPECT_EQ(kPlatform_GetMemStats().numAllocs, before.numAllocs);
    EXPECT_EQ(MEMGetTotalFreeSizeForExpHeap(static_cast<MEMHeapHandle>(MyDemoAllocator2.heap)),
              freeBefore);
}

TEST(TextureTest, LastReferenceFreesTheBlockUnlessTheTextureDoesNotOwnIt) {
    MEMHeapHandle heap = static_cast<MEMHeapHandle>(MyDemoAllocator2.heap);
    MEMFlushQuarantineForExpHeap(heap);
    const u32 freeBefore = MEMGetTotalFreeSizeForExpHeap(heap);
    {
        RcPtr<krTextureResourceWII> held(
            krTextureResourceWII::CreateTexture(64, 64, 1, K_IMAGE_PAL_8));
        ASSERT_NE(held.Get(), nullptr);
        EXPECT_LT(MEMGetTotalFreeSizeForExpHeap(heap), freeBefore);
        RcPtr<krTextureResourceWII> second(held);
        EXPECT_EQ(held->m_refCount, 2u);
    }
    MEMFlushQuarantineForExpHeap(heap);
    EXPECT_EQ(MEMGetTotalFreeSizeForExpHeap(heap), freeBefore);

    TexturePtr owned = Create(64, 64, 1, K_IMAGE_PAL_8);
    void* block = owned->data;
    owned->m_flags &= ~K_RESOURCE_OWNED;
    owned.reset();
    EXPECT_GE(MEMGetSizeForMBlockExpHeap(block), 512u + 4096u) << "still live";
    MEMFreeToAllocator(&MyDemoAllocator2, block);
}

TEST(TextureTest, SetHeaderResetsStateKeepsInvertAndRefusesBadSizesUnchanged) {
    TexturePtr texture = Create(32, 32, 1, K_IMAGE_BGR_565);
    texture->format |= WIITextureFormat::kInvert | WIITextureFormat::kSurfaceTex | 0xFF;
    texture->validObj = texture->dirty = texture->preswizzled = true;
    void* block = texture->data;
    const u32 format = texture->format;
    EXPECT_FALSE(texture->SetHeader(30, 32, 1, K_IMAGE_BGR_565, block));
    EXPECT_FALSE(texture->SetHeader(32, 32, 1, K_IMAGE_RGBA_8888, block));
    EXPECT_EQ(texture->format, format);
    EXPECT_TRUE(texture->validObj);

    texture->preswizzled = false;
    ASSERT_TRUE(texture->SetHeader(16, 8, 2, K_IMAGE_BGR_565, block));
    EXPECT_TRUE(texture->IsInverted());
    EXPECT_FALSE(texture->IsSurfaceTexture());
    EXPECT_EQ(texture->format & 0xFF, 0u);
    EXPECT_EQ(texture->Width(), 16u);
    EXPECT_EQ(texture->Height(), 8u);
    EXPECT_EQ(texture->NumMipMaps(), 2u);
    EXPECT_FALSE(texture->validObj || texture->dirty || texture->preswizzled);
}

TEST(TextureDeathTest, HeaderRefusesABlockOffThe32ByteGrid) {
    TexturePtr texture = Create(32, 32, 1, K_IMAGE_BGR_565);
    u8* misaligned = static_cast<u8*>(texture->data) + 4;
    EXPECT_DEATH(texture->SetHeader(32, 32, 1, K_IMAGE_BGR_565, misaligned),
                 "\\(\\(data & \\(32-1\\)\\) == 0\\)");
}

TEST(TextureTest, DirtyReleasesTheCacheSlotAndKeepsBlockAndObjects) {
    TexturePtr texture = Create(32, 32, 1, K_IMAGE_PAL_8);
    char vram[4];
    texture->cacheId.loaded = true;
    texture->cacheId.vramptr = vram;
    texture->validObj = true;
    void* block = texture->data;
    texture->Dirty();
    EXPECT_TRUE(texture->dirty);
    EXPECT_FALSE(texture->cacheId.loaded);
    EXPECT_EQ(texture->cacheId.vramptr, nullptr);
    EXPECT_TRUE(texture->validObj);
    EXPECT_EQ(texture->data, block);

    krMemCacheWII cache{};
    krCacheIdWII before{}, after{};
    before.next = &texture->cacheId;
    after.prev = &texture->cacheId;
    texture->cacheId = {};
    texture->cacheId.cache = &cache;
    texture->cacheId.loaded = true;
    texture->cacheId.address = 0x1234;
    texture->cacheId.prev = &before;
    texture->cacheId.next = &after;
    cache.head = &texture->cacheId;
    texture->Dirty();
    EXPECT_EQ(texture->cacheId.cache, nullptr);
    EXPECT_EQ(texture->cacheId.address, 0u);
    EXPECT_EQ(texture->cacheId.drawcall, 0xFFFFFFFFu);
    EXPECT_EQ(before.next, &after);
    EXPECT_EQ(after.prev, &before);
    EXPECT_EQ(cache.head, &after) << "a freed head leaves the list";
    EXPECT_EQ(texture->cacheId.next, nullptr);
    EXPECT_EQ(texture->cacheId.prev, nullptr);
}

} // namespace
