// Memory from the host's own heap, for containers that must not draw on the console's:
// operator new allocates from the game's heap, which stands for the console's main memory.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <vector>

template <class T>
struct HostHeap {
    using value_type = T;

    HostHeap() = default;
    template <class U>
    constexpr HostHeap(const HostHeap<U>&) noexcept {}

    T* allocate(std::size_t count) {
        void* block = std::malloc(count * sizeof(T));
        if (block == nullptr) {
            throw std::bad_alloc();
        }
        return static_cast<T*>(block);
    }
    void deallocate(T* block, std::size_t) noexcept { std::free(block); }
    template <class U>
    bool operator==(const HostHeap<U>&) const {
        return true;
    }
};

template <class T>
using HostVector = std::vector<T, HostHeap<T>>;
