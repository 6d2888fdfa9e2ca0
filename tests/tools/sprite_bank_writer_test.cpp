// The data tool's sprite banks: LZSS packing that the engine's decoder reads back,
// banks written in every layout that the engine loads to the same records, pages that
// decode to the frames' pixels, masks, PNG and SVG input, the dump, and a few hundred
// truncated and mutated banks that load without a fault.
#include <sprites/gx_tiles.h>
#include <sprites/image_files.h>
#include <sprites/lzss_encoder.h>
#include <sprites/sprite_bank_builder.h>
#include <sprites/sprite_bank_dump.h>
#include <sprites/sprite_bank_writer.h>

#include <framework/kspritebank.h>
#include <framework/lzssdecode.h>
#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/platform/klog.h>
#include <kelvo/render/krtextureresourcewii.h>

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace datatool;
using Bytes = std::vector<unsigned char>;
using Kelvo_lib::kSpriteBank;

class QuietLog : public Kelvo_lib::kLogHook {
public:
    QuietLog() { kLog->Hook(this); }
    ~QuietLog() override { kLog->Unhook(this); }
    void Reset() override {}
    void Message(long, int, int, const char*, const char*, bool) override {}
    void Print(const char*) override {}
};

Bytes Decode(const Bytes& packed, std::size_t size) {
    Bytes out(size, 0xEE);
    Kelvo_lib::LZSSDecode(out.data(), static_cast<unsigned int>(size), packed.data(),
                          static_cast<unsigned int>(packed.size()));
    return out;
}

Bytes RandomBytes(std::size_t size, unsigned int seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (unsigned char& byte : bytes) {
        byte = static_cast<unsigned char>(random());
    }
    return bytes;
}

ArgbImage SplashPicture() {
    ArgbImage image;
    std::string error;
    EXPECT_TRUE(ReadImageFile(PUZZLES_SPRITE_DIR "/splash/title.svg", &image, &error)) << error;
    return image;
}

// The pixel at x, y of a page in GX RGBA8 tiles.
std::uint32_t TiledPixel(const Bytes& tiles, unsigned int width, unsigned int x, unsigned int y) {
    const std::size_t tile = (y / 4) * (width / 4) + x / 4;
    const unsigned int i = (y % 4) * 4 + x % 4;
    const unsigned char* t = &tiles[tile * kRGBA8TileBytes];
    return static_cast<std::uint32_t>(t[2 * i]) << 24 |
           static_cast<std::uint32_t>(t[2 * i + 1]) << 16 |
           static_cast<std::uint32_t>(t[32 + 2 * i]) << 8 | t[33 + 2 * i];
}

TEST(LZSSEncoderTest, RoundTripsRandomAndRepetitiveData) {
    const std::vector<Bytes> inputs = {
        {},
        {0x42},
        RandomBytes(17, 1),
        RandomBytes(4095, 2),
        RandomBytes(4096 + 18, 3),
        RandomBytes(100000, 4),
        Bytes(10000, 0xFF),
        Bytes(10000, 0x00),
    };
    for (const Bytes& input : inputs) {
        const Bytes packed = LZSSEncode(input);
        EXPECT_EQ(Decode(packed, input.size()), input) << input.size() << " bytes";
        EXPECT_LE(packed.size(), input.size() + (input.size() + 7) / 8);
    }
}

TEST(LZSSEncoderTest, RoundTripsImageDataWithRealMatches) {
    const ArgbImage picture = SplashPicture();
    ArgbImage page(512, 512);
    for (unsigned int y = 0; y < 480; ++y) {
        for (unsigned int x = 0; x < 512; ++x) {
            page.Set(x, y, picture.At(x, y));
        }
    }
    const Bytes tiles = TileRGBA8(page);
    const Bytes packed = LZSSEncode(tiles);
    EXPECT_EQ(Decode(packed, tiles.size()), tiles);
    EXPECT_LT(packed.size(), tiles.size() / 4);
}

TEST(LZSSEncoderTest, OpaqueWhiteIsOneReferenceIntoTheRingsInitialBytes) {
    const Bytes packed = LZSSEncode(Bytes(18, 0xFF));
    ASSERT_EQ(packed.size(), 3u);
    EXPECT_EQ(packed[0], 0x00);
    EXPECT_EQ(packed[2] & 0x0F, 0x0F);
    EXPECT_EQ(Decode(packed, 18), Bytes(18, 0xFF));
}

// Sprites to pack: a picture larger than a 64-pixel page, a two-frame animation with a
// mask and hot spots, and a frame with nothing to draw.
std::vector<SpriteSource> SampleSprites() {
    SpriteSource big{"Big", {}, {}, false};
    ArgbImage picture(150, 70);
    for (unsigned int y = 0; y < picture.height; ++y) {
        for (unsigned int x = 0; x < picture.width; ++x) {
            picture.Set(x, y, 0xFF000000u | (x * 1000 + y * 7));
        }
    }
    big.frames.push_back(picture);
    SpriteSource anim{"anim", {}, {{"centre", 5, 4}, {"tip", 9, 0}}, true};
    for (unsigned int frame = 0; frame < 2; ++frame) {
        ArgbImage image(10, 8);
        for (unsigned int y = 0; y < 8; ++y) {
            for (unsigned int x = 0; x < 5 + frame * 5; ++x) {
                image.Set(x, y, 0x80FF0000u + frame);
            }
        }
        anim.frames.push_back(image);
    }
    SpriteSource empty{"empty", {ArgbImage(4, 4)}, {}, false};
    return {big, anim, empty};
}

SpriteBankContent SampleBank(unsigned int pageSize = 64) {
    SpriteBankContent bank;
    std::string error;
    EXPECT_TRUE(BuildSpriteBank(SampleSprites(), pageSize, &bank, &error)) << error;
    return bank;
}

std::unique_ptr<kSpriteBank> Load(Bytes file) {
    Kelvo_lib::kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()),
                                      K_IO_ACCESS_READ);
    return std::make_unique<kSpriteBank>(&stream);
}

void ExpectSameRecords(const SpriteBankContent& content, const kSpriteBank& bank,
                       const SpriteBankLayout& layout) {
    ASSERT_EQ(bank.GetNumSprites(), static_cast<int>(content.sprites.size()));
    for (int i = 0; i < bank.GetNumSprites(); ++i) {
        const auto& s = content.sprites[static_cast<std::size_t>(i)];
        EXPECT_STREQ(bank.GetRecordName(bank.GetSprite(i)->nameIndex), &content.names[s.nameIndex]);
        EXPECT_EQ(std::memcmp(bank.GetSprite(i), &s, sizeof(s)), 0) << "sprite " << i;
    }
    ASSERT_EQ(bank.GetNumFrames(), static_cast<int>(content.frames.size()));
    for (int i = 0; i < bank.GetNumFrames(); ++i) {
        auto f = content.frames[static_cast<std::size_t>(i)];
        if (layout.bOldFrames) {
            f.totalw = f.totalh = 0;
        }
        EXPECT_EQ(std::memcmp(bank.GetFrame(i), &f, sizeof(f)), 0) << "frame " << i;
    }
    ASSERT_EQ(bank.GetNumCells(), static_cast<int>(content.cells.size()));
    for (int i = 0; i < bank.GetNumCells(); ++i) {
        EXPECT_EQ(std::memcmp(bank.GetCell(i), &content.cells[static_cast<std::size_t>(i)],
                              sizeof(Kelvo_lib::kSpriteBankCell)),
                  0)
            << "cell " << i;
    }
    ASSERT_EQ(bank.GetNumHotSpots(), static_cast<int>(content.hotSpots.size()));
    ASSERT_EQ(bank.GetNumPages(), static_cast<int>(content.pages.size()));
    for (int i = 0; i < bank.GetNumPages(); ++i) {
        const auto& p = content.pages[static_cast<std::size_t>(i)];
        EXPECT_EQ(std::memcmp(bank.GetPage(i), &p, sizeof(p)), 0) << "page " << i;
        EXPECT_EQ(std::memcmp(bank.GetPageData(i), &content.pageData[p.dataIndex], p.size), 0);
    }
}

TEST(SpriteBankWriterTest, LoadsBankWrittenInEveryLayout) {
    const SpriteBankContent content = SampleBank();
    for (const SpriteBankLayout& layout : {kCurrentLayout, kWideCellLayout, kOldLayout}) {
        QuietLog quiet;
        const std::unique_ptr<kSpriteBank> bank = Load(WriteSpriteBank(content, layout));
        ExpectSameRecords(content, *bank, layout);
        EXPECT_EQ(bank->GetHeader().version, layout.bOldHeader ? 1u : 2u);
        EXPECT_EQ(bank->GetHeader().platform, layout.bOldHeader ? 0u : kBankPlatform);
    }
}

TEST(SpriteBankWriterTest, PagesDecodeToTheFramesPixelsWithACopiedBorder) {
    const std::vector<SpriteSource> sources = SampleSprites();
    const SpriteBankContent bank = SampleBank();
    EXPECT_GE(bank.pages.size(), 3u);
    std::vector<Bytes> pages;
    for (const auto& page : bank.pages) {
        EXPECT_EQ(page.type, 30u);
        const std::size_t size = std::size_t{page.width} * page.height * 4;
        Bytes packed(bank.pageData.begin() + page.dataIndex,
                     bank.pageData.begin() + page.dataIndex + page.size);
        Bytes decoded = Decode(packed, size + 8);
        EXPECT_EQ(Bytes(decoded.begin() + static_cast<long>(size), decoded.end()), Bytes(8, 0xEE));
        decoded.resize(size);
        pages.push_back(decoded);
    }
    std::size_t frameIndex = 0;
    for (const SpriteSource& source : sources) {
        for (const ArgbImage& image : source.frames) {
            const auto& frame = bank.frames[frameIndex++];
            for (unsigned int c = 0; c < frame.numCells; ++c) {
                const auto& cell = bank.cells[frame.cellIndex + c];
                const auto& page = bank.pages[cell.pageIndex];
                for (int y = -1; y <= cell.h; ++y) {
                    for (int x = -1; x <= cell.w; ++x) {
                        const int fx = std::clamp(cell.offsetX + x, 0, int(image.width) - 1);
                        const int fy = std::clamp(cell.offsetY + y, 0, int(image.height) - 1);
                        ASSERT_EQ(
                            TiledPixel(pages[cell.pageIndex], page.width, cell.x + x, cell.y + y),
                            image.At(fx, fy))
                            << source.name << " cell " << c << " at " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(SpriteBankWriterTest, SplashPagesExpandToExactlyTheirTexturesMemory) {
    SpriteBankContent bank;
    std::string error;
    ASSERT_TRUE(BuildSpriteBank({{"splash", {SplashPicture()}, {}, false}}, kDefaultPageSize, &bank,
                                &error))
        << error;
    ASSERT_EQ(bank.pages.size(), 2u);
    for (const auto& page : bank.pages) {
        Kelvo_lib::RcPtr<Kelvo_lib::krTextureResourceWII> texture(
            Kelvo_lib::krTextureResourceWII::CreateTexture(
                page.width, page.height, 1, static_cast<Kelvo_lib::kIMAGE_TYPE>(page.type)));
        ASSERT_NE(texture.Get(), nullptr);
        Kelvo_lib::krTextureResourceLevel level{};
        ASSERT_TRUE(texture->GetMipMapLevel(0, level));
        const Bytes packed(bank.pageData.begin() + page.dataIndex,
                           bank.pageData.begin() + page.dataIndex + page.size);
        const std::size_t size = level.dataSize + level.tableSize;
        const Bytes decoded = Decode(packed, size + 1);
        EXPECT_NE(decoded[size - 1], 0xEE);
        EXPECT_EQ(decoded[size], 0xEE);
    }
}

TEST(SpriteBankWriterTest, CutsFramesToThePageAndLeavesOutEmptyCells) {
    const SpriteBankContent bank = SampleBank();
    // 150 x 70 on 64-pixel pages: cells of at most 62 pixels, three by two.
    EXPECT_EQ(bank.frames[0].numCells, 6u);
    EXPECT_EQ(bank.cells[5].offsetX, 124);
    EXPECT_EQ(bank.cells[5].w, 26);
    EXPECT_EQ(bank.frames[3].numCells, 0u);
    EXPECT_EQ(bank.frames[3].cellIndex, Kelvo_lib::K_SPRITEBANK_NO_INDEX);
    for (const auto& page : bank.pages) {
        EXPECT_LE(page.width, 64u);
        EXPECT_GE(page.width, 4u);
    }
}

TEST(SpriteBankWriterTest, MasksHaveOneBitPer4x4BlockWithTheLastColumnToTheEdge) {
    const SpriteBankContent bank = SampleBank();
    // anim: 10 x 8, two mask columns (the second covers pixels 4 to 9), one byte per row.
    const auto& first = bank.frames[1];
    const auto& second = bank.frames[2];
    ASSERT_EQ(first.collisionIndex, 0u);
    ASSERT_EQ(second.collisionIndex, 2u);
    EXPECT_EQ(bank.collisionData, (Bytes{0xC0, 0xC0, 0xC0, 0xC0}));
    EXPECT_EQ(bank.frames[0].collisionIndex, Kelvo_lib::K_SPRITEBANK_NO_INDEX);
    EXPECT_EQ(bank.hotSpots.size(), 2u);
    EXPECT_EQ(bank.hotSpots[1].x, 9u);
}

TEST(SpriteBankWriterTest, RefusesWhatABankCannotHold) {
    SpriteBankContent bank;
    std::string error;
    std::vector<SpriteSource> twice = {{"Name", {ArgbImage(4, 4)}, {}, false},
                                       {"NAME", {ArgbImage(4, 4)}, {}, false}};
    EXPECT_FALSE(BuildSpriteBank(twice, 64, &bank, &error));
    EXPECT_NE(error.find("named twice"), std::string::npos);
    EXPECT_FALSE(BuildSpriteBank({{"none", {}, {}, false}}, 64, &bank, &error));
    EXPECT_FALSE(BuildSpriteBank({{"x", {ArgbImage(4, 4)}, {}, false}}, 48, &bank, &error));
    EXPECT_FALSE(BuildSpriteBank({{"x", {ArgbImage(4, 4)}, {}, false}}, 2048, &bank, &error));
}

TEST(SpriteBankWriterTest, DumpListsWhatWasPacked) {
    const Bytes file = WriteSpriteBank(SampleBank(), kCurrentLayout);
    char* text = nullptr;
    std::size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    QuietLog quiet;
    ASSERT_TRUE(DumpSpriteBank(file, out));
    std::fclose(out);
    const std::string dump(text, size);
    std::free(text);
    for (const char* expected :
         {"header    version 2 platform 2 flags 0", "sprite    0: \"Big\" 150x70, 1 frames",
          "sprite    1: \"anim\" 10x8, 2 frames, 2 hot spots", "  hotspot 1: \"tip\" at 9,0",
          "  frame   2: 10x8 at 0,0 of 10x8, 1 cells, mask 2", "  frame   3: 4x4",
          "0 cells, mask none", "    cell  2: 26x62 at 124,0 from page", "page      0: type 30"}) {
        EXPECT_NE(dump.find(expected), std::string::npos) << expected << "\n" << dump;
    }
}

TEST(ImageFilesTest, ReadsPngFilesAsWritten) {
    const std::string path = testing::TempDir() + "image_files_test.png";
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    png.width = 3;
    png.height = 2;
    png.format = PNG_FORMAT_ARGB;
    const unsigned char pixels[] = {255, 1, 2, 3, 0, 0, 0, 0, 128, 10,  20,  30,
                                    255, 4, 5, 6, 9, 7, 8, 9, 255, 255, 255, 255};
    ASSERT_NE(png_image_write_to_file(&png, path.c_str(), 0, pixels, 0, nullptr), 0);
    ArgbImage image;
    std::string error;
    ASSERT_TRUE(ReadImageFile(path, &image, &error)) << error;
    std::remove(path.c_str());
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.At(0, 0), 0xFF010203u);
    EXPECT_EQ(image.At(2, 0), 0x800A141Eu);
    EXPECT_EQ(image.At(2, 1), 0xFFFFFFFFu);
}

TEST(ImageFilesTest, RendersSvgFilesAtTheirOwnSize) {
    const ArgbImage splash = SplashPicture();
    EXPECT_EQ(splash.width, 640u);
    EXPECT_EQ(splash.height, 480u);
    EXPECT_EQ(splash.At(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(splash.At(240, 208), 0xFFF2B632u); // a filled cell of the grid
    ArgbImage image;
    std::string error;
    EXPECT_FALSE(ReadImageFile(PUZZLES_SPRITE_DIR "/missing.svg", &image, &error));
    EXPECT_FALSE(ReadImageFile(PUZZLES_SPRITE_DIR "/splash/title.txt", &image, &error));
}

// Walks every record the loaded bank hands out and decodes every page into a buffer of
// the page's size, so that any index leading outside the bank shows under the sanitizers.
void UseEverything(const kSpriteBank& bank) {
    for (int s = 0; s < bank.GetNumSprites(); ++s) {
        const auto* sprite = bank.GetSprite(s);
        EXPECT_NE(bank.GetRecordName(sprite->nameIndex), nullptr);
        for (unsigned int f = 0; f < sprite->numFrames; ++f) {
            const int frame = static_cast<int>(sprite->frameIndex + f);
            const unsigned char* mask = bank.GetFrameCollisionData(frame);
            const auto* record = bank.GetFrame(frame);
            const auto maskBytes = Kelvo_lib::kSpriteBankMaskBytes(record->width, record->height);
            for (unsigned long long i = 0; mask != nullptr && i < maskBytes; ++i) {
                volatile unsigned char bit = mask[i];
                (void)bit;
            }
            for (unsigned int c = 0; c < record->numCells; ++c) {
                EXPECT_LT(bank.GetCell(static_cast<int>(record->cellIndex + c))->pageIndex,
                          bank.GetNumPages());
            }
        }
        for (unsigned int h = 0; h < sprite->numHotSpots; ++h) {
            const auto* hotSpot = bank.GetHotSpot(static_cast<int>(sprite->hotSpotIndex + h));
            EXPECT_NE(bank.GetRecordName(hotSpot->nameIndex), nullptr);
        }
    }
    for (int p = 0; p < bank.GetNumPages(); ++p) {
        const auto* page = bank.GetPage(p);
        Bytes texture(std::min(std::size_t{page->width} * std::min(page->height, 1024u) * 4,
                               std::size_t{1} << 22));
        Kelvo_lib::LZSSDecode(texture.data(), static_cast<unsigned int>(texture.size()),
                              bank.GetPageData(p), page->size);
    }
}

TEST(SpriteBankWriterTest, TruncatedAndMutatedBanksLoadWithoutAFault) {
    const Bytes file = WriteSpriteBank(SampleBank(), kWideCellLayout);
    QuietLog quiet;
    std::mt19937 random(2024);
    int loaded = 0;
    for (int round = 0; round < 400; ++round) {
        Bytes damaged = file;
        if (round % 4 == 0) {
            damaged.resize(random() % file.size());
        } else {
            for (int flips = 1 + round % 3; flips > 0; --flips) {
                damaged[random() % damaged.size()] = static_cast<unsigned char>(random());
            }
        }
        try {
            const std::unique_ptr<kSpriteBank> bank = Load(damaged);
            UseEverything(*bank);
            loaded += bank->GetNumSprites() > 0 ? 1 : 0;
        } catch (Kelvo_lib::kIFFException&) {
        }
    }
    EXPECT_GT(loaded, 0);
}

} // namespace
