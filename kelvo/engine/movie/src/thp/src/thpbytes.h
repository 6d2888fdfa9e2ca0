// What the THP reader, writer and player share of the file's bytes: a big-endian word as the
// file stores it, and a size rounded up to the 32-byte blocks the file and the drive use.
#pragma once

#include <console/types.h>

namespace thp_bytes {

inline u32 Big32(const u8* at) {
    return static_cast<u32>(at[0]) << 24 | static_cast<u32>(at[1]) << 16 |
           static_cast<u32>(at[2]) << 8 | at[3];
}

inline u32 Align32(u32 value) {
    return (value + 31) & ~31u;
}

} // namespace thp_bytes
