// Language files (".txz") from readable text tables. A table is UTF-8 text: '#' starts a
// comment line, "language NAME" names the language once, and every other line is a text
// id, one space and the text (ids 0 to 65,535, each once, in any order). The file holds
// one entry per id from 0 to the highest, an empty text where the table has none, with
// the texts in ISO 8859-1, the game's character set. Pure functions; a bad table gives
// false and a message naming its line.
#pragma once

#include <string>
#include <vector>

namespace datatool {

struct LanguageTable {
    std::string language;
    std::vector<std::string> texts; // by text id, ISO 8859-1
};

bool ParseTextTable(const std::string& source, LanguageTable* table, std::string* error);

// The whole file: the header line, then the body as is or, compressed, after "ZZ" in the
// header as a little-endian 32-bit size and a zlib stream.
std::string WriteLanguageFile(const LanguageTable& table, bool bCompressed);

} // namespace datatool
