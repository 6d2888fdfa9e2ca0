// libFuzzer's own allocations (some of many MiB, the first from its coverage set-up
// before any constructor of ours) go through the engine's global new: a fuzz target
// widens the first arena from the pre-initialisation array, before all of them.
#pragma once

#include <console/os.h>

#include <cstdlib>

inline void WidenArenasForFuzzer(int, char**, char**) {
    if (!OSSetArenaSizes(OS_MEM1_ARENA_SIZE * 8, OS_MEM2_ARENA_SIZE)) {
        OSReport("fuzz target: the arenas were mapped before they could be widened\n");
        abort();
    }
}

__attribute__((section(".preinit_array"),
               used)) inline void (*const s_widenArenasForFuzzer)(int, char**,
                                                                  char**) = WidenArenasForFuzzer;
