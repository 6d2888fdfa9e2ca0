// Language files: the header line, the (optionally inflated) body read into one buffer, and
// the entries cut and unescaped in place. Every pointer handed out points into that buffer
// or at a literal.
#include <framework/ktext.h>

#include "ksystemmessages.h"

#include <kelvo/io/kendian.h>
#include <kelvo/io/kzipiostream.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

namespace Kelvo_lib {

namespace {

constexpr const char* kLogSystem = "kText";
constexpr const char* kNotLoadedText = "SCRIPT NOT LOADED";
constexpr const char* kInvalidIdText = "INVALID SCRIPT ID";
constexpr unsigned int kZipBufferSize = 2048;
// Longer header lines are read to their end but name no language.
constexpr int kHeaderCapacity = 64;

const char* const s_languageNames[KTEXT_NUM_LANGUAGES] = {
    "NONE",   "UK_ENGLISH", "US_ENGLISH", "CANADIAN_ENGLISH", "FRENCH", "ITALIAN",
    "GERMAN", "SPANISH",    "DUTCH",
};

kArray<const char*> s_textList;
kArray<const char*> s_idList;
kArray<int> s_supportedLanguages;
char* s_textData = nullptr;
bool s_bLoaded = false;
int s_language = KTEXT_NONE;

void FreeTexts() {
    if (s_textData != nullptr) {
        kPlatform_ReleaseFree(s_textData);
        s_textData = nullptr;
    }
    s_textList.Empty();
    s_idList.Empty();
    s_bLoaded = false;
}

// Reads up to and including the first LF (or the end of the stream), skipping every CR;
// keeps the first kHeaderCapacity - 1 characters.
void ReadHeaderLine(kIOStreamSeekable* stream, char (&line)[kHeaderCapacity]) {
    int length = 0;
    char byte = 0;
    while (stream->Read(&byte, 1) == 1 && byte != '\n') {
        if (byte != '\r' && length < kHeaderCapacity - 1) {
            line[length++] = byte;
        }
    }
    line[length] = 0;
}

char LowerCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(const char* a, const char* b) {
    for (; *a != 0 && LowerCase(*a) == LowerCase(*b); ++a, ++b) {
    }
    return LowerCase(*a) == LowerCase(*b);
}

int LanguageOfName(const char* name) {
    for (int language = 0; language < KTEXT_NUM_LANGUAGES; ++language) {
        if (SameIgnoringCase(name, s_languageNames[language])) {
            return language;
        }
    }
    return KTEXT_NONE;
}

bool BodySizeAllowed(unsigned int size) {
    if (size <= kText::kMaxBodySize) {
        return true;
    }
    kLogSys(kLogSystem, "kText::Load: body of %u bytes is over the limit of %u\n", size,
            kText::kMaxBodySize);
    return false;
}

// A buffer of size + 1 bytes filled from source and terminated after the bytes it gave.
char* ReadBuffer(kIOStream* source, unsigned int size) {
    char* buffer = static_cast<char*>(kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, size + 1));
    const unsigned int got = size == 0 ? 0 : source->Read(buffer, size);
    if (got < size) {
        kLogSys(kLogSystem, "kText::Load: body ends after %u of %u bytes\n", got, size);
    }
    buffer[got] = 0;
    return buffer;
}

// The body after the header, terminated; null when its size is refused.
char* ReadBody(kIOStreamSeekable* stream, bool bCompressed) {
    if (!bCompressed) {
        const unsigned int length = stream->Length();
        const unsigned int position = stream->Tell();
        const unsigned int size = position <= length ? length - position : 0;
        return BodySizeAllowed(size) ? ReadBuffer(stream, size) : nullptr;
    }
    unsigned int storedSize = 0;
    if (stream->Read(&storedSize, 4) != 4) {
        kLogSys(kLogSystem, "kText::Load: compressed body without its size\n");
        return nullptr;
    }
    const unsigned int size = kEndian::Little32(storedSize);
    if (!BodySizeAllowed(size)) {
        return nullptr;
    }
    kZipIOStream zip(stream, K_IO_ACCESS_READ, kZipBufferSize);
    return ReadBuffer(&zip, size);
}

int CountLineEnds(const char* body) {
    int count = 0;
    for (const char* p = body; *p != 0; ++p) {
        count += *p == '\r' ? 1 : 0;
    }
    return count;
}

// One entry cut in place: text is null when the entry has none.
struct Entry {
    char* id;
    char* text;
};

// Cuts the entry at p in place into its ID word and its text (which starts two bytes after
// the first space and loses the byte before the line end); returns the next entry. A text
// that would start past its line end is missing, and nothing is written outside the entry.
char* CutEntry(char* p, Entry* entry) {
    entry->id = p;
    entry->text = nullptr;
    char* space = nullptr;
    char* stop = p;
    for (; *stop != '\r' && *stop != 0; ++stop) {
        if (*stop == ' ' && space == nullptr) {
            space = stop;
        }
    }
    const bool bLineEnd = *stop == '\r';
    if (stop > p) {
        stop[-1] = 0;
    }
    if (space != nullptr) {
        *space = 0;
        if (stop - space >= 3) {
            entry->text = space + 2;
        }
    }
    if (bLineEnd) {
        ++stop;
        stop += *stop == '\n' ? 1 : 0;
    }
    return stop;
}

// Turns each backslash followed by n into one newline, in place.
void UnescapeNewlines(char* text) {
    const char* read = text;
    char* write = text;
    while (*read != 0) {
        if (read[0] == '\\' && read[1] == 'n') {
            *write++ = '\n';
            read += 2;
        } else {
            *write++ = *read++;
        }
    }
    *write = 0;
}

bool ParseEntries(char* body) {
    const int count = CountLineEnds(body);
    if (count > kText::kMaxEntries) {
        kLogSys(kLogSystem, "kText::Load: %d entries, more than %d\n", count, kText::kMaxEntries);
        return false;
    }
    s_textList.SetSize(count);
    s_idList.SetSize(count);
    char* p = body;
    for (int i = 0; i < count; ++i) {
        Entry entry;
        p = CutEntry(p, &entry);
        if (entry.text != nullptr) {
            UnescapeNewlines(entry.text);
        }
        s_idList(i) = entry.id;
        s_textList(i) = entry.text != nullptr ? entry.text : "";
    }
    return true;
}

} // namespace

void kText::Reset() {
    kLogFmt("kText::Reset\n");
    FreeTexts();
    s_supportedLanguages.Empty();
}

bool kText::Load(kIOStreamSeekable* inStream) {
    FreeTexts();
    if (inStream == nullptr) {
        kLogSys(kLogSystem, "kText::Load: no stream\n");
        return false;
    }
    char line[kHeaderCapacity];
    ReadHeaderLine(inStream, line);
    const bool bCompressed = line[0] == 'Z' && line[1] == 'Z';
    s_language = LanguageOfName(bCompressed ? line + 2 : line);
    kLogFmt("kText::Load: Language set to %s\n", s_languageNames[s_language]);

    char* body = ReadBody(inStream, bCompressed);
    if (body == nullptr) {
        return false;
    }
    if (!ParseEntries(body)) {
        kPlatform_ReleaseFree(body);
        s_textList.Empty();
        s_idList.Empty();
        return false;
    }
    s_textData = body;
    s_bLoaded = true;
    return true;
}

const char* kText::Text(int id) {
    if (!s_bLoaded) {
        return kNotLoadedText;
    }
    return id >= 0 && id < s_textList.Size() ? s_textList(id) : kInvalidIdText;
}

const char* kText::TextId(int id) {
    return s_bLoaded && id >= 0 && id < s_idList.Size() ? s_idList(id) : nullptr;
}

int kText::NumTexts() {
    return s_textList.Size();
}

const char* kText::SystemText(int scriptId, int language, ...) {
    return kSystemMessages::Text(scriptId, language);
}

void kText::SetSupportedLanguages(kArray<int> languageIdList) {
    s_supportedLanguages = languageIdList;
}

kArray<int> kText::GetSupportedLanguages() {
    return s_supportedLanguages;
}

void kText::SetLanguage(int language) {
    if (language >= KTEXT_UK_ENGLISH && language <= KTEXT_DUTCH) {
        s_language = language;
    }
}

int kText::GetLanguage() {
    return s_language;
}

const char* kText::LanguageName(int language) {
    return language >= 0 && language < KTEXT_NUM_LANGUAGES ? s_languageNames[language] : "";
}

} // namespace Kelvo_lib
