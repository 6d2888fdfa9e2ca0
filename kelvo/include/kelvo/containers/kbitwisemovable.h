// kIsBitwiseMovable<T>: whether an object of T survives being moved as raw bytes
// to a new address. kArray reallocates with a byte copy and refuses, at compile
// time, element types for which this is false. A compile-time trait: no state.
#pragma once

#include <type_traits>

namespace Kelvo_lib {

// True for trivially copyable types. An engine type that holds only pointers to
// blocks outside itself opts in beside its own declaration:
//     template <> struct kIsBitwiseMovable<Type> : std::true_type {};
// Opted in so far: kString, kSharedPtr, kWeakPtr, RcPtr and heap-storage kArray.
// Never opt in std::string (short texts live inside the object), a signal or a
// slot owner (their connections point back at the object), an intrusive list or
// tree node, or a FixedMemArrayTrait array (its storage is inside it).
template <class T>
struct kIsBitwiseMovable : std::is_trivially_copyable<T> {};

} // namespace Kelvo_lib
