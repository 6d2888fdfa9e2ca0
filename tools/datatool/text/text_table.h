// Readable text tables, the source of language files, and the language file made from one
// by the game's own writer. A table is UTF-8 text: '#' starts a
// comment line, "language NAME" names the language once, and every other line is a text
// id, one space and the text (ids 0 to 65,535, each once, in any order). The result holds
// one text per id from 0 to the highest, empty where the table has none, converted to
// ISO 8859-1, the game's character set. A bad table gives false and a message naming its
// line.
#pragma once

#include <string>
#include <vector>

namespace datatool {

struct TextTable {
    std::string language;
    std::vector<std::string> texts; // by text id, ISO 8859-1
};

bool ParseTextTable(const std::string& source, TextTable* table, std::string* error);

// The language file of the table, its body plain or compressed; empty when the game's
// writer refuses the table (it says why in the log).
std::vector<unsigned char> WriteLanguageFile(const TextTable& table, bool bCompressed);

} // namespace datatool
