// Translation between arena pointers and the 32-bit physical address space.
#include <console/os.h>

#include "os/physical.h"

u32 OSCachedToPhysical(const void* address) {
    const std::uintptr_t byte = reinterpret_cast<std::uintptr_t>(address);
    const OSPhysicalRegion* regions = OSPhysicalRegions();
    for (u32 i = 0; i < OS_PHYSICAL_REGION_COUNT; ++i) {
        const OSPhysicalRegion& region = regions[i];
        const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(region.host);
        if (byte >= start && byte - start < region.size) {
            return region.physical + static_cast<u32>(byte - start);
        }
    }
    OSReport("OSCachedToPhysical: %p is outside the arenas\n", address);
    return OS_PHYSICAL_INVALID;
}

void* OSPhysicalToCached(u32 physical) {
    u8* byte = OSPhysicalSpan(physical, 1);
    if (byte == nullptr) {
        OSReport("OSPhysicalToCached: 0x%08x is outside the arenas\n", physical);
    }
    return byte;
}
