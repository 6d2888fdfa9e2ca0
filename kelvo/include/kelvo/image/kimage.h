// Image types: the 44 pixel formats textures and sprite-bank pages are described in,
// one constant descriptor per type, and per type a pair of converters between rows of
// packed pixels (little-endian pixel words) and per-channel planes of floats (0 to 1).
// The descriptor table is constant-initialised and read-only, so any thread may use it.
// Converters check nothing: the caller owns and sizes the pixel rows and the planes.
// An out-of-range type gives 0 bits per pixel and no descriptor. kImage also keeps the
// registries of image importers and exporters (main thread only; the engine registers
// none itself, and an unregistered extension imports null and exports false, logged).
#pragma once

#include <console/types.h>

namespace Kelvo_lib {

// A type's name lists its channels from the most significant field down; X marks bits
// without a value. The COMP_DXT types are the block-compressed S3TC formats.
enum kIMAGE_TYPE : s32 {
    K_IMAGE_UNKNOWN = 0,
    K_IMAGE_PAL_1 = 1,
    K_IMAGE_PAL_4 = 2,
    K_IMAGE_PAL_8 = 3,
    K_IMAGE_RGB_565 = 4,
    K_IMAGE_BGR_565 = 5,
    K_IMAGE_RGBX_4444 = 6,
    K_IMAGE_BGRX_4444 = 7,
    K_IMAGE_RGBA_4444 = 8,
    K_IMAGE_BGRA_4444 = 9,
    K_IMAGE_XRGB_4444 = 10,
    K_IMAGE_XBGR_4444 = 11,
    K_IMAGE_ARGB_4444 = 12,
    K_IMAGE_ABGR_4444 = 13,
    K_IMAGE_RGBX_5551 = 14,
    K_IMAGE_BGRX_5551 = 15,
    K_IMAGE_RGBA_5551 = 16,
    K_IMAGE_BGRA_5551 = 17,
    K_IMAGE_XRGB_1555 = 18,
    K_IMAGE_XBGR_1555 = 19,
    K_IMAGE_ARGB_1555 = 20,
    K_IMAGE_ABGR_1555 = 21,
    K_IMAGE_RGB_888 = 22,
    K_IMAGE_BGR_888 = 23,
    K_IMAGE_RGBX_8888 = 24,
    K_IMAGE_BGRX_8888 = 25,
    K_IMAGE_RGBA_8888 = 26,
    K_IMAGE_BGRA_8888 = 27,
    K_IMAGE_XRGB_8888 = 28,
    K_IMAGE_XBGR_8888 = 29,
    K_IMAGE_ARGB_8888 = 30,
    K_IMAGE_ABGR_8888 = 31,
    K_IMAGE_A_8 = 32,
    K_IMAGE_Z_16 = 33,
    K_IMAGE_Z_32 = 34,
    K_IMAGE_COMP_DXT1 = 35,
    K_IMAGE_COMP_DXT2 = 36,
    K_IMAGE_COMP_DXT3 = 37,
    K_IMAGE_COMP_DXT4 = 38,
    K_IMAGE_COMP_DXT5 = 39,
    K_IMAGE_UV_88 = 40,
    K_IMAGE_VU_88 = 41,
    K_IMAGE_Z_24_S_8 = 42,
    K_IMAGE_RGBE_8888 = 43,
    K_IMAGE_MAX = 43, // the last type, not one past it
};

enum kCHANNEL_TYPE : s32 {
    K_CHANNEL_UNKNOWN = 0, // empty slot
    K_CHANNEL_X = 1,       // bits without a value
    K_CHANNEL_PAL = 2,
    K_CHANNEL_R = 3,
    K_CHANNEL_G = 4,
    K_CHANNEL_B = 5,
    K_CHANNEL_A = 6,
    K_CHANNEL_U = 7,
    K_CHANNEL_V = 8,
    K_CHANNEL_W = 9,
    K_CHANNEL_Z = 10,
    K_CHANNEL_STENCIL = 11,
    K_CHANNEL_LUMINANCE = 12,
    K_CHANNEL_EXPONENT = 13,
    K_CHANNEL_MAX = 13,
};

enum kCHANNEL_DATA : s32 {
    K_CHANNEL_DATA_UNKNOWN = 0,
    K_CHANNEL_DATA_UINT = 1,
    K_CHANNEL_DATA_SINT = 2,
    K_CHANNEL_DATA_FLOAT = 3,
    K_CHANNEL_DATA_MAX = 3,
};

constexpr u32 K_IMAGE_NUM_SLOTS = 4;
constexpr u32 K_IMAGE_NUM_CHANNEL_TYPES = K_CHANNEL_MAX + 1;
// PixelFormatDescData::flags: the type is block-compressed.
constexpr u32 K_IMAGE_FLAG_COMPRESSED = 1;

// One plane of channel values: the converters move data on by stride floats per pixel.
struct UnpackPixelDataStride {
    float* data;
    u32 stride;
};
struct PackPixelDataStride {
    const float* data;
    u32 stride;
};
// Slot k carries the channel that slot k of the format's channelType names.
struct UnpackPixelDataStrideList {
    UnpackPixelDataStride channel[K_IMAGE_NUM_SLOTS];
};
struct PackPixelDataStrideList {
    PackPixelDataStride channel[K_IMAGE_NUM_SLOTS];
};

struct PixelFormatDescData;

// Reads height rows of width pixels (row r at src + r * pitch) into the planes.
using kPixelUnpackFunction = void (*)(const PixelFormatDescData& desc, const void* src,
                                      UnpackPixelDataStrideList& srcDataStrideList, int width,
                                      int height, int pitch);
// Writes height rows of width pixels (row r at dst + r * pitch) from the planes. A value
// becomes floor(v x max) clamped to 0 .. 2^32 - 1 (NaN gives 0), cut to its field width.
using kPixelPackFunction = void (*)(const PixelFormatDescData& desc,
                                    PackPixelDataStrideList& dstDataStrideList, void* dst,
                                    int width, int height, int pitch);

struct PixelFormatDescData {
    u32 numChannels;
    kCHANNEL_TYPE channelType[K_IMAGE_NUM_SLOTS];
    u32 bitsPerPixel;
    // Indexed by kCHANNEL_TYPE.
    u32 bitsPerChannel[K_IMAGE_NUM_CHANNEL_TYPES];
    u32 channelBitShift[K_IMAGE_NUM_CHANNEL_TYPES];
    kCHANNEL_DATA channelData[K_IMAGE_NUM_CHANNEL_TYPES];
    u32 flags;
    kPixelUnpackFunction fPixelUnpack;
    kPixelPackFunction fPixelPack;
};

// Where each channel of an image is taken from, and the value of a channel taken from none.
struct kImageChannelMap {
    kCHANNEL_TYPE channelMap[K_IMAGE_NUM_CHANNEL_TYPES];
    float channelDefault[K_IMAGE_NUM_CHANNEL_TYPES];
};
// Every channel from itself; a channel an image lacks reads 0, alpha 1 (opaque).
extern const kImageChannelMap identityChannelMap;

class kIOStreamSeekable;
class kImage;

// Reads an image from the stream (the name says where it came from); null when it cannot.
using kImageImportFunction = kImage* (*)(kIOStreamSeekable* stream, const char* name);
// Writes the image into the stream; false when it cannot.
using kImageExportFunction = bool (*)(const kImage* image, kIOStreamSeekable* stream,
                                      const char* name);

// An image as an importer would return it; the engine itself builds none.
class kImage {
public:
    // 0 for a type outside K_IMAGE_UNKNOWN .. K_IMAGE_MAX.
    static u32 BitsPerPixel(kIMAGE_TYPE type);
    // The type's descriptor, or null for a type outside the range.
    static const PixelFormatDescData* FormatDesc(kIMAGE_TYPE type);

    // Adds a handler for the file extensions of the list ("png;tga", without dots; the
    // registry keeps copies of both texts). False, logged, for a null function or no
    // extension.
    static bool RegisterImporter(kImageImportFunction function, const char* extensionList,
                                 const char* description);
    static bool RegisterExporter(kImageExportFunction function, const char* extensionList,
                                 const char* description);
    // The first handler registered for the extension of name (after its last '.', in any
    // case) reads or writes the stream; null or false, logged, when none is registered.
    static kImage* Import(kIOStreamSeekable* stream, const char* name);
    static bool Export(const kImage* image, kIOStreamSeekable* stream, const char* name);

    u32 m_format[4];
    void* m_data;
};

} // namespace Kelvo_lib
