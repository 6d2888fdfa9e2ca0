// kSharedPtr, kWeakPtr and RcPtr: object and handle lifetimes, counting copies
// and assignments, weak pointers outliving their object, resources that do or do
// not belong to their references.
#include "live_blocks.h"

#include <kelvo/containers/karray.h>
#include <kelvo/containers/kresource.h>
#include <kelvo/containers/ksharedptr.h>

#include <gtest/gtest.h>

namespace {

using Kelvo_lib::kArray;
using Kelvo_lib::kSharedPtr;
using Kelvo_lib::kWeakPtr;
using Kelvo_lib::RcPtr;

struct Object {
    Object() { ++s_live; }
    ~Object() { --s_live; }
    static inline int s_live = 0;
};

// Counts the derived part, which a deletion through Object alone would skip.
struct Derived : Object {
    Derived() { ++s_derivedLive; }
    ~Derived() { --s_derivedLive; }
    static inline int s_derivedLive = 0;
};

struct Resource : Kelvo_lib::kResource {
    explicit Resource(u32 flags) {
        m_flags = flags;
        ++s_live;
    }
    ~Resource() { --s_live; }
    static inline int s_live = 0;
};

TEST(SharedPtrTest, LastSharedPointerDeletesObjectAndHandle) {
    const s32 blocks = LiveBlocks();
    {
        const kSharedPtr<Object> first(new Derived);
        EXPECT_EQ(LiveBlocks(), blocks + 2);
        const kSharedPtr<Object> second(first);
        EXPECT_EQ(second.Get(), first.Get());
    }
    EXPECT_EQ(Derived::s_derivedLive, 0); // deleted as the type it was made with
    EXPECT_EQ(Object::s_live, 0);
    EXPECT_EQ(LiveBlocks(), blocks);
}

TEST(SharedPtrTest, SharedPointerFromNullOwnsOnlyAHandle) {
    const s32 blocks = LiveBlocks();
    {
        const kSharedPtr<Object> empty(static_cast<Object*>(nullptr));
        EXPECT_EQ(LiveBlocks(), blocks + 1);
        kSharedPtr<Object> copy(empty);
        copy = empty;
        EXPECT_EQ(copy.Get(), nullptr);
    }
    EXPECT_EQ(LiveBlocks(), blocks);
}

TEST(SharedPtrTest, AssignmentsBetweenHoldersOfOneHandleChangeNoCount) {
    kSharedPtr<Object> a(new Object);
    kSharedPtr<Object> b(a);
    auto& self = a; // named so the compiler sees no self-assignment
    a = self;
    a = b;
    b = a;
    a = kSharedPtr<Object>();
    EXPECT_EQ(Object::s_live, 1);
    b = kSharedPtr<Object>(new Object);
    EXPECT_EQ(Object::s_live, 1);
    b = a;
    EXPECT_EQ(Object::s_live, 0);
}

TEST(WeakPtrTest, WeakPointerOutlivesItsObject) {
    const s32 blocks = LiveBlocks();
    kWeakPtr<Object> weak;
    {
        const kSharedPtr<Object> shared(new Object);
        weak = shared;
        EXPECT_EQ(weak.Lock().Get(), shared.Get());
    }
    EXPECT_EQ(Object::s_live, 0);
    EXPECT_EQ(LiveBlocks(), blocks + 1); // the handle, kept by the weak pointer
    EXPECT_EQ(weak.Lock().Get(), nullptr);
    weak = kWeakPtr<Object>();
    EXPECT_EQ(LiveBlocks(), blocks);
}

TEST(WeakPtrTest, LockedPointerKeepsTheObjectAlive) {
    kWeakPtr<Object> weak;
    EXPECT_EQ(weak.Lock().Get(), nullptr);
    kSharedPtr<Object> locked;
    {
        const kSharedPtr<Object> shared(new Object);
        weak = shared;
        locked = weak.Lock();
    }
    EXPECT_EQ(Object::s_live, 1);
    locked = kSharedPtr<Object>();
    EXPECT_EQ(Object::s_live, 0);
}

TEST(WeakPtrTest, CopiesAndAssignmentsReleaseTheHandleExactlyOnce) {
    const s32 blocks = LiveBlocks();
    {
        kSharedPtr<Object> shared(new Object);
        kWeakPtr<Object> a(shared);
        kWeakPtr<Object> b(a);
        const kWeakPtr<Object> c = b;
        auto& self = a;
        a = self;
        b = c;
        shared = kSharedPtr<Object>();
        EXPECT_EQ(c.Lock().Get(), nullptr);
        a = kWeakPtr<Object>();
    }
    EXPECT_EQ(LiveBlocks(), blocks);
}

TEST(SharedPtrTest, ArraysOfSharedAndWeakPointersKeepCountsThroughGrowth) {
    const s32 blocks = LiveBlocks();
    {
        const kSharedPtr<Object> shared(new Object);
        kArray<kSharedPtr<Object>> strong;
        kArray<kWeakPtr<Object>> weak;
        for (int i = 0; i < 10; ++i) {
            strong.Push(shared);
            weak.Push(shared);
        }
        strong.Remove(2, 5);
        weak.SetSize(3);
        strong.Empty();
        EXPECT_EQ(weak.Last().Lock().Get(), shared.Get());
    }
    EXPECT_EQ(Object::s_live, 0);
    EXPECT_EQ(LiveBlocks(), blocks);
}

TEST(ResourcePtrTest, LastReferenceDeletesOwnedResource) {
    const s32 blocks = LiveBlocks();
    Resource* resource = new Resource(Kelvo_lib::K_RESOURCE_OWNED);
    resource->m_name = static_cast<char*>(kPlatform_ReleaseAlloc(K_MEM_TAG_RENDER, 8));
    {
        RcPtr<Resource> first(resource);
        RcPtr<Resource> second(first);
        EXPECT_EQ(resource->m_refCount, 2u);
        auto& self = first;
        first = self;
        first = second;
        EXPECT_EQ(resource->m_refCount, 2u);
        second = RcPtr<Resource>();
        EXPECT_EQ(resource->m_refCount, 1u);
    }
    EXPECT_EQ(Resource::s_live, 0);
    EXPECT_EQ(LiveBlocks(), blocks);
}

TEST(ResourcePtrTest, ResourceNotOwnedByReferencesStaysAtCountZero) {
    Resource* resource = new Resource(0);
    {
        const RcPtr<Resource> first(resource);
        RcPtr<Resource> second;
        second = first;
        EXPECT_EQ(second.Get(), resource);
    }
    EXPECT_EQ(resource->m_refCount, 0u);
    EXPECT_EQ(Resource::s_live, 1);
    delete resource;
}

} // namespace
