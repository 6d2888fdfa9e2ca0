// The class templates that give a class T with base B its record: kRTTI (a class created
// by class, with a factory), kAbstractRTTI (no factory), kPlainNameRTTI (as kRTTI, the record
// named by the class name alone) and, under them, kBaseRTTI (the class operators new and
// delete, through kObject::Allocate and kObject::Free). Usage:
//     class kFoo : public kRTTI<kFoo, kObject, kCLSID<0x..., 0x..., 0x..., 0x...>> {...};
// The record is named after T as the compiler spells it ("Kelvo_lib::kFoo", or "kFoo" for
// kPlainNameRTTI) and built once, at static initialisation, however many units use it.
// Main thread only.
#pragma once

#include <kelvo/object/kobject.h>

#include <array>
#include <cstddef>
#include <new>
#include <string_view>

namespace Kelvo_lib {

// The last argument of every layer is 0 and has no effect.
template <class T, class B, class CLSID, int Unused = 0>
class kBaseRTTI : public B {
public:
    using B::B;

    // The record's instance size, or the size asked for when larger (a derived class
    // without a record of its own); no library given, no name.
    static void* operator new(std::size_t size) {
        return kObject::Allocate(T::StaticClass(), nullptr, nullptr, size);
    }
    static void operator delete(void* memory) { kObject::Free(memory); }
};

namespace kPrivate {

template <class T>
constexpr std::string_view CompilerTypeName() {
    // "... [with T = Kelvo_lib::kFoo; ...]" (g++) or "... [T = Kelvo_lib::kFoo]" (clang).
    const std::string_view signature = __PRETTY_FUNCTION__;
    const std::string_view afterKey = signature.substr(signature.find("T = ") + 4);
    return afterKey.substr(0, afterKey.find_first_of(";]"));
}

// T's qualified name, or with bNameAlone the name without its namespaces.
template <class T, bool bNameAlone>
constexpr std::string_view RecordName() {
    const std::string_view name = CompilerTypeName<T>();
    const std::size_t scope = name.rfind("::");
    return bNameAlone && scope != std::string_view::npos ? name.substr(scope + 2) : name;
}

// The record's name as a zero-terminated constant.
template <class T, bool bNameAlone>
struct TypeName {
    static constexpr std::array<char, RecordName<T, bNameAlone>().size() + 1> text = [] {
        std::array<char, RecordName<T, bNameAlone>().size() + 1> chars{};
        RecordName<T, bNameAlone>().copy(chars.data(), chars.size() - 1);
        return chars;
    }();
};

template <class T, class B, class CLSID, int Unused, bool bHasFactory, bool bNameAlone = false>
class kRecordRTTI : public kBaseRTTI<T, B, CLSID, Unused> {
public:
    using kBaseRTTI<T, B, CLSID, Unused>::kBaseRTTI;

    static kClass* StaticClass() { return &m_class; }
    kClass* Class() override { return &m_class; }
    const kClass* Class() const override { return &m_class; }

    // Builds a T in memory from Allocate; does nothing for null.
    static void classFactory(void* memory) requires bHasFactory {
        if (memory != nullptr) {
            ::new (memory) T();
        }
    }

    static kClass m_class;

private:
    static constexpr kClassConstructor Factory() {
        if constexpr (bHasFactory) {
            return &classFactory;
        } else {
            return nullptr;
        }
    }
};

template <class T, class B, class CLSID, int Unused, bool bHasFactory, bool bNameAlone>
kClass kRecordRTTI<T, B, CLSID, Unused, bHasFactory, bNameAlone>::m_class(
    TypeName<T, bNameAlone>::text.data(), sizeof(T), Factory(), &T::ClassInitialiser, 0,
    CLSID::value, B::StaticClass());

} // namespace kPrivate

template <class T, class B, class CLSID, int Unused = 0>
class kRTTI : public kPrivate::kRecordRTTI<T, B, CLSID, Unused, true> {
public:
    using kPrivate::kRecordRTTI<T, B, CLSID, Unused, true>::kRecordRTTI;
};

template <class T, class B, class CLSID, int Unused = 0>
class kAbstractRTTI : public kPrivate::kRecordRTTI<T, B, CLSID, Unused, false> {
public:
    using kPrivate::kRecordRTTI<T, B, CLSID, Unused, false>::kRecordRTTI;
};

// As kRTTI, with the record named by the class name alone ("kUIWidget"), as the framework's
// and the game's widget records are.
template <class T, class B, class CLSID, int Unused = 0>
class kPlainNameRTTI : public kPrivate::kRecordRTTI<T, B, CLSID, Unused, true, true> {
public:
    using kPrivate::kRecordRTTI<T, B, CLSID, Unused, true, true>::kRecordRTTI;
};

} // namespace Kelvo_lib
