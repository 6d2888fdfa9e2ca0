// kGUID: a 128-bit class identifier (data1, data2, data3 and eight bytes of data4), and
// kCLSID, the compile-time form that class templates take as an argument. Plain values,
// usable from any thread and in constant initialisation.
#pragma once

#include <console/types.h>

namespace Kelvo_lib {

struct kGUID {
    constexpr kGUID() = default;
    // data4 is stored most significant byte first.
    constexpr kGUID(u32 d1, u16 d2, u16 d3, u64 d4) : data1(d1), data2(d2), data3(d3) {
        for (int i = 0; i < 8; ++i) {
            data4[i] = static_cast<u8>(d4 >> (56 - 8 * i));
        }
    }

    friend constexpr bool operator==(const kGUID&, const kGUID&) = default;

    // The all-zero GUID.
    static const kGUID Null;

    u32 data1 = 0;
    u16 data2 = 0;
    u16 data3 = 0;
    u8 data4[8] = {};
};

inline constexpr kGUID kGUID::Null{};

template <u32 D1, u16 D2, u16 D3, u64 D4>
struct kCLSID {
    static constexpr kGUID value{D1, D2, D3, D4};
};

} // namespace Kelvo_lib
