// Text tables parsed from their readable source, and written as language files.
#include "text_table.h"

#include <framework/ktextwriter.h>

#include <kelvo/io/kmemoryiostream.h>

#include <sstream>
#include <string_view>

namespace datatool {
namespace {

constexpr unsigned long kMaxTextId = 65535;
constexpr size_t kMaxIdDigits = 5;
constexpr std::string_view kLanguageKeyword = "language ";

// One line of the table, with where to say what is wrong with it.
class TableLine {
public:
    TableLine(int number, std::string* error) : m_number(number), m_error(error) {}

    bool Fail(const std::string& message) const {
        *m_error = "line " + std::to_string(m_number) + ": " + message;
        return false;
    }

private:
    int m_number;
    std::string* m_error;
};

// UTF-8 to ISO 8859-1; refuses what the game's fonts cannot show or the file cannot hold.
bool ToLatin1(const std::string& utf8, const TableLine& line, std::string* latin1) {
    latin1->clear();
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c == '\0' || c == '\r') {
            return line.Fail("a text may not hold a zero byte or a carriage return");
        }
        if (c < 0x80) {
            latin1->push_back(static_cast<char>(c));
            continue;
        }
        const unsigned char next =
            i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if ((c != 0xC2 && c != 0xC3) || (next & 0xC0) != 0x80) {
            return line.Fail("not UTF-8 for a character of ISO 8859-1");
        }
        latin1->push_back(static_cast<char>(((c & 0x03) << 6) | (next & 0x3F)));
        ++i;
    }
    return true;
}

bool ParseLanguage(const std::string& name, const TableLine& line, TextTable* table) {
    if (!table->language.empty()) {
        return line.Fail("the language is named twice");
    }
    if (name.empty() || name.find(' ') != std::string::npos || name.rfind("ZZ", 0) == 0) {
        return line.Fail("a language name is one word, not starting with ZZ");
    }
    return ToLatin1(name, line, &table->language);
}

bool ParseEntry(const std::string& text, const TableLine& line, TextTable* table,
                std::vector<bool>* seen) {
    const size_t digits = text.find_first_not_of("0123456789");
    if (digits == 0 || (digits != std::string::npos && text[digits] != ' ')) {
        return line.Fail("expected a text id, a space and the text");
    }
    const std::string number = text.substr(0, digits);
    if (number.size() > kMaxIdDigits || std::stoul(number) > kMaxTextId) {
        return line.Fail("text id " + number + " is above " + std::to_string(kMaxTextId));
    }
    const size_t id = std::stoul(number);
    if (id >= table->texts.size()) {
        table->texts.resize(id + 1);
        seen->resize(id + 1);
    }
    if ((*seen)[id]) {
        return line.Fail("text id " + number + " appears twice");
    }
    (*seen)[id] = true;
    const std::string body = digits == std::string::npos ? "" : text.substr(digits + 1);
    return ToLatin1(body, line, &table->texts[id]);
}

Kelvo_lib::kArray<Kelvo_lib::kString> EngineTexts(const std::vector<std::string>& texts) {
    Kelvo_lib::kArray<Kelvo_lib::kString> engineTexts;
    for (const std::string& text : texts) {
        engineTexts.Push(Kelvo_lib::kString(text.c_str()));
    }
    return engineTexts;
}

} // namespace

bool ParseTextTable(const std::string& source, TextTable* table, std::string* error) {
    *table = TextTable{};
    std::vector<bool> seen;
    std::istringstream lines(source);
    std::string text;
    for (int number = 1; std::getline(lines, text); ++number) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        const TableLine line(number, error);
        if (text.empty() || text[0] == '#') {
            continue;
        }
        const bool bParsed = text.rfind(kLanguageKeyword, 0) == 0
                                 ? ParseLanguage(text.substr(kLanguageKeyword.size()), line, table)
                                 : ParseEntry(text, line, table, &seen);
        if (!bParsed) {
            return false;
        }
    }
    if (table->language.empty()) {
        *error = "the table names no language (a line \"language NAME\")";
        return false;
    }
    return true;
}

std::vector<unsigned char> WriteLanguageFile(const TextTable& table, bool bCompressed) {
    const Kelvo_lib::kArray<Kelvo_lib::kString> texts = EngineTexts(table.texts);
    std::vector<unsigned char> file(Kelvo_lib::kText_FileSizeBound(table.language.c_str(), texts));
    Kelvo_lib::kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()),
                                      K_IO_ACCESS_WRITE);
    if (!Kelvo_lib::kText_WriteFile(table.language.c_str(), texts, bCompressed, &stream)) {
        return {};
    }
    file.resize(stream.Tell());
    return file;
}

} // namespace datatool
