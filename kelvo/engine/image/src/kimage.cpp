// The descriptor table of the 44 image types, constant-initialised from the same layouts
// that instantiate each type's converters, so table and converters cannot disagree.
#include "kpixelfmt.h"

#include <kelvo/image/kimage.h>

namespace Kelvo_lib {

namespace {

using kPixelFmt::Describe;
using kPixelFmt::kEmpty;
using kPixelFmt::PixelFormatDesc;
using kPixelFmt::Slot;

constexpr Slot X(u32 width, u32 shift) {
    return {K_CHANNEL_X, width, shift};
}
constexpr Slot Pal(u32 width) {
    return {K_CHANNEL_PAL, width, 0};
}
constexpr Slot R(u32 width, u32 shift) {
    return {K_CHANNEL_R, width, shift};
}
constexpr Slot G(u32 width, u32 shift) {
    return {K_CHANNEL_G, width, shift};
}
constexpr Slot B(u32 width, u32 shift) {
    return {K_CHANNEL_B, width, shift};
}
constexpr Slot A(u32 width, u32 shift) {
    return {K_CHANNEL_A, width, shift};
}
constexpr Slot U(u32 width, u32 shift) {
    return {K_CHANNEL_U, width, shift};
}
constexpr Slot V(u32 width, u32 shift) {
    return {K_CHANNEL_V, width, shift};
}
constexpr Slot Z(u32 width, u32 shift) {
    return {K_CHANNEL_Z, width, shift};
}
constexpr Slot Stencil(u32 width, u32 shift) {
    return {K_CHANNEL_STENCIL, width, shift};
}
constexpr Slot Exponent(u32 width, u32 shift) {
    return {K_CHANNEL_EXPONENT, width, shift};
}

// The X slot of width 0 in front of the three colour slots of the 565 and 888 types.
constexpr Slot kNoBits = X(0, 0);

template <u32 Bpp, Slot S0, Slot S1 = kEmpty, Slot S2 = kEmpty, Slot S3 = kEmpty>
constexpr PixelFormatDescData Plain() {
    return Describe<PixelFormatDesc<false, Bpp, S0, S1, S2, S3>>();
}

// Block-compressed types are converted as packed pixels with every channel at shift 0.
template <u32 Bpp, u32 AlphaBits>
constexpr PixelFormatDescData Compressed() {
    return Describe<PixelFormatDesc<true, Bpp, R(5, 0), G(5, 0), B(5, 0), A(AlphaBits, 0)>>();
}

constexpr PixelFormatDescData s_fmtDesc[K_IMAGE_MAX + 1] = {
    Describe<PixelFormatDesc<false, 0, kEmpty, kEmpty, kEmpty, kEmpty>>(), // UNKNOWN
    Plain<1, Pal(1)>(),
    Plain<4, Pal(4)>(),
    Plain<8, Pal(8)>(),
    Plain<16, kNoBits, R(5, 11), G(6, 5), B(5, 0)>(), // RGB_565
    Plain<16, kNoBits, B(5, 11), G(6, 5), R(5, 0)>(), // BGR_565
    Plain<16, R(4, 12), G(4, 8), B(4, 4), X(4, 0)>(), // RGBX_4444
    Plain<16, B(4, 12), G(4, 8), R(4, 4), X(4, 0)>(),
    Plain<16, R(4, 12), G(4, 8), B(4, 4), A(4, 0)>(), // RGBA_4444
    Plain<16, B(4, 12), G(4, 8), R(4, 4), A(4, 0)>(),
    Plain<16, X(4, 12), R(4, 8), G(4, 4), B(4, 0)>(), // XRGB_4444
    Plain<16, X(4, 12), B(4, 8), G(4, 4), R(4, 0)>(),
    Plain<16, A(4, 12), R(4, 8), G(4, 4), B(4, 0)>(), // ARGB_4444
    Plain<16, A(4, 12), B(4, 8), G(4, 4), R(4, 0)>(),
    Plain<16, R(5, 11), G(5, 6), B(5, 1), X(1, 0)>(), // RGBX_5551
    Plain<16, B(5, 11), G(5, 6), R(5, 1), X(1, 0)>(),
    Plain<16, R(5, 11), G(5, 6), B(5, 1), A(1, 0)>(), // RGBA_5551
    Plain<16, B(5, 11), G(5, 6), R(5, 1), A(1, 0)>(),
    Plain<16, X(1, 15), R(5, 10), G(5, 5), B(5, 0)>(), // XRGB_1555
    Plain<16, X(1, 15), B(5, 10), G(5, 5), R(5, 0)>(),
    Plain<16, A(1, 15), R(5, 10), G(5, 5), B(5, 0)>(), // ARGB_1555
    Plain<16, A(1, 15), B(5, 10), G(5, 5), R(5, 0)>(),
    Plain<24, kNoBits, R(8, 16), G(8, 8), B(8, 0)>(), // RGB_888
    Plain<24, kNoBits, B(8, 16), G(8, 8), R(8, 0)>(),
    Plain<32, R(8, 24), G(8, 16), B(8, 8), X(8, 0)>(), // RGBX_8888
    Plain<32, B(8, 24), G(8, 16), R(8, 8), X(8, 0)>(),
    Plain<32, R(8, 24), G(8, 16), B(8, 8), A(8, 0)>(), // RGBA_8888
    Plain<32, B(8, 24), G(8, 16), R(8, 8), A(8, 0)>(),
    Plain<32, X(8, 24), R(8, 16), G(8, 8), B(8, 0)>(), // XRGB_8888
    Plain<32, X(8, 24), B(8, 16), G(8, 8), R(8, 0)>(),
    Plain<32, A(8, 24), R(8, 16), G(8, 8), B(8, 0)>(), // ARGB_8888
    Plain<32, A(8, 24), B(8, 16), G(8, 8), R(8, 0)>(),
    Plain<8, A(8, 0)>(),                                      // A_8
    Plain<16, Z(16, 0)>(),                                    // Z_16
    Plain<32, Z(32, 0)>(),                                    // Z_32
    Compressed<4, 1>(),                                       // COMP_DXT1
    Compressed<8, 4>(),                                       // COMP_DXT2
    Compressed<8, 4>(),                                       // COMP_DXT3
    Compressed<8, 8>(),                                       // COMP_DXT4
    Compressed<8, 8>(),                                       // COMP_DXT5
    Plain<16, U(8, 8), V(8, 0)>(),                            // UV_88
    Plain<16, V(8, 8), U(8, 0)>(),                            // VU_88
    Plain<32, Z(24, 8), Stencil(8, 0)>(),                     // Z_24_S_8
    Plain<32, R(8, 24), G(8, 16), B(8, 8), Exponent(8, 0)>(), // RGBE_8888
};

bool IsImageType(kIMAGE_TYPE type) {
    return type >= K_IMAGE_UNKNOWN && type <= K_IMAGE_MAX;
}

} // namespace

u32 kImage::BitsPerPixel(kIMAGE_TYPE type) {
    return IsImageType(type) ? s_fmtDesc[type].bitsPerPixel : 0;
}

const PixelFormatDescData* kImage::FormatDesc(kIMAGE_TYPE type) {
    return IsImageType(type) ? &s_fmtDesc[type] : nullptr;
}

} // namespace Kelvo_lib
