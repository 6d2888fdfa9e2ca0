// kText: the one store of user-visible text. It holds the texts of one language file at a
// time, parsed in place in one buffer that it owns, looked up by text id; and a built-in
// table of system messages in every language, needing no file. Static service, main
// thread only. A language file that cannot be loaded is logged and leaves no texts; Text
// and SystemText never fail (they answer with a stand-in text instead).
#pragma once

#include <kelvo/containers/karray.h>
#include <kelvo/io/kiostream.h>

namespace Kelvo_lib {

enum kTextLanguage {
    KTEXT_NONE = 0,
    KTEXT_UK_ENGLISH = 1,
    KTEXT_US_ENGLISH = 2,
    KTEXT_CANADIAN_ENGLISH = 3,
    KTEXT_FRENCH = 4,
    KTEXT_ITALIAN = 5,
    KTEXT_GERMAN = 6,
    KTEXT_SPANISH = 7,
    KTEXT_DUTCH = 8,
    KTEXT_NUM_LANGUAGES = 9,
};

// Language file (".txz"): a header line ending in LF (CR skipped) naming the language,
// "ZZ" before the name when the body is compressed (then a little-endian 32-bit body size
// and a zlib stream); the body is one entry per line, `ID "text"` ended by CR LF, entry i
// having text id i. Inside a text, a backslash and n stand for a newline.
class kText {
public:
    static constexpr unsigned int kMaxBodySize = 4u * 1024u * 1024u;
    static constexpr int kMaxEntries = 65536;
    static constexpr int kNumSystemMessages = 145;

    // Forgets the texts and the supported languages.
    static void Reset();
    // Replaces the texts with those of the language file at the stream's position and sets
    // the language its header names (NONE when none). False, with nothing loaded, for a
    // body that is too large or cannot be read.
    static bool Load(kIOStreamSeekable* inStream);

    // Valid until the next Load or Reset. "SCRIPT NOT LOADED" while nothing is loaded,
    // "INVALID SCRIPT ID" for an id without an entry, "" for an entry without a text.
    static const char* Text(int id);
    // The ID word of entry id, or null when there is no such entry.
    static const char* TextId(int id);
    static int NumTexts();

    // The built-in message id in that language; placeholders in it stay as they are and
    // further arguments are ignored. "" for an id or a language outside the table.
    static const char* SystemText(int scriptId, int language, ...);

    static void SetSupportedLanguages(kArray<int> languageIdList);
    static kArray<int> GetSupportedLanguages();

    // Values outside UK_ENGLISH to DUTCH are ignored.
    static void SetLanguage(int language);
    static int GetLanguage();
    // "NONE", "UK_ENGLISH", ...; "" for a value outside the table.
    static const char* LanguageName(int language);
};

} // namespace Kelvo_lib
