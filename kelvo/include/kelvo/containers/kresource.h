// kResource / RcPtr: engine resources (textures) that count their holders inside
// the resource. Each RcPtr holds one count; when the last one goes, a resource
// with K_RESOURCE_OWNED set in m_flags is deleted, any other stays, unreferenced,
// for its owner to free. Main thread only; nothing here fails.
#pragma once

#include <kelvo/containers/kbitwisemovable.h>
#include <kelvo/platform/kmemory.h>

#include <type_traits>
#include <utility>

namespace Kelvo_lib {

// m_flags bit 0: the resource owns its buffers and belongs to its references.
constexpr u32 K_RESOURCE_OWNED = 1;

// The header of every engine resource; it is deleted only as its derived type.
class kResource {
public:
    kResource(const kResource&) = delete;
    kResource& operator=(const kResource&) = delete;

    u32 m_refCount = 0;
    u32 m_flags = 0;
    char* m_name = nullptr; // owned, tag 16
    u32 systemTableOffset = 0;
    u32 systemTableSize = 0;
    u32 contiguousTableOffset = 0;
    u32 contiguousTableSize = 0;
    u32 importTableOffset = 0;
    u32 importTableSize = 0;

protected:
    kResource() = default;
    ~kResource() {
        if (m_name != nullptr) {
            kPlatform_ReleaseRealloc(K_MEM_TAG_RENDER, m_name, 0);
        }
    }
};

template <class T>
class RcPtr {
public:
    RcPtr() = default;
    RcPtr(T* resource) : pointee(resource) { Acquire(); }
    RcPtr(const RcPtr& other) : RcPtr(other.pointee) {}

    ~RcPtr() { Release(); }

    RcPtr& operator=(const RcPtr& other) {
        if (other.pointee != pointee) {
            RcPtr held(other);
            std::swap(pointee, held.pointee); // held releases the old resource
        }
        return *this;
    }

    T* Get() const { return pointee; }
    T* operator->() const { return pointee; }

private:
    void Acquire() {
        if (pointee != nullptr) {
            ++pointee->m_refCount;
        }
    }

    void Release() {
        if (pointee == nullptr) {
            return;
        }
        if (pointee->m_refCount > 1) {
            --pointee->m_refCount;
            return;
        }
        pointee->m_refCount = 0;
        if ((pointee->m_flags & K_RESOURCE_OWNED) != 0) {
            Delete(pointee);
        }
        pointee = nullptr;
    }

    // Kept out of line: inlined, g++ follows the deletion into the release by another
    // holder of the same resource and reports a use after free that cannot happen.
    [[gnu::noinline]] static void Delete(T* resource) { delete resource; }

    T* pointee = nullptr;
};

// Holds only a pointer to the resource.
template <class T>
struct kIsBitwiseMovable<RcPtr<T>> : std::true_type {};

} // namespace Kelvo_lib
