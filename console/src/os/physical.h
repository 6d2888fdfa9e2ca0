// The arenas as regions of the physical address space, for the console libraries that
// reach memory through physical addresses (AI DMA, AX voices). Every such access goes
// through OSPhysicalSpan, which checks that the whole range lies inside one arena.
#pragma once

#include <console/types.h>

struct OSPhysicalRegion {
    u32 physical; // first physical address
    u32 size;     // bytes
    u8* host;     // the arena's first byte
};
constexpr u32 OS_PHYSICAL_REGION_COUNT = 2;

// MEM1 then MEM2, mapping the arenas on first use.
const OSPhysicalRegion* OSPhysicalRegions();

// The host bytes of [physical, physical + length) inside one region; null otherwise.
inline u8* OSPhysicalSpanIn(const OSPhysicalRegion* regions, u32 physical, u32 length) {
    for (u32 i = 0; i < OS_PHYSICAL_REGION_COUNT; ++i) {
        const OSPhysicalRegion& region = regions[i];
        const u32 offset = physical - region.physical;
        if (physical >= region.physical && offset < region.size && length <= region.size - offset) {
            return region.host + offset;
        }
    }
    return nullptr;
}

inline u8* OSPhysicalSpan(u32 physical, u32 length) {
    return OSPhysicalSpanIn(OSPhysicalRegions(), physical, length);
}
