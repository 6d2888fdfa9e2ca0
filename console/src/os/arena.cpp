// The two memory arenas, mapped on first use (in huge pages where the host allows). Sizes may
// be reduced before that.
#include <console/os.h>

#include "os/physical.h"

#include <sys/mman.h>

namespace {

struct Arena {
    u8* base = nullptr;
    u8* lo = nullptr;
    u8* hi = nullptr;
};

struct Arenas {
    u32 mem1Size = OS_MEM1_ARENA_SIZE;
    u32 mem2Size = OS_MEM2_ARENA_SIZE;
    bool mapped = false;
    Arena mem1;
    Arena mem2;
    OSPhysicalRegion physical[OS_PHYSICAL_REGION_COUNT] = {};
};

constinit Arenas s_arenas;

Arena MapArena(u32 size) {
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        OSPanic(__FILE__, __LINE__, "cannot map an arena of %u bytes\n", size);
    }
    // The console reaches its memory without page walks; huge pages come closest, sparing
    // the heaps' scattered headers most TLB misses and start-up most page faults. A host
    // that refuses them still works.
    madvise(memory, size, MADV_HUGEPAGE);
    u8* base = static_cast<u8*>(memory);
    return {base, base, base + size};
}

Arenas& MappedArenas() {
    if (!s_arenas.mapped) {
        s_arenas.mem1 = MapArena(s_arenas.mem1Size);
        s_arenas.mem2 = MapArena(s_arenas.mem2Size);
        s_arenas.physical[0] = {OS_MEM1_PHYSICAL_BASE, s_arenas.mem1Size, s_arenas.mem1.base};
        s_arenas.physical[1] = {OS_MEM2_PHYSICAL_BASE, s_arenas.mem2Size, s_arenas.mem2.base};
        s_arenas.mapped = true;
    }
    return s_arenas;
}

} // namespace

bool OSSetArenaSizes(u32 mem1Size, u32 mem2Size) {
    if (s_arenas.mapped) {
        return false;
    }
    s_arenas.mem1Size = mem1Size;
    s_arenas.mem2Size = mem2Size;
    return true;
}

void* OSGetMEM1ArenaLo() {
    return MappedArenas().mem1.lo;
}
void* OSGetMEM1ArenaHi() {
    return MappedArenas().mem1.hi;
}
void* OSGetMEM2ArenaLo() {
    return MappedArenas().mem2.lo;
}
void* OSGetMEM2ArenaHi() {
    return MappedArenas().mem2.hi;
}
void OSSetMEM1ArenaLo(void* lo) {
    MappedArenas().mem1.lo = static_cast<u8*>(lo);
}
void OSSetMEM1ArenaHi(void* hi) {
    MappedArenas().mem1.hi = static_cast<u8*>(hi);
}
void OSSetMEM2ArenaLo(void* lo) {
    MappedArenas().mem2.lo = static_cast<u8*>(lo);
}
void OSSetMEM2ArenaHi(void* hi) {
    MappedArenas().mem2.hi = static_cast<u8*>(hi);
}

const OSPhysicalRegion* OSPhysicalRegions() {
    return MappedArenas().physical;
}
