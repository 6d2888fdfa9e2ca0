// List files checked line by line: the bytes first (text), then the entry the format
// makes of the line.
#include "list_file.h"

#include "host_files.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace datatool {
namespace {

bool IsLowerCaseWord(std::string_view word) {
    return !word.empty() &&
           std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view BeforeComment(std::string_view line) {
    return Trimmed(line.substr(0, line.find('#')));
}

// The text with each byte outside printable ASCII as \xNN, for a message.
std::string Shown(std::string_view text) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\x%02x", byte);
            shown += escape;
        }
    }
    return shown;
}

// The length of the UTF-8 sequence that starts at the byte, 0 when none does.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                                                             : 0;
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = at + 1; i < at + length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

// Why the line is not text: a NUL or other control byte, or bytes that are not UTF-8.
std::string TextFault(std::string_view line) {
    for (std::size_t at = 0; at < line.size();) {
        const auto byte = static_cast<unsigned char>(line[at]);
        char fault[64] = {};
        if (byte == 0) {
            std::snprintf(fault, sizeof(fault), "a NUL byte: not a text file");
        } else if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
            std::snprintf(fault, sizeof(fault), "a control byte 0x%02x: not a text file", byte);
        } else if (Utf8Length(line, at) == 0) {
            std::snprintf(fault, sizeof(fault), "a byte 0x%02x that is not UTF-8 text", byte);
        }
        if (fault[0] != 0) {
            return fault;
        }
        at += Utf8Length(line, at);
    }
    return {};
}

// "word", "stem*", "*part*", "=word", "!word" or "word: sense".
bool IsWordRule(std::string_view entry) {
    const std::size_t colon = entry.find(':');
    if (colon != std::string_view::npos) {
        return IsLowerCaseWord(Trimmed(entry.substr(0, colon))) &&
               !Trimmed(entry.substr(colon + 1)).empty();
    }
    if (entry.front() == '!' || entry.front() == '=') {
        return IsLowerCaseWord(entry.substr(1));
    }
    if (entry.size() > 2 && entry.front() == '*' && entry.back() == '*') {
        return IsLowerCaseWord(entry.substr(1, entry.size() - 2));
    }
    return IsLowerCaseWord(entry.back() == '*' ? entry.substr(0, entry.size() - 1) : entry);
}

bool IsSpellingPair(std::string_view entry) {
    const auto blank = std::find_if(entry.begin(), entry.end(), IsBlank);
    const std::size_t split = static_cast<std::size_t>(blank - entry.begin());
    return IsLowerCaseWord(entry.substr(0, split)) && IsLowerCaseWord(Trimmed(entry.substr(split)));
}

bool AnyClueLine(std::string_view) {
    return true;
}

// Letters of any alphabet (a UTF-8 sequence stands for one), apostrophes and hyphens, with
// a letter among them.
bool IsDictionaryWord(std::string_view entry) {
    const auto isLetter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c & 0x80) != 0;
    };
    return std::any_of(entry.begin(), entry.end(), isLetter) &&
           std::all_of(entry.begin(), entry.end(),
                       [&](char c) { return isLetter(c) || c == '\'' || c == '-'; });
}

std::string_view ClueEntry(std::string_view line) {
    return line.starts_with('#') ? std::string_view() : line;
}

struct FormatRules {
    std::string_view (*entry)(std::string_view line); // empty for a line without one
    bool (*fits)(std::string_view entry);
    const char* expected;
};

FormatRules RulesOf(ListFormat format) {
    switch (format) {
    case ListFormat::kWordRules:
        return {BeforeComment, IsWordRule,
                "a lower-case word, stem*, *part*, =word, !word or 'word: sense'"};
    case ListFormat::kSpellings:
        return {BeforeComment, IsSpellingPair,
                "a US spelling and its British one, two lower-case words"};
    case ListFormat::kClues:
        return {ClueEntry, AnyClueLine, "an answer and its clues"};
    case ListFormat::kDictionary:
        break;
    }
    return {Trimmed, IsDictionaryWord, "a word (letters, apostrophes and hyphens)"};
}

} // namespace

std::string ListFault(std::string_view text, std::string_view source, ListFormat format) {
    const FormatRules rules = RulesOf(format);
    bool bAnyEntry = false;
    int number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        const auto at = [&] { return std::string(source) + ":" + std::to_string(number) + ": "; };
        if (std::string fault = TextFault(line); !fault.empty()) {
            return at() + fault;
        }
        const std::string_view entry = rules.entry(line);
        if (!entry.empty() && !rules.fits(entry)) {
            return at() + "'" + Shown(entry) + "' is not " + rules.expected;
        }
        bAnyEntry = bAnyEntry || !entry.empty();
    }
    if (!bAnyEntry) {
        return std::string(source) + ": no entries; each line should give " + rules.expected;
    }
    return {};
}

std::optional<std::string> ReadListFile(const std::string& path, ListFormat format,
                                        std::string& error) {
    error = InputFileFault(path);
    if (!error.empty()) {
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file.is_open() || file.bad()) {
        error = "cannot read '" + path + "'";
        return std::nullopt;
    }
    error = ListFault(text, path, format);
    if (!error.empty()) {
        return std::nullopt;
    }
    return text;
}

} // namespace datatool
