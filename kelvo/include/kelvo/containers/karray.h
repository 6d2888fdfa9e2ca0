// kArray<T, Trait>: the engine's one dynamic array, owning its elements. Storage is
// exactly as large as needed: each growth step is one reallocation from the tracked
// allocator (tag from the trait), removals shrink it to fit, and it moves as raw
// bytes, so T must be kIsBitwiseMovable. Fixed arrays (caller storage, or a
// FixedMemArrayTrait) never reallocate: growing past capacity asserts. Main thread
// only; negative counts and indices are programming errors, not checked.
#pragma once

#include <kelvo/containers/kbitwisemovable.h>
#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/kmemory.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>
#include <type_traits>

namespace Kelvo_lib {

// Storage from the tracked allocator with allocation tag Tag. The first three
// arguments have no effect.
template <int, int, int, u32 Tag>
class TArrayTrait {
public:
    static constexpr u32 tag = Tag;

protected:
    template <class T>
    static constexpr s32 MaxReserve() {
        return INT32_MAX / static_cast<s32>(sizeof(T));
    }

    // Storage for exactly count elements; 0 releases it.
    template <class T>
    void ResizeStorage(T*& storage, s32& reserve, s32 count) {
        if (count != 0 || storage != nullptr) {
            storage = static_cast<T*>(kPlatform_ReleaseRealloc(
                tag, storage, static_cast<u32>(count * static_cast<s32>(sizeof(T)))));
        }
        reserve = count;
    }
};

// Storage of N bytes inside the array object itself: any non-zero reserve is the
// whole block (N / sizeof(T) elements); it is never reallocated or freed.
template <int N>
class FixedMemArrayTrait {
protected:
    template <class T>
    static constexpr s32 MaxReserve() {
        return N / static_cast<s32>(sizeof(T));
    }

    template <class T>
    void ResizeStorage(T*& storage, s32& reserve, s32 count) {
        static_assert(alignof(T) <= alignof(std::max_align_t), "element over-aligned for m_data");
        storage = count == 0 ? nullptr : reinterpret_cast<T*>(m_data);
        reserve = count == 0 ? 0 : MaxReserve<T>();
    }

private:
    alignas(std::max_align_t) unsigned char m_data[N];
};

namespace kPrivate::kArrayDetail {

// Class-type elements: built, copied and destroyed through T's own operations on
// the indices from ... to - 1.
template <class T>
struct ArrayTypeTraitComplex {
    static void DefaultConstruct(T* array, s32 from, s32 to) {
        for (s32 i = from; i < to; ++i) {
            ::new (static_cast<void*>(&array[i])) T();
        }
    }
    static void Destruct(T* array, s32 from, s32 to) {
        for (s32 i = from; i < to; ++i) {
            array[i].~T();
        }
    }
    static void CopyConstruct(T* destination, const T* source, s32 from, s32 to) {
        for (s32 i = from; i < to; ++i) {
            ::new (static_cast<void*>(&destination[i])) T(source[i]);
        }
    }
    static void Assign(T* destination, const T* source, s32 from, s32 to) {
        for (s32 i = from; i < to; ++i) {
            destination[i] = source[i];
        }
    }
};

// Plain elements: copied as bytes, left uninitialised when added, never destroyed.
template <class T>
struct ArrayTypeTraitSimple {
    static void DefaultConstruct(T*, s32, s32) {}
    static void Destruct(T*, s32, s32) {}
    static void CopyConstruct(T* destination, const T* source, s32 from, s32 to) {
        if (to > from) {
            std::memcpy(destination + from, source + from,
                        static_cast<std::size_t>(to - from) * sizeof(T));
        }
    }
    static void Assign(T* destination, const T* source, s32 from, s32 to) {
        CopyConstruct(destination, source, from, to);
    }
};

template <class T>
using ArrayTypeTrait =
    std::conditional_t<std::is_trivial_v<T>, ArrayTypeTraitSimple<T>, ArrayTypeTraitComplex<T>>;

} // namespace kPrivate::kArrayDetail

template <class T, class Trait = TArrayTrait<3, 8, 16, K_MEM_TAG_GENERAL>>
class kArray : public Trait {
    using Elements = kPrivate::kArrayDetail::ArrayTypeTrait<T>;

public:
    kArray() : Trait() {}

    // A fixed array over caller storage for capacity elements; the storage stays
    // the caller's and is never reallocated.
    kArray(T* storage, s32 capacity)
        : Trait(), m_array(storage), m_reservedSize(capacity), m_bFixed(true) {}

    kArray(const kArray& other) : Trait() {
        CheckReserveGrow(other.m_size);
        Elements::CopyConstruct(m_array, other.m_array, 0, other.m_size);
        m_size = other.m_size;
    }

    ~kArray() {
        static_assert(kIsBitwiseMovable<T>::value,
                      "kArray moves its elements as bytes: T must be kIsBitwiseMovable");
        Clear();
        if (!m_bFixed) {
            this->ResizeStorage(m_array, m_reservedSize, 0);
        }
    }

    kArray& operator=(const kArray& other) {
        if (this == &other) {
            return *this;
        }
        const s32 kept = m_size < other.m_size ? m_size : other.m_size;
        CheckReserveGrow(other.m_size - m_size);
        Elements::Assign(m_array, other.m_array, 0, kept);
        Elements::CopyConstruct(m_array, other.m_array, kept, other.m_size);
        Elements::Destruct(m_array, other.m_size, m_size);
        m_size = other.m_size;
        ShrinkToFit();
        return *this;
    }

    s32 Size() const { return m_size; }
    s32 ReservedSize() const { return m_reservedSize; }
    T* Data() { return m_array; }
    const T* Data() const { return m_array; }
    s32 NumBytes() const { return m_size * static_cast<s32>(sizeof(T)); }

    T& operator()(s32 i) { return m_array[i]; }
    const T& operator()(s32 i) const { return m_array[i]; }
    T& Last() { return m_array[m_size - 1]; }
    const T& Last() const { return m_array[m_size - 1]; }

    // Appends count elements (default-constructed class types, uninitialised plain
    // types); returns the index of the first.
    s32 Add(s32 count = 1) {
        const s32 first = m_size;
        CheckReserveGrow(count);
        Elements::DefaultConstruct(m_array, first, first + count);
        m_size += count;
        return first;
    }

    void Push(const T& value) {
        // The value may be one of our own elements, which growing moves.
        const s32 stored = IndexInStorage(&value);
        CheckReserveGrow(1);
        ::new (static_cast<void*>(&m_array[m_size])) T(stored < 0 ? value : m_array[stored]);
        ++m_size;
    }

    // Index of the first element equal to value, appending it when there is none.
    s32 AddUniqueElement(const T& value) {
        const s32 found = IndexOf(value);
        if (found >= 0) {
            return found;
        }
        Push(value);
        return m_size - 1;
    }

    void Remove(s32 index, s32 count = 1) {
        Elements::Destruct(m_array, index, index + count);
        const s32 tail = m_size - index - count;
        if (tail > 0) {
            std::memmove(static_cast<void*>(m_array + index), m_array + index + count,
                         static_cast<std::size_t>(tail) * sizeof(T));
        }
        m_size -= count;
        ShrinkToFit();
    }

    // Removes every element equal to value; returns how many went.
    s32 RemoveElement(const T& value) {
        if (IndexInStorage(&value) >= 0) {
            const T kept(value); // removing the element would destroy the value compared with
            return RemoveElement(kept);
        }
        s32 removed = 0;
        for (s32 i = 0; i < m_size;) {
            if (m_array[i] == value) {
                Remove(i, 1);
                ++removed;
            } else {
                ++i;
            }
        }
        return removed;
    }

    // Size n with a reserve of exactly n (a FixedMemArrayTrait keeps its block).
    void SetSize(s32 n) {
        if (n > m_size) {
            SetReserve(n);
            Elements::DefaultConstruct(m_array, m_size, n);
            m_size = n;
        } else if (n < m_size) {
            SetReserve(n);
        }
    }

    // Reallocates to n elements (0 releases the storage); elements beyond n are
    // destroyed first.
    void SetReserve(s32 n) {
        kAssertMsg(!m_bFixed && n <= Trait::template MaxReserve<T>(),
                   "kArray::SetReserve: Cannot set reserve of a fixed memory array");
        if (n < m_size) {
            Elements::Destruct(m_array, n, m_size);
            m_size = n;
        }
        this->ResizeStorage(m_array, m_reservedSize, n);
    }

    // Destroys all elements; then, unless fixed, the reserve becomes the given count.
    void Empty(s32 reserve = 0) {
        Clear();
        if (!m_bFixed) {
            SetReserve(reserve);
        }
    }

    // Destroys all elements and keeps the storage.
    void Clear() {
        Elements::Destruct(m_array, 0, m_size);
        m_size = 0;
    }

private:
    void CheckReserveGrow(s32 count) {
        const s32 needed = m_size + count;
        if (needed <= m_reservedSize) {
            return;
        }
        kAssertMsg(!m_bFixed && needed <= Trait::template MaxReserve<T>(),
                   "kArray::CheckReserveGrow: Cannot grow a fixed memory array");
        this->ResizeStorage(m_array, m_reservedSize, needed);
    }

    void ShrinkToFit() {
        if (!m_bFixed && m_reservedSize > m_size) {
            this->ResizeStorage(m_array, m_reservedSize, m_size);
        }
    }

    s32 IndexOf(const T& value) const {
        for (s32 i = 0; i < m_size; ++i) {
            if (m_array[i] == value) {
                return i;
            }
        }
        return -1;
    }

    // The index of the element at address element, or -1 when it is not one of ours.
    s32 IndexInStorage(const T* element) const {
        const std::less<const T*> before;
        if (m_size == 0 || before(element, m_array) || !before(element, m_array + m_size)) {
            return -1;
        }
        return static_cast<s32>(element - m_array);
    }

    T* m_array = nullptr;
    s32 m_size = 0;
    s32 m_reservedSize = 0;
    bool m_bFixed = false;
};

// Heap-storage arrays hold only a pointer to their block; FixedMemArrayTrait arrays
// point into themselves and may not be moved as bytes.
template <class T, int A, int B, int C, u32 Tag>
struct kIsBitwiseMovable<kArray<T, TArrayTrait<A, B, C, Tag>>> : std::true_type {};

} // namespace Kelvo_lib
