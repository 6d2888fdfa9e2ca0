// The gain the voice device gives a channel volume of 0.0 to 1.0, as a listener measures it:
// 32 steps, step s playing at 10 x log2(s / 32) dB, step 0 silent.
#pragma once

#include <cmath>

namespace test_support {

inline double VoiceGain(double volume) {
    const double step = std::floor(32.0 * volume);
    return step <= 0.0 ? 0.0 : std::pow(10.0, 10.0 * std::log2(step / 32.0) / 20.0);
}

} // namespace test_support
