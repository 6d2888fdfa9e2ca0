// The global new and delete: every C++ allocation of the program goes through the
// tracked allocator. Linked into each executable directly (not from the archive),
// so that no part of the program can pick the C library's operators instead.
#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/kmemory.h>

#include <cstdint>
#include <new>

namespace {

constexpr std::size_t kHeapAlignment = 32;

void* AllocateObject(std::size_t size) {
    kAssertMsg(size <= UINT32_MAX, "operator new: allocation larger than 4 GiB");
    return kPlatform_ReleaseAlloc(K_MEM_TAG_OBJECT, static_cast<u32>(size));
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    kAssertMsg(static_cast<std::size_t>(alignment) <= kHeapAlignment,
               "operator new: alignment above 32 bytes is not supported");
    return AllocateObject(size);
}

} // namespace

void* operator new(std::size_t size) {
    return AllocateObject(size);
}
void* operator new[](std::size_t size) {
    return AllocateObject(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateObject(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateObject(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}

void operator delete(void* pointer) noexcept {
    kPlatform_ReleaseFree(pointer);
}
void operator delete[](void* pointer) noexcept {
    kPlatform_ReleaseFree(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    kPlatform_ReleaseFree(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    kPlatform_ReleaseFree(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    kPlatform_ReleaseFree(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    kPlatform_ReleaseFree(pointer);
}
void operator delete(void* pointer, std::align_val_t) noexcept {
    kPlatform_ReleaseFree(pointer);
}
void operator delete[](void* pointer, std::align_val_t) noexcept {
    kPlatform_ReleaseFree(pointer);
}
void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept {
    kPlatform_ReleaseFree(pointer);
}
void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept {
    kPlatform_ReleaseFree(pointer);
}
