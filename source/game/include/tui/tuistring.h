// TUIString: a menu text formatted each time it is drawn, from a printf-style format and up
// to two TUIStringParam values bound to the menu's own buffers (char*, const char**, int*)
// or fixed numbers. A value type that owns its format and only points at the bound buffers,
// which must outlive it. Main thread only. A conversion without a value, or a value of the
// wrong kind, is logged and printed as nothing; a null buffer prints as an empty text.
#pragma once

#include <kelvo/containers/kbitwisemovable.h>
#include <kelvo/containers/kstring.h>

namespace Kelvo_lib {

class TUIStringParam {
public:
    enum Kind { NONE, LITERAL, INT_POINTER, TEXT, TEXT_POINTER };

    TUIStringParam() = default;
    TUIStringParam(char* text) : m_kind(TEXT), m_text(text) {}
    TUIStringParam(const char** textPointer) : m_kind(TEXT_POINTER), m_textPointer(textPointer) {}
    TUIStringParam(char** textPointer) : TUIStringParam(const_cast<const char**>(textPointer)) {}
    TUIStringParam(int* value) : m_kind(INT_POINTER), m_intPointer(value) {}
    static TUIStringParam CreateLiteral(int value);

    Kind GetKind() const { return m_kind; }
    bool IsNumber() const { return m_kind == LITERAL || m_kind == INT_POINTER; }
    // The bound number now; 0 for a text or a null pointer.
    int GetNumber() const;
    // The bound text now; "" for a number or a null pointer.
    const char* GetText() const;

private:
    Kind m_kind = NONE;
    int m_literal = 0;
    const char* m_text = nullptr;
    const char** m_textPointer = nullptr;
    int* m_intPointer = nullptr;
};

class TUIString {
public:
    static constexpr int kMaxParams = 2;
    // The longest text Format writes, terminator included.
    static constexpr int kMaxLength = 512;

    TUIString() = default;
    TUIString(const char* format) : m_format(format) {}
    TUIString(const char* format, const TUIStringParam& p1);
    TUIString(const char* format, const TUIStringParam& p1, const TUIStringParam& p2);

    // The text as it reads now, cut to capacity - 1 characters and always terminated.
    void Format(char* out, int capacity) const;
    // The same as a new string.
    kString Get() const;
    const kString& GetFormat() const { return m_format; }

private:
    kString m_format;
    TUIStringParam m_params[kMaxParams];
    int m_numParams = 0;
};

template <>
struct kIsBitwiseMovable<TUIString> : std::true_type {};

} // namespace Kelvo_lib
