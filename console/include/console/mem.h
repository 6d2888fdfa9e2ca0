// Heaps: expanded heaps over caller-given memory (good fit by size class,
// coalescing free blocks, 32-byte granularity) and allocator objects over them.
// A heap never grows: allocation returns null when no free block fits. Each heap
// has its own lock, so it may be used from any thread. In the sanitizer build
// block headers and free space are poisoned and freed blocks pass through a
// quarantine before reuse, so the address sanitizer reports accesses to them.
#pragma once

#include <console/types.h>

struct MEMiExpHeap;
using MEMHeapHandle = MEMiExpHeap*;

constexpr u16 MEM_HEAP_OPT_0_CLEAR = 1 << 0;

// The heap's record takes the start of the region; null when the region is too
// small. Invalid arguments anywhere below are reported and give null, 0 or nothing.
MEMHeapHandle MEMCreateExpHeapEx(void* start, u32 size, u16 options);
// Returns the region's start; blocks still live are abandoned.
void* MEMDestroyExpHeap(MEMHeapHandle heap);
// alignment is a power of two of at least 4. The block is placed in the lowest
// free block that fits among those of the smallest power-of-two size class that
// has one (sizes from 8 MiB up share a class), at its lowest aligned address; with
// a negative alignment, in the highest free block that fits, at its highest
// aligned address. Blocks start and end on 32-byte boundaries; null when nothing
// fits.
void* MEMAllocFromExpHeapEx(MEMHeapHandle heap, u32 size, int alignment);
// A pointer that is not a live block of the heap (null, a double free) is refused.
void MEMFreeToExpHeap(MEMHeapHandle heap, void* block);
// Payload bytes of the free blocks. In the sanitizer build, blocks waiting in the
// quarantine count as in use until they are released.
u32 MEMGetTotalFreeSizeForExpHeap(MEMHeapHandle heap);
// The largest block an allocation with this alignment gets now (quarantine aside).
u32 MEMGetAllocatableSizeForExpHeapEx(MEMHeapHandle heap, int alignment);
// Sanitizer build: releases every quarantined block at once (as a failing
// allocation does before it retries). Elsewhere freed blocks are released at once.
void MEMFlushQuarantineForExpHeap(MEMHeapHandle heap);
// Usable bytes of a live block (at least what was asked for, a multiple of 32);
// the whole range may be read and written. Safe without the heap's lock: a
// block's size changes only through its own allocation and release.
u32 MEMGetSizeForMBlockExpHeap(const void* block);

struct MEMAllocator;
struct MEMAllocatorFunc {
    void* (*alloc)(MEMAllocator* allocator, u32 size);
    void (*free)(MEMAllocator* allocator, void* block);
};
struct MEMAllocator {
    const MEMAllocatorFunc* func;
    void* heap;
    u32 param1;
    u32 param2;
};

// An allocator over an expanded heap takes every block with the given alignment.
void MEMInitAllocatorForExpHeap(MEMAllocator* allocator, MEMHeapHandle heap, int alignment);
void* MEMAllocFromAllocator(MEMAllocator* allocator, u32 size);
void MEMFreeToAllocator(MEMAllocator* allocator, void* block);
