// The blocks the engine's allocator holds: a suite compares the count before and after to
// show that what it made was freed.
#pragma once

#include <kelvo/platform/kmemory.h>

inline s32 LiveBlocks() {
    return kPlatform_GetMemStats().numAllocs;
}
