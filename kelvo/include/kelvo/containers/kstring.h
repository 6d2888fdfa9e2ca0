// kString: the engine's text value type. A string owns its zero-terminated text,
// exactly size + 1 bytes from the tracked allocator (tag 1); every empty string
// shares one static empty text and owns nothing. A fixed string wraps text owned
// by its caller: creating, destroying, appending to or changing it asserts.
// Main thread only; operations never fail short of an assertion.
#pragma once

#include <kelvo/containers/kbitwisemovable.h>
#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/kmemory.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <type_traits>

namespace Kelvo_lib {

class kString {
public:
    kString() { create(0); }

    kString(const char* text) { CopyFrom(text, text == nullptr ? 0 : Length(text)); }

    kString(char c) {
        create(1);
        m_string[0] = c;
        m_string[1] = 0;
    }

    kString(const kString& other) { CopyFrom(other.m_string, other.m_size); }

    // A fixed string over zero-terminated caller storage; the storage stays the
    // caller's and the string refuses every change.
    static kString WrapFixed(char* text) { return kString(text, Length(text)); }

    ~kString() {
        if (!m_bFixed) {
            destroy();
        }
    }

    kString& operator=(const kString& other) {
        if (this != &other) {
            kString copy(other);
            TakeText(copy);
        }
        return *this;
    }

    // The text may lie inside this string's own text: it is copied before the old
    // text is freed.
    kString& operator=(const char* text) {
        kString copy(text);
        TakeText(copy);
        return *this;
    }

    kString operator+(const kString& other) const {
        kString sum;
        sum.create(m_size + other.m_size);
        sum.Fill(m_string, m_size, other.m_string, other.m_size);
        return sum;
    }

    // Appending always allocates a new text, also when both are empty.
    kString& operator+=(const kString& other) {
        kAssertMsg(!m_bFixed, "kString::operator+=: Cannot add a fixed string");
        kString sum;
        sum.m_string = Allocate(m_size + other.m_size);
        sum.m_size = m_size + other.m_size;
        sum.Fill(m_string, m_size, other.m_string, other.m_size);
        TakeText(sum);
        return *this;
    }

    // Equal texts, not equal addresses (which the conversion to const char* would compare).
    friend bool operator==(const kString& a, const kString& b) {
        return SameText(a, b.m_string, b.m_size);
    }
    friend bool operator==(const kString& a, const char* b) {
        return SameText(a, b, b == nullptr ? 0 : Length(b));
    }

    operator const char*() const { return m_string; }
    const char* CStr() const { return m_string; }
    s32 Size() const { return m_size; }
    char operator()(s32 i) const { return m_string[i]; }

    kString Left(s32 n) const { return SubStr(0, n); }
    kString Right(s32 n) const { return SubStr(m_size - (n < 0 ? 0 : n), m_size); }

    // Characters from start to end (exclusive), both clamped to 0 ... Size().
    kString SubStr(s32 start, s32 end) const {
        start = Clamp(start);
        end = Clamp(end);
        kString part;
        if (end > start) {
            part.CopyFrom(m_string + start, end - start);
        }
        return part;
    }
    kString SubStr(s32 start) const { return SubStr(start, m_size); }

    void ToUpper() {
        kAssertMsg(!m_bFixed, "kString::ToUpper: Cannot change a fixed string");
        for (s32 i = 0; i < m_size; ++i) {
            if (m_string[i] >= 'a' && m_string[i] <= 'z') {
                m_string[i] = static_cast<char>(m_string[i] - 'a' + 'A');
            }
        }
    }

    // Replaces the text with the formatted one, cut at 1,023 characters.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        char buffer[1024];
        va_list args;
        va_start(args, format);
        std::vsnprintf(buffer, sizeof buffer, format, args);
        va_end(args);
        *this = static_cast<const char*>(buffer);
    }

private:
    kString(char* text, s32 size) : m_bFixed(true), m_string(text), m_size(size) {}

    static bool SameText(const kString& a, const char* text, s32 size) {
        return a.m_size == size &&
               (size == 0 || std::memcmp(a.m_string, text, static_cast<std::size_t>(size)) == 0);
    }

    static s32 Length(const char* text) { return static_cast<s32>(std::strlen(text)); }

    static char* Allocate(s32 size) {
        return static_cast<char*>(
            kPlatform_ReleaseAlloc(K_MEM_TAG_OBJECT, static_cast<u32>(size) + 1));
    }

    s32 Clamp(s32 index) const { return index < 0 ? 0 : (index > m_size ? m_size : index); }

    void create(s32 size) {
        kAssertMsg(!m_bFixed, "kString::create: Cannot create a fixed string");
        m_string = size == 0 ? s_emptyText : Allocate(size);
        m_size = size;
    }

    void destroy() {
        kAssertMsg(!m_bFixed, "kString::destroy: Cannot destroy a fixed string");
        if (m_string != s_emptyText) {
            kPlatform_ReleaseFree(m_string);
        }
        m_string = nullptr;
        m_size = 0;
    }

    void CopyFrom(const char* text, s32 size) {
        create(size);
        Fill(text, size, "", 0);
    }

    // Writes first then second into the text, which holds their sum, and terminates it.
    void Fill(const char* first, s32 firstSize, const char* second, s32 secondSize) {
        if (m_string == s_emptyText) {
            return;
        }
        std::memcpy(m_string, first, static_cast<std::size_t>(firstSize));
        std::memcpy(m_string + firstSize, second, static_cast<std::size_t>(secondSize));
        m_string[firstSize + secondSize] = 0;
    }

    // Frees this text and takes over source's, leaving source empty.
    void TakeText(kString& source) {
        destroy();
        m_string = source.m_string;
        m_size = source.m_size;
        source.m_string = s_emptyText;
        source.m_size = 0;
    }

    inline static char s_emptyText[1] = {0};

    bool m_bFixed = false;
    char* m_string = nullptr;
    s32 m_size = 0;
};

// The text lives in its own block (or the static empty text), never inside the object.
template <>
struct kIsBitwiseMovable<kString> : std::true_type {};

} // namespace Kelvo_lib
