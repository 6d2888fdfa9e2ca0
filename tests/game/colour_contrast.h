// The contrast ratio of two colours as the screens are held to it (text at 4.5:1 or more on
// what lies behind it): relative luminances of sRGB, (lighter + 0.05) / (darker + 0.05).
#pragma once

#include <console/types.h>

#include <algorithm>
#include <cmath>

namespace colour_contrast {

// Of a colour 0xRRGGBB (an alpha byte above it is ignored).
inline double Luminance(u32 rgb) {
    const auto linear = [](u32 channel) {
        const double v = static_cast<double>(channel & 0xFF) / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(rgb >> 16) + 0.7152 * linear(rgb >> 8) + 0.0722 * linear(rgb);
}

inline double Ratio(u32 a, u32 b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace colour_contrast
