// kSharedPtr / kWeakPtr: shared ownership of an engine object through one counted
// handle (kRefHandle). The object is deleted with its last kSharedPtr and the
// handle with its last pointer of either kind, so a kWeakPtr may outlive the
// object: its Lock() then gives an empty kSharedPtr. Main thread only (counts are
// plain integers); nothing here fails.
#pragma once

#include <kelvo/containers/kbitwisemovable.h>

#include <console/types.h>

#include <type_traits>

namespace Kelvo_lib {

namespace kPrivate {

// The counts of one shared object. m_weakRefCount counts the weak pointers plus
// one for the whole group of strong pointers while any exists.
class kRefHandle {
public:
    kRefHandle() = default;
    kRefHandle(const kRefHandle&) = delete;
    kRefHandle& operator=(const kRefHandle&) = delete;
    virtual ~kRefHandle() = default;
    virtual void DestroyObject() = 0;
    virtual void Destroy() = 0;

    s32 m_strongRefCount = 1;
    s32 m_weakRefCount = 1;
};

template <class T>
class kRefHandleT final : public kRefHandle {
public:
    explicit kRefHandleT(T* object) : m_object(object) {}

    void DestroyObject() override {
        delete m_object;
        m_object = nullptr;
    }
    void Destroy() override { delete this; }

private:
    T* m_object;
};

} // namespace kPrivate

template <class T>
class kWeakPtr;

template <class T>
class kSharedPtr {
public:
    kSharedPtr() = default;

    // Takes ownership of object, deleted later as a U; a null object still gets a handle.
    template <class U>
    explicit kSharedPtr(U* object)
        : m_pointee(object), m_pRefHandle(new kPrivate::kRefHandleT<U>(object)) {}

    kSharedPtr(const kSharedPtr& other) : kSharedPtr(other.m_pointee, other.m_pRefHandle) {}

    ~kSharedPtr() { Release(); }

    kSharedPtr& operator=(const kSharedPtr& other) {
        // Read the source first: releasing may delete the object that holds it.
        T* const pointee = other.m_pointee;
        kPrivate::kRefHandle* const handle = other.m_pRefHandle;
        if (handle != m_pRefHandle) {
            if (handle != nullptr) {
                ++handle->m_strongRefCount;
            }
            Release();
            m_pRefHandle = handle;
        }
        m_pointee = pointee;
        return *this;
    }

    T* Get() const { return m_pointee; }
    T* operator->() const { return m_pointee; }

private:
    friend class kWeakPtr<T>;

    // One more strong reference on an existing handle (or none).
    kSharedPtr(T* pointee, kPrivate::kRefHandle* handle)
        : m_pointee(pointee), m_pRefHandle(handle) {
        if (m_pRefHandle != nullptr) {
            ++m_pRefHandle->m_strongRefCount;
        }
    }

    void Release() {
        kPrivate::kRefHandle* const handle = m_pRefHandle;
        if (handle == nullptr || --handle->m_strongRefCount != 0) {
            return;
        }
        handle->DestroyObject();
        if (--handle->m_weakRefCount == 0) {
            handle->Destroy();
        }
    }

    T* m_pointee = nullptr;
    kPrivate::kRefHandle* m_pRefHandle = nullptr;
};

template <class T>
class kWeakPtr {
public:
    kWeakPtr() = default;
    kWeakPtr(const kSharedPtr<T>& shared) : kWeakPtr(shared.m_pointee, shared.m_pRefHandle) {}
    kWeakPtr(const kWeakPtr& other) : kWeakPtr(other.m_pointee, other.m_pRefHandle) {}

    ~kWeakPtr() { Release(); }

    kWeakPtr& operator=(const kWeakPtr& other) {
        T* const pointee = other.m_pointee;
        kPrivate::kRefHandle* const handle = other.m_pRefHandle;
        if (handle != m_pRefHandle) {
            if (handle != nullptr) {
                ++handle->m_weakRefCount;
            }
            Release();
            m_pRefHandle = handle;
        }
        m_pointee = pointee;
        return *this;
    }

    // A new strong reference, or an empty pointer once the object is gone.
    kSharedPtr<T> Lock() const {
        if (m_pRefHandle == nullptr || m_pRefHandle->m_strongRefCount == 0) {
            return kSharedPtr<T>();
        }
        return kSharedPtr<T>(m_pointee, m_pRefHandle);
    }

private:
    kWeakPtr(T* pointee, kPrivate::kRefHandle* handle) : m_pointee(pointee), m_pRefHandle(handle) {
        if (m_pRefHandle != nullptr) {
            ++m_pRefHandle->m_weakRefCount;
        }
    }

    void Release() {
        kPrivate::kRefHandle* const handle = m_pRefHandle;
        if (handle != nullptr && --handle->m_weakRefCount == 0) {
            handle->Destroy();
        }
    }

    T* m_pointee = nullptr;
    kPrivate::kRefHandle* m_pRefHandle = nullptr;
};

// Both hold only pointers to the object and to the separately allocated handle.
template <class T>
struct kIsBitwiseMovable<kSharedPtr<T>> : std::true_type {};
template <class T>
struct kIsBitwiseMovable<kWeakPtr<T>> : std::true_type {};

} // namespace Kelvo_lib
