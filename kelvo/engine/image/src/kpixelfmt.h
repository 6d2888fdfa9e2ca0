// The pixel converters, one instantiation per pixel layout: every width, shift and
// maximum is a compile-time constant and a whole 32-bit word of pixels (or one 3-byte
// pixel) is read or written per step. Pixel words are little-endian: pixel i of a word
// lies at bits i x bitsPerPixel upward. A row's last, partly used word reads and writes
// only the bytes that hold its pixels; bits past the last pixel are written as zero.
#pragma once

#include <kelvo/image/kimage.h>

#include <cmath>
#include <cstddef>

namespace Kelvo_lib::kPixelFmt {

// One channel slot of a layout: the field of width bits whose lowest bit is shift.
struct Slot {
    kCHANNEL_TYPE channel;
    u32 width;
    u32 shift;

    constexpr u32 Mask() const { return static_cast<u32>((u64{1} << width) - 1); }
    constexpr float Max() const { return static_cast<float>(Mask()); }
};

constexpr Slot kEmpty{K_CHANNEL_UNKNOWN, 0, 0};

template <bool Compressed, u32 BitsPerPixel, Slot S0, Slot S1, Slot S2, Slot S3>
struct PixelFormatDesc {
    static constexpr bool compressed = Compressed;
    static constexpr u32 bitsPerPixel = BitsPerPixel;
    static constexpr Slot slots[K_IMAGE_NUM_SLOTS] = {S0, S1, S2, S3};
};

// Where the pixels of a row lie: groups of 4 bytes (a word of pixels) or, at 24 bits
// per pixel, of 3 bytes (one pixel).
template <u32 Bpp>
struct RowLayout {
    static_assert(Bpp == 1 || Bpp == 4 || Bpp == 8 || Bpp == 16 || Bpp == 24 || Bpp == 32);
    static constexpr u32 pixelsPerGroup = Bpp == 24 ? 1 : 32 / Bpp;
    static constexpr u32 pixelMask = static_cast<u32>((u64{1} << Bpp) - 1);

    static constexpr u32 BytesFor(u32 pixels) { return (pixels * Bpp + 7) / 8; }
};

inline u32 LoadLittle(const u8* bytes, u32 count) {
    u32 value = 0;
    for (u32 i = 0; i < count; ++i) {
        value |= static_cast<u32>(bytes[i]) << (8 * i);
    }
    return value;
}

inline void StoreLittle(u8* bytes, u32 count, u32 value) {
    for (u32 i = 0; i < count; ++i) {
        bytes[i] = static_cast<u8>(value >> (8 * i));
    }
}

// Calls perPixel(value) for each of the width pixels of a row, left to right.
template <u32 Bpp, class PerPixel>
void ReadRow(const u8* row, u32 width, PerPixel&& perPixel) {
    using Layout = RowLayout<Bpp>;
    const auto readGroup = [&](u32 count) {
        const u32 bytes = Layout::BytesFor(count);
        const u32 word = LoadLittle(row, bytes);
        for (u32 i = 0; i < count; ++i) {
            perPixel((word >> (i * Bpp)) & Layout::pixelMask);
        }
        row += bytes;
    };
    for (u32 group = 0; group < width / Layout::pixelsPerGroup; ++group) {
        readGroup(Layout::pixelsPerGroup);
    }
    if (width % Layout::pixelsPerGroup != 0) {
        readGroup(width % Layout::pixelsPerGroup);
    }
}

// Writes the width pixels of a row, left to right, each the value nextPixel() returns.
template <u32 Bpp, class NextPixel>
void WriteRow(u8* row, u32 width, NextPixel&& nextPixel) {
    using Layout = RowLayout<Bpp>;
    const auto writeGroup = [&](u32 count) {
        u32 word = 0;
        for (u32 i = 0; i < count; ++i) {
            word |= (nextPixel() & Layout::pixelMask) << (i * Bpp);
        }
        const u32 bytes = Layout::BytesFor(count);
        StoreLittle(row, bytes, word);
        row += bytes;
    };
    for (u32 group = 0; group < width / Layout::pixelsPerGroup; ++group) {
        writeGroup(Layout::pixelsPerGroup);
    }
    if (width % Layout::pixelsPerGroup != 0) {
        writeGroup(width % Layout::pixelsPerGroup);
    }
}

// floor(v x max) in single precision, clamped into 0 .. 2^32 - 1 before the conversion
// (NaN gives 0), then cut to the field's width.
inline u32 FloatToField(float value, const Slot& slot) {
    const float scaled = std::floor(value * slot.Max());
    if (!(scaled > 0.0f)) {
        return 0;
    }
    if (scaled >= 4294967296.0f) {
        return slot.Mask();
    }
    return static_cast<u32>(scaled) & slot.Mask();
}

template <class Format>
void UnpackPixel(u32 value, UnpackPixelDataStrideList& planes) {
    for (u32 k = 0; k < K_IMAGE_NUM_SLOTS; ++k) {
        const Slot& slot = Format::slots[k];
        if (slot.width == 0) {
            continue;
        }
        UnpackPixelDataStride& plane = planes.channel[k];
        *plane.data = static_cast<float>((value >> slot.shift) & slot.Mask()) / slot.Max();
        plane.data += plane.stride;
    }
}

template <class Format>
u32 PackPixel(PackPixelDataStrideList& planes) {
    u32 value = 0;
    for (u32 k = 0; k < K_IMAGE_NUM_SLOTS; ++k) {
        const Slot& slot = Format::slots[k];
        if (slot.width == 0) {
            continue;
        }
        PackPixelDataStride& plane = planes.channel[k];
        value |= FloatToField(*plane.data, slot) << slot.shift;
        plane.data += plane.stride;
    }
    return value;
}

inline u32 RowWidth(int width) {
    return width > 0 ? static_cast<u32>(width) : 0;
}

inline std::ptrdiff_t RowOffset(int row, int pitch) {
    return static_cast<std::ptrdiff_t>(row) * pitch;
}

template <class Format>
struct TPixelUnpack {
    static void Do(const PixelFormatDescData&, const void* src,
                   UnpackPixelDataStrideList& srcDataStrideList, int width, int height, int pitch) {
        if constexpr (Format::bitsPerPixel != 0) {
            const u8* bytes = static_cast<const u8*>(src);
            for (int row = 0; row < height; ++row) {
                ReadRow<Format::bitsPerPixel>(
                    bytes + RowOffset(row, pitch), RowWidth(width),
                    [&](u32 value) { UnpackPixel<Format>(value, srcDataStrideList); });
            }
        }
    }
};

template <class Format>
struct TPixelPack {
    static void Do(const PixelFormatDescData&, PackPixelDataStrideList& dstDataStrideList,
                   void* dst, int width, int height, int pitch) {
        if constexpr (Format::bitsPerPixel != 0) {
            u8* bytes = static_cast<u8*>(dst);
            for (int row = 0; row < height; ++row) {
                WriteRow<Format::bitsPerPixel>(bytes + RowOffset(row, pitch), RowWidth(width), [&] {
                    return PackPixel<Format>(dstDataStrideList);
                });
            }
        }
    }
};

// The descriptor record of a layout, with its converters.
template <class Format>
constexpr PixelFormatDescData Describe() {
    PixelFormatDescData desc{};
    desc.numChannels = K_IMAGE_NUM_SLOTS;
    desc.bitsPerPixel = Format::bitsPerPixel;
    for (u32 k = 0; k < K_IMAGE_NUM_SLOTS; ++k) {
        const Slot& slot = Format::slots[k];
        desc.channelType[k] = slot.channel;
        if (slot.channel != K_CHANNEL_UNKNOWN) {
            desc.bitsPerChannel[slot.channel] = slot.width;
            desc.channelBitShift[slot.channel] = slot.shift;
            desc.channelData[slot.channel] =
                slot.channel == K_CHANNEL_X ? K_CHANNEL_DATA_UNKNOWN : K_CHANNEL_DATA_UINT;
        }
    }
    desc.flags = Format::compressed ? K_IMAGE_FLAG_COMPRESSED : 0;
    desc.fPixelUnpack = &TPixelUnpack<Format>::Do;
    desc.fPixelPack = &TPixelPack<Format>::Do;
    return desc;
}

} // namespace Kelvo_lib::kPixelFmt
