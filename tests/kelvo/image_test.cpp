// Image types: the descriptor table, converter round trips for every type, the little-
// endian pixel words, partly used last words, and the clamped float-to-field conversion;
// the identity channel map and the importer and exporter registries.
#include <kelvo/image/kimage.h>
#include <kelvo/io/kmemoryiostream.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace Kelvo_lib;

namespace {

constexpr u8 kGuard = 0xA5;

const PixelFormatDescData& Desc(kIMAGE_TYPE type) {
    return *kImage::FormatDesc(type);
}

u32 RowBytes(kIMAGE_TYPE type, int width) {
    return (static_cast<u32>(width) * kImage::BitsPerPixel(type) + 7) / 8;
}

// Four interleaved planes (stride 4), one float per slot and pixel.
struct Planes {
    explicit Planes(int pixels) : values(static_cast<size_t>(pixels) * 4, -7.0f) {}

    UnpackPixelDataStrideList Unpack() {
        UnpackPixelDataStrideList list{};
        for (u32 k = 0; k < 4; ++k) {
            list.channel[k] = {values.data() + k, 4};
        }
        return list;
    }
    PackPixelDataStrideList Pack() const {
        PackPixelDataStrideList list{};
        for (u32 k = 0; k < 4; ++k) {
            list.channel[k] = {values.data() + k, 4};
        }
        return list;
    }
    float At(int pixel, u32 slot) const { return values[static_cast<size_t>(pixel) * 4 + slot]; }

    std::vector<float> values;
};

void Unpack(kIMAGE_TYPE type, const void* src, Planes& planes, int width, int height, int pitch) {
    UnpackPixelDataStrideList list = planes.Unpack();
    Desc(type).fPixelUnpack(Desc(type), src, list, width, height, pitch);
}

void Pack(kIMAGE_TYPE type, const Planes& planes, void* dst, int width, int height, int pitch) {
    PackPixelDataStrideList list = planes.Pack();
    Desc(type).fPixelPack(Desc(type), list, dst, width, height, pitch);
}

// Random pixel rows every value of which survives a round trip: pad bits past a row's
// last pixel are zero, 32-bit depth keeps to the 24 significant bits a float holds, and
// the compressed types (all channels in the same low bits) keep to their widest channel.
std::vector<u8> RandomRows(kIMAGE_TYPE type, int width, int height, int pitch, u32 seed) {
    std::mt19937 random(seed);
    std::vector<u8> rows(static_cast<size_t>(pitch) * (height - 1) + RowBytes(type, width));
    const u32 bpp = kImage::BitsPerPixel(type);
    for (int r = 0; r < height; ++r) {
        u8* row = rows.data() + static_cast<size_t>(r) * pitch;
        for (u32 i = 0; i < RowBytes(type, width); ++i) {
            row[i] = static_cast<u8>(random());
            if (type == K_IMAGE_Z_32 && i % 4 == 0) {
                row[i] = 0;
            }
            if ((Desc(type).flags & K_IMAGE_FLAG_COMPRESSED) != 0 && bpp == 8) {
                row[i] &= 0x1F;
            }
        }
        const u32 usedBits = static_cast<u32>(width) * bpp % 8;
        if (usedBits != 0) {
            row[RowBytes(type, width) - 1] &= static_cast<u8>((1u << usedBits) - 1);
        }
    }
    return rows;
}

TEST(ImageTypeTest, BitsPerPixelOfTypesAndOfValuesOutsideTheRange) {
    EXPECT_EQ(kImage::BitsPerPixel(K_IMAGE_UNKNOWN), 0u);
    EXPECT_EQ(kImage::BitsPerPixel(K_IMAGE_RGB_888), 24u);
    EXPECT_EQ(kImage::BitsPerPixel(K_IMAGE_COMP_DXT1), 4u);
    EXPECT_EQ(kImage::BitsPerPixel(K_IMAGE_COMP_DXT5), 8u);
    EXPECT_EQ(kImage::BitsPerPixel(K_IMAGE_Z_24_S_8), 32u);
    EXPECT_EQ(kImage::BitsPerPixel(static_cast<kIMAGE_TYPE>(44)), 0u);
    EXPECT_EQ(kImage::BitsPerPixel(static_cast<kIMAGE_TYPE>(-1)), 0u);
    EXPECT_EQ(kImage::FormatDesc(static_cast<kIMAGE_TYPE>(44)), nullptr);
    EXPECT_EQ(kImage::FormatDesc(static_cast<kIMAGE_TYPE>(-1)), nullptr);
}

// Every plain type's fields cover its pixel exactly once; X fields carry no data kind.
TEST(ImageTypeTest, FieldsOfEveryPlainTypeTileThePixel) {
    for (int t = K_IMAGE_PAL_1; t <= K_IMAGE_MAX; ++t) {
        const PixelFormatDescData& desc = Desc(static_cast<kIMAGE_TYPE>(t));
        EXPECT_EQ(desc.numChannels, 4u) << t;
        if (desc.flags != 0) {
            continue;
        }
        u64 covered = 0;
        for (const kCHANNEL_TYPE channel : desc.channelType) {
            const u64 field = ((u64{1} << desc.bitsPerChannel[channel]) - 1)
                              << desc.channelBitShift[channel];
            EXPECT_EQ(covered & field, 0u) << "type " << t << " channel " << channel;
            covered |= field;
            const kCHANNEL_DATA expected = channel == K_CHANNEL_X || channel == K_CHANNEL_UNKNOWN
                                               ? K_CHANNEL_DATA_UNKNOWN
                                               : K_CHANNEL_DATA_UINT;
            EXPECT_EQ(desc.channelData[channel], expected) << "type " << t;
        }
        EXPECT_EQ(covered, (u64{1} << desc.bitsPerPixel) - 1) << "type " << t;
    }
    EXPECT_EQ(Desc(K_IMAGE_COMP_DXT3).flags, K_IMAGE_FLAG_COMPRESSED);
    EXPECT_EQ(Desc(K_IMAGE_COMP_DXT2).fPixelUnpack, Desc(K_IMAGE_COMP_DXT3).fPixelUnpack);
    EXPECT_EQ(Desc(K_IMAGE_COMP_DXT4).fPixelPack, Desc(K_IMAGE_COMP_DXT5).fPixelPack);
    EXPECT_NE(Desc(K_IMAGE_COMP_DXT3).fPixelPack, Desc(K_IMAGE_COMP_DXT4).fPixelPack);
}

// Rows of widths that end mid-word, with a pitch wider than the row: unpacking and
// packing again gives the same bytes and leaves the bytes between rows alone.
TEST(ImageConverterTest, EveryTypeRoundTripsRowsEndingMidWord) {
    for (int t = K_IMAGE_PAL_1; t <= K_IMAGE_MAX; ++t) {
        const auto type = static_cast<kIMAGE_TYPE>(t);
        for (const int width : {1, 3, 7, 13, 37}) {
            constexpr int kHeight = 3;
            const int pitch = static_cast<int>(RowBytes(type, width)) + 5;
            const std::vector<u8> source =
                RandomRows(type, width, kHeight, pitch, static_cast<u32>(t * 100 + width));
            Planes planes(width * kHeight);
            Unpack(type, source.data(), planes, width, kHeight, pitch);
            std::vector<u8> packed(source.size(), kGuard);
            Pack(type, planes, packed.data(), width, kHeight, pitch);
            for (size_t i = 0; i < source.size(); ++i) {
                const bool inRow = i % static_cast<size_t>(pitch) < RowBytes(type, width);
                ASSERT_EQ(packed[i], inRow ? source[i] : kGuard)
                    << "type " << t << " width " << width << " byte " << i;
            }
        }
    }
}

// Pixel words are little-endian in both directions: the second 16-bit pixel starts at
// byte 2, and the third lies alone in the first half of the second word.
TEST(ImageConverterTest, PixelWordsAreLittleEndianAcrossAWordBoundary) {
    const std::vector<u8> rgb565 = {0x00, 0xF8, 0x1F, 0x00, 0xE0, 0x07};
    Planes planes(3);
    Unpack(K_IMAGE_RGB_565, rgb565.data(), planes, 3, 1, 6);
    const float expected[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
    for (int pixel = 0; pixel < 3; ++pixel) {
        for (u32 slot = 1; slot < 4; ++slot) {
            EXPECT_EQ(planes.At(pixel, slot), expected[pixel][slot - 1]) << pixel << slot;
        }
    }
    std::vector<u8> packed(8, kGuard);
    Pack(K_IMAGE_RGB_565, planes, packed.data(), 3, 1, 8);
    EXPECT_EQ(packed, (std::vector<u8>{0x00, 0xF8, 0x1F, 0x00, 0xE0, 0x07, kGuard, kGuard}));

    const u8 rgb888[3] = {0x56, 0x34, 0x12};
    Unpack(K_IMAGE_RGB_888, rgb888, planes, 1, 1, 3);
    EXPECT_EQ(planes.At(0, 1), 0x12 / 255.0f);
    EXPECT_EQ(planes.At(0, 3), 0x56 / 255.0f);

    const u8 pal4[1] = {0x21};
    Unpack(K_IMAGE_PAL_4, pal4, planes, 2, 1, 1);
    EXPECT_EQ(planes.At(0, 0), 1 / 15.0f);
    EXPECT_EQ(planes.At(1, 0), 2 / 15.0f);
}

TEST(ImageConverterTest, SlotsFollowTheChannelOrderOfTheTypeName) {
    float values[4] = {-1, -1, -1, -1};
    UnpackPixelDataStrideList list{};
    for (u32 k = 0; k < 4; ++k) {
        list.channel[k] = {&values[k], 1};
    }
    const u8 red565[2] = {0x00, 0xF8};
    Desc(K_IMAGE_RGB_565).fPixelUnpack(Desc(K_IMAGE_RGB_565), red565, list, 1, 1, 2);
    EXPECT_EQ(values[0], -1.0f) << "the X slot of width 0 is not written";
    EXPECT_EQ(list.channel[0].data, &values[0]) << "nor moved";
    EXPECT_EQ(values[1], 1.0f);
    EXPECT_EQ(values[2], 0.0f);
    EXPECT_EQ(values[3], 0.0f);

    for (u32 k = 0; k < 4; ++k) {
        list.channel[k] = {&values[k], 1};
    }
    const u8 bgra[4] = {0x33, 0x22, 0x11, 0xFF}; // word 0xFF112233
    Desc(K_IMAGE_BGRA_8888).fPixelUnpack(Desc(K_IMAGE_BGRA_8888), bgra, list, 1, 1, 4);
    EXPECT_EQ(values[0], 1.0f) << "blue from bits 24 to 31";
    EXPECT_EQ(values[3], 0x33 / 255.0f) << "alpha from bits 0 to 7";
}

struct FieldCase {
    float value;
    u32 field;
};

// Fields are floor(v x max), clamped before the conversion, then cut to the width.
TEST(ImageConverterTest, PackingFloorsClampsAndCutsEachField) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const FieldCase fiveBit[] = {{0.5f, 15}, {1.0f, 31}, {-0.2f, 0}, {1.5f, 14},
                                 {nan, 0},   {-inf, 0},  {inf, 31},  {1e20f, 31}};
    for (const FieldCase& c : fiveBit) {
        float values[4] = {0, c.value, 0, 0}; // A 1, R 5, G 5, B 5 of ARGB_1555
        PackPixelDataStrideList list{};
        for (u32 k = 0; k < 4; ++k) {
            list.channel[k] = {&values[k], 1};
        }
        u8 out[2] = {};
        Desc(K_IMAGE_ARGB_1555).fPixelPack(Desc(K_IMAGE_ARGB_1555), list, out, 1, 1, 2);
        EXPECT_EQ(static_cast<u32>(out[0] | out[1] << 8), c.field << 10) << c.value;
    }
    const FieldCase z32[] = {{1.0f, 0xFFFFFFFF}, {2.0f, 0xFFFFFFFF}, {0.5f, 0x80000000}};
    for (const FieldCase& c : z32) {
        PackPixelDataStrideList list{};
        list.channel[0] = {&c.value, 1};
        u8 out[4] = {};
        Desc(K_IMAGE_Z_32).fPixelPack(Desc(K_IMAGE_Z_32), list, out, 1, 1, 4);
        EXPECT_EQ(static_cast<u32>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24), c.field)
            << c.value;
    }
}

TEST(ImageConverterTest, OneBitWordGivesItsLowestBitToTheFirstPixel) {
    const u8 word[4] = {0x01, 0x00, 0x00, 0x00};
    Planes planes(32);
    Unpack(K_IMAGE_PAL_1, word, planes, 32, 1, 4);
    EXPECT_EQ(planes.At(0, 0), 1.0f);
    for (int pixel = 1; pixel < 32; ++pixel) {
        EXPECT_EQ(planes.At(pixel, 0), 0.0f) << pixel;
    }
}

TEST(ImageConverterTest, UnknownTypeAndEmptyRowsConvertNothing) {
    u8 pixels[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<u8> before(std::begin(pixels), std::end(pixels));
    Planes planes(2);
    const std::vector<float> planesBefore = planes.values;
    UnpackPixelDataStrideList unpack = planes.Unpack();
    Desc(K_IMAGE_UNKNOWN).fPixelUnpack(Desc(K_IMAGE_UNKNOWN), pixels, unpack, 2, 1, 8);
    PackPixelDataStrideList pack = planes.Pack();
    Desc(K_IMAGE_UNKNOWN).fPixelPack(Desc(K_IMAGE_UNKNOWN), pack, pixels, 2, 1, 8);
    EXPECT_EQ(unpack.channel[0].data, planes.values.data());
    EXPECT_EQ(pack.channel[0].data, planes.values.data());
    for (const auto& [width, height] : {std::pair{0, 1}, {-3, 1}, {2, 0}, {2, -1}}) {
        Unpack(K_IMAGE_RGBA_8888, pixels, planes, width, height, 8);
        Pack(K_IMAGE_RGBA_8888, planes, pixels, width, height, 8);
    }
    EXPECT_EQ(planes.values, planesBefore);
    EXPECT_EQ(std::vector<u8>(std::begin(pixels), std::end(pixels)), before);
}

TEST(ImageChannelMapTest, IdentityTakesEachChannelFromItselfAndMissingAlphaIsOpaque) {
    for (u32 channel = 0; channel < K_IMAGE_NUM_CHANNEL_TYPES; ++channel) {
        EXPECT_EQ(identityChannelMap.channelMap[channel], static_cast<kCHANNEL_TYPE>(channel));
        EXPECT_EQ(identityChannelMap.channelDefault[channel], channel == K_CHANNEL_A ? 1.0f : 0.0f);
    }
}

// The registries are the program's own: these handlers take extensions nothing else uses.
kImage s_imported{};
std::vector<std::string> s_handled;

kImage* ImportFirst(kIOStreamSeekable*, const char* name) {
    s_handled.push_back(std::string("first ") + name);
    return &s_imported;
}

kImage* ImportSecond(kIOStreamSeekable*, const char* name) {
    s_handled.push_back(std::string("second ") + name);
    return nullptr;
}

bool ExportImported(const kImage* image, kIOStreamSeekable* stream, const char*) {
    return image == &s_imported && stream != nullptr;
}

TEST(ImageRegistryTest, TheFirstHandlerOfANamesExtensionInAnyCaseReadsOrWrites) {
    EXPECT_FALSE(kImage::RegisterImporter(nullptr, "rgxa", "no function"));
    EXPECT_FALSE(kImage::RegisterImporter(ImportFirst, "", "no extension"));
    ASSERT_TRUE(kImage::RegisterImporter(ImportFirst, "rgxa;rgxb", "first"));
    ASSERT_TRUE(kImage::RegisterImporter(ImportSecond, "rgxb;rgxc", nullptr));
    ASSERT_TRUE(kImage::RegisterExporter(ExportImported, "RGXE", "export"));
    u8 bytes[4] = {};
    kMemoryIOStream stream(bytes, sizeof(bytes), K_IO_ACCESS_READWRITE);
    const struct {
        const char* name;
        const char* handledBy;
        kImage* result;
    } cases[] = {
        {"art.v2/page.RGXA", "first art.v2/page.RGXA", &s_imported},
        {"page.rgxb", "first page.rgxb", &s_imported},
        {"page.rgxc", "second page.rgxc", nullptr},
        {"page.rgx", nullptr, nullptr},
        {"page.rgxa.png", nullptr, nullptr},
        {"rgxa", nullptr, nullptr},
        {"page.", nullptr, nullptr},
        {nullptr, nullptr, nullptr},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name != nullptr ? testCase.name : "(null)");
        s_handled.clear();
        EXPECT_EQ(kImage::Import(&stream, testCase.name), testCase.result);
        EXPECT_EQ(s_handled, testCase.handledBy != nullptr
                                 ? std::vector<std::string>{testCase.handledBy}
                                 : std::vector<std::string>{});
    }
    EXPECT_TRUE(kImage::Export(&s_imported, &stream, "page.rgxe"));
    EXPECT_FALSE(kImage::Export(nullptr, &stream, "page.rgxe"));
    EXPECT_FALSE(kImage::Export(&s_imported, &stream, "page.rgxa"));
}

} // namespace
