// Allocator objects: a function table plus the heap and alignment it serves.
#include <console/mem.h>
#include <console/os.h>

namespace {

MEMHeapHandle ExpHeapOf(const MEMAllocator* allocator) {
    return static_cast<MEMHeapHandle>(allocator->heap);
}

void* AllocFromExpHeap(MEMAllocator* allocator, u32 size) {
    return MEMAllocFromExpHeapEx(ExpHeapOf(allocator), size, static_cast<int>(allocator->param1));
}

void FreeToExpHeap(MEMAllocator* allocator, void* block) {
    MEMFreeToExpHeap(ExpHeapOf(allocator), block);
}

constexpr MEMAllocatorFunc kExpHeapFunctions{AllocFromExpHeap, FreeToExpHeap};

bool CheckAllocator(const MEMAllocator* allocator, const char* caller) {
    if (allocator != nullptr && allocator->func != nullptr) {
        return true;
    }
    OSReport("%s: invalid allocator %p\n", caller, static_cast<const void*>(allocator));
    return false;
}

} // namespace

void MEMInitAllocatorForExpHeap(MEMAllocator* allocator, MEMHeapHandle heap, int alignment) {
    if (allocator == nullptr) {
        OSReport("%s: no allocator given\n", __func__);
        return;
    }
    // A null heap is reported by the heap calls, so the allocator is never left unset.
    allocator->func = &kExpHeapFunctions;
    allocator->heap = heap;
    allocator->param1 = static_cast<u32>(alignment);
    allocator->param2 = 0;
}

void* MEMAllocFromAllocator(MEMAllocator* allocator, u32 size) {
    return CheckAllocator(allocator, __func__) ? allocator->func->alloc(allocator, size) : nullptr;
}

void MEMFreeToAllocator(MEMAllocator* allocator, void* block) {
    if (CheckAllocator(allocator, __func__)) {
        allocator->func->free(allocator, block);
    }
}
