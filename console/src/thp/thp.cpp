// THP pictures through libjpeg-turbo's raw (planar YCbCr) output, tiled for GX_TF_I8, and
// THP sound tracks from big-endian PCM.
#include <console/os.h>
#include <console/thp.h>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

constexpr u32 kTileWidth = 8;
constexpr u32 kTileHeight = 4;
constexpr u32 kTileBytes = kTileWidth * kTileHeight;
constexpr u32 kMaxWidth = 1024;
constexpr u32 kMcuRows = 16; // luma lines per 4:2:0 MCU row

struct JpegErrorExit {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    OSReport("THPVideoDecode: %s\n", message);
    std::longjmp(reinterpret_cast<JpegErrorExit*>(info->err)->jump, 1);
}

void SilentMessage(j_common_ptr) {}

// Copies `rows` lines of `width` bytes starting at picture line `top` into the tiled plane.
void TileRows(u8* plane, u32 width, u32 top, const u8* lines, u32 pitch, u32 rows) {
    const u32 tilesAcross = width / kTileWidth;
    for (u32 row = 0; row < rows; ++row) {
        const u32 y = top + row;
        u8* tileRow =
            plane + (y / kTileHeight) * tilesAcross * kTileBytes + (y % kTileHeight) * kTileWidth;
        const u8* line = lines + row * pitch;
        for (u32 tile = 0; tile < tilesAcross; ++tile) {
            for (u32 x = 0; x < kTileWidth; ++x) {
                tileRow[tile * kTileBytes + x] = line[tile * kTileWidth + x];
            }
        }
    }
}

bool IsPlanar420(const jpeg_decompress_struct& info, u32 width, u32 height) {
    return info.image_width == width && info.image_height == height && info.num_components == 3 &&
           info.jpeg_color_space == JCS_YCbCr && info.comp_info[0].h_samp_factor == 2 &&
           info.comp_info[0].v_samp_factor == 2 && info.comp_info[1].h_samp_factor == 1 &&
           info.comp_info[1].v_samp_factor == 1 && info.comp_info[2].h_samp_factor == 1 &&
           info.comp_info[2].v_samp_factor == 1;
}

// The decode proper; libjpeg errors jump back into THPVideoDecode, so nothing here owns
// anything that needs a destructor.
s32 DecodePlanes(jpeg_decompress_struct& info, u32 width, u32 height, u8* tileY, u8* tileU,
                 u8* tileV) {
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || !IsPlanar420(info, width, height)) {
        OSReport("THPVideoDecode: not a %u x %u YCbCr 4:2:0 JPEG\n", width, height);
        return -1;
    }
    info.raw_data_out = TRUE;
    info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&info);
    static thread_local u8 luma[kMcuRows][kMaxWidth];
    static thread_local u8 chroma[2][kMcuRows / 2][kMaxWidth / 2];
    JSAMPROW lumaRows[kMcuRows];
    JSAMPROW uRows[kMcuRows / 2];
    JSAMPROW vRows[kMcuRows / 2];
    for (u32 i = 0; i < kMcuRows; ++i) {
        lumaRows[i] = luma[i];
    }
    for (u32 i = 0; i < kMcuRows / 2; ++i) {
        uRows[i] = chroma[0][i];
        vRows[i] = chroma[1][i];
    }
    JSAMPARRAY planes[3] = {lumaRows, uRows, vRows};
    while (info.output_scanline < height) {
        const u32 top = info.output_scanline;
        if (jpeg_read_raw_data(&info, planes, kMcuRows) != kMcuRows) {
            OSReport("THPVideoDecode: picture ends early\n");
            return -1;
        }
        TileRows(tileY, width, top, luma[0], kMaxWidth, kMcuRows);
        TileRows(tileU, width / 2, top / 2, chroma[0][0], kMaxWidth / 2, kMcuRows / 2);
        TileRows(tileV, width / 2, top / 2, chroma[1][0], kMaxWidth / 2, kMcuRows / 2);
    }
    jpeg_finish_decompress(&info);
    return 0;
}

u32 ReadBig32(const u8* at) {
    return static_cast<u32>(at[0]) << 24 | static_cast<u32>(at[1]) << 16 |
           static_cast<u32>(at[2]) << 8 | at[3];
}

s16 ReadBig16(const u8* at) {
    return static_cast<s16>(static_cast<u16>(at[0] << 8 | at[1]));
}

} // namespace

BOOL THPInit() {
    return TRUE;
}

s32 THPVideoDecode(const void* data, u32 size, u32 width, u32 height, void* tileY, void* tileU,
                   void* tileV, void* work) {
    (void)work;
    if (data == nullptr || size == 0 || tileY == nullptr || tileU == nullptr || tileV == nullptr ||
        width == 0 || height == 0 || width % kMcuRows != 0 || height % kMcuRows != 0 ||
        width > kMaxWidth) {
        OSReport("THPVideoDecode: no picture, or a size of %u x %u it cannot hold\n", width,
                 height);
        return -1;
    }
    jpeg_decompress_struct info{};
    JpegErrorExit error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = ErrorExit;
    error.manager.output_message = SilentMessage;
    jpeg_create_decompress(&info);
    volatile s32 result = -1; // kept across the error jump
    if (setjmp(error.jump) == 0) {
        jpeg_mem_src(&info, static_cast<const unsigned char*>(data), size);
        result = DecodePlanes(info, width, height, static_cast<u8*>(tileY), static_cast<u8*>(tileU),
                              static_cast<u8*>(tileV));
    }
    jpeg_destroy_decompress(&info);
    return result;
}

u32 THPAudioDecode(s16* buffer, u32 maxSamples, const void* data, u32 size, u32 flag) {
    (void)flag;
    const u8* bytes = static_cast<const u8*>(data);
    if (buffer == nullptr || bytes == nullptr || size < THP_AUDIO_TRACK_HEADER_SIZE) {
        OSReport("THPAudioDecode: no track\n");
        return 0;
    }
    const u32 samples = ReadBig32(bytes);
    const u32 channels = ReadBig32(bytes + 4);
    if ((channels != 1 && channels != 2) || samples > maxSamples ||
        static_cast<u64>(samples) * channels * 2 > size - THP_AUDIO_TRACK_HEADER_SIZE) {
        OSReport("THPAudioDecode: a track of %u samples in %u channels does not fit\n", samples,
                 channels);
        return 0;
    }
    const u8* at = bytes + THP_AUDIO_TRACK_HEADER_SIZE;
    for (u32 i = 0; i < samples; ++i) {
        const s16 left = ReadBig16(at);
        const s16 right = channels == 2 ? ReadBig16(at + 2) : left;
        buffer[i * 2] = left;
        buffer[i * 2 + 1] = right;
        at += channels * 2;
    }
    return samples;
}
