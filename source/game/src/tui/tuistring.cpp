// Formatting of menu texts: the format is walked here, one conversion at a time, so that
// a format from a language file can never read a value of the wrong kind.
#include <tui/tuistring.h>

#include <kelvo/platform/klog.h>

#include <cstdio>
#include <cstring>

namespace Kelvo_lib {

namespace {

// Writes into a bounded buffer and keeps it terminated.
class TextSink {
public:
    TextSink(char* out, int capacity) : m_out(out), m_capacity(capacity) { m_out[0] = 0; }

    void Put(const char* text, int length) {
        const int room = m_capacity - 1 - m_length;
        const int count = length < room ? length : room;
        if (count > 0) {
            std::memcpy(m_out + m_length, text, static_cast<size_t>(count));
            m_length += count;
            m_out[m_length] = 0;
        }
    }
    void Put(const char* text) { Put(text, static_cast<int>(std::strlen(text))); }

private:
    char* m_out;
    int m_capacity;
    int m_length = 0;
};

// One conversion of a format: "%", flags, width and precision, its letter.
struct Conversion {
    char spec[16];
    char letter;
    const char* end; // the character after the conversion
};

bool IsSpecCharacter(char c) {
    return c != 0 && std::strchr("-+ #0123456789.hlzjt", c) != nullptr;
}

// Reads the conversion at format (which points at '%'); false when the format ends
// inside it or its flags do not fit the conversion buffer.
bool ReadConversion(const char* format, Conversion* conversion) {
    const char* p = format + 1;
    int length = 0;
    conversion->spec[length++] = '%';
    while (IsSpecCharacter(*p)) {
        // Length modifiers are dropped: every number is printed as an int.
        if (std::strchr("hlzjt", *p) == nullptr) {
            if (length >= static_cast<int>(sizeof(conversion->spec)) - 2) {
                return false;
            }
            conversion->spec[length++] = *p;
        }
        ++p;
    }
    if (*p == 0) {
        return false;
    }
    conversion->letter = *p;
    conversion->spec[length++] = *p;
    conversion->spec[length] = 0;
    conversion->end = p + 1;
    return true;
}

bool IsNumberLetter(char c) {
    return c != 0 && std::strchr("diuxXoc", c) != nullptr;
}

void PutConversion(TextSink& sink, const Conversion& conversion, const TUIStringParam* param,
                   const char* format) {
    char piece[TUIString::kMaxLength];
    if (param == nullptr) {
        kLogFmt("TUIString: no value for '%s' in \"%s\"\n", conversion.spec, format);
        return;
    }
    if (conversion.letter == 's') {
        if (param->IsNumber()) {
            char number[16];
            std::snprintf(number, sizeof(number), "%d", param->GetNumber());
            std::snprintf(piece, sizeof(piece), conversion.spec, number);
        } else {
            std::snprintf(piece, sizeof(piece), conversion.spec, param->GetText());
        }
    } else if (IsNumberLetter(conversion.letter) && param->IsNumber()) {
        std::snprintf(piece, sizeof(piece), conversion.spec, param->GetNumber());
    } else {
        kLogFmt("TUIString: '%s' does not fit its value in \"%s\"\n", conversion.spec, format);
        return;
    }
    sink.Put(piece);
}

} // namespace

TUIStringParam TUIStringParam::CreateLiteral(int value) {
    TUIStringParam param;
    param.m_kind = LITERAL;
    param.m_literal = value;
    return param;
}

int TUIStringParam::GetNumber() const {
    if (m_kind == LITERAL) {
        return m_literal;
    }
    return m_kind == INT_POINTER && m_intPointer != nullptr ? *m_intPointer : 0;
}

const char* TUIStringParam::GetText() const {
    const char* text = nullptr;
    if (m_kind == TEXT) {
        text = m_text;
    } else if (m_kind == TEXT_POINTER && m_textPointer != nullptr) {
        text = *m_textPointer;
    }
    return text != nullptr ? text : "";
}

TUIString::TUIString(const char* format, const TUIStringParam& p1)
    : m_format(format), m_numParams(1) {
    m_params[0] = p1;
}

TUIString::TUIString(const char* format, const TUIStringParam& p1, const TUIStringParam& p2)
    : m_format(format), m_numParams(2) {
    m_params[0] = p1;
    m_params[1] = p2;
}

void TUIString::Format(char* out, int capacity) const {
    if (out == nullptr || capacity <= 0) {
        return;
    }
    TextSink sink(out, capacity);
    const char* format = m_format;
    int nextParam = 0;
    const char* p = format;
    while (*p != 0) {
        const char* percent = std::strchr(p, '%');
        if (percent == nullptr) {
            sink.Put(p);
            break;
        }
        sink.Put(p, static_cast<int>(percent - p));
        if (percent[1] == '%') {
            sink.Put("%", 1);
            p = percent + 2;
            continue;
        }
        Conversion conversion;
        if (!ReadConversion(percent, &conversion)) {
            kLogFmt("TUIString: broken conversion in \"%s\"\n", format);
            break;
        }
        const TUIStringParam* param = nextParam < m_numParams ? &m_params[nextParam] : nullptr;
        ++nextParam;
        PutConversion(sink, conversion, param, format);
        p = conversion.end;
    }
}

kString TUIString::Get() const {
    char text[kMaxLength];
    Format(text, sizeof(text));
    return kString(text);
}

} // namespace Kelvo_lib
