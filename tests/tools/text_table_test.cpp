// Text tables and the language files datatool makes of them: what a table may hold, both
// body forms loading to the same entries, which files the dump reads as language files,
// and the game's own UK English table.
#include "text/language_file_dump.h"
#include "text/text_table.h"

#include "temporary_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace datatool;

namespace {

TextTable ParseTable(const std::string& source) {
    TextTable table;
    std::string error;
    EXPECT_TRUE(ParseTextTable(source, &table, &error)) << error;
    return table;
}

// What the dump printed, and whether it succeeded.
std::pair<bool, std::string> Dump(const std::vector<unsigned char>& bytes) {
    FILE* out = std::tmpfile();
    const bool bDone = DumpLanguageFile(bytes, out);
    std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    text.resize(std::fread(text.data(), 1, text.size(), out));
    std::fclose(out);
    return {bDone, text};
}

// The dump without its line naming the body's form.
std::string Entries(const std::string& dump) {
    std::istringstream lines(dump);
    std::string line;
    std::string entries;
    while (std::getline(lines, line)) {
        if (line.rfind("body ", 0) != 0) {
            entries += line + "\n";
        }
    }
    return entries;
}

TEST(TextTable, FillsGapsAndConvertsToTheFontsCharacterSet) {
    const TextTable table = ParseTable("# comment\r\n"
                                       "language FRENCH\r\n"
                                       "\n"
                                       "3 Déjà vu\n"
                                       "0 Oui\n"
                                       "1\n"
                                       "2  two spaces\n");
    EXPECT_EQ(table.language, "FRENCH");
    EXPECT_EQ(table.texts, (std::vector<std::string>{"Oui", "", " two spaces", "D\xe9j\xe0 vu"}));
}

TEST(TextTable, RefusesBadLinesNamingThem) {
    const struct {
        const char* source;
        const char* error;
    } cases[] = {
        {"0 no language\n", "the table names no language"},
        {"language A\nlanguage B\n", "line 2: the language is named twice"},
        {"language ZZTOP\n", "line 1: a language name is one word"},
        {"language X\n1 a\n1 b\n", "line 3: text id 1 appears twice"},
        {"language X\n70000 big\n", "line 2: text id 70000 is above 65535"},
        {"language X\nfive words\n", "line 2: expected a text id"},
        {"language X\n5x\n", "line 2: expected a text id"},
        {"language X\n1 \xe2\x82\xac\n", "line 2: not UTF-8 for a character of ISO 8859-1"},
        {"language X\n1 a\rb\n", "line 2: a text may not hold"},
    };
    for (const auto& c : cases) {
        TextTable table;
        std::string error;
        EXPECT_FALSE(ParseTextTable(c.source, &table, &error)) << c.source;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
}

TEST(LanguageFile, PlainAndCompressedLoadToTheSameEntries) {
    const TextTable table = ParseTable("language ITALIAN\n0 Sì\n2 due parole\n3 a\\nb \"q\"\n");
    const auto [bPlain, plain] = Dump(WriteLanguageFile(table, false));
    const auto [bCompressed, compressed] = Dump(WriteLanguageFile(table, true));
    ASSERT_TRUE(bPlain && bCompressed);
    EXPECT_NE(plain, compressed);
    EXPECT_EQ(Entries(plain), Entries(compressed));
    EXPECT_EQ(Entries(plain), "language  ITALIAN\n"
                              "texts     4\n"
                              "0 \"Sì\"\n"
                              "1 \"\"\n"
                              "2 \"due parole\"\n"
                              "3 \"a\\nb \"q\"\"\n");
}

// The dump takes what the game's loader takes: any language name or none, carriage
// returns anywhere in the header; a sound file's binary header is not a language file.
TEST(LanguageFile, IsTheKindOfFileTheLoaderReads) {
    const std::vector<std::pair<std::string, bool>> files = {
        {"UK_ENGLISH\n1 \"one\"\n", true},
        {"KLINGON\n1 \"one\"\n", true},
        {"UK_EN\rGLISH\r\n1 \"one\"\r\n", true},
        {std::string("RIFF\x24\x08\0\0WAVEfmt \n", 17), false},
        {"", false},
    };
    for (const auto& [bytes, bLanguage] : files) {
        const test_support::TemporaryFile file(bytes);
        EXPECT_EQ(IsLanguageFile(file.Path()), bLanguage) << bytes;
    }
}

// A language file whose header was damaged is still the game's: the dump reads it by its
// name rather than calling it a sound file.
TEST(LanguageFile, ADamagedHeaderIsStillALanguageFileByItsName) {
    const TextTable table = ParseTable("language UK_ENGLISH\n1 one\n");
    std::vector<unsigned char> bytes = WriteLanguageFile(table, false);
    bytes[0] = 0x01;
    const std::string text(bytes.begin(), bytes.end());
    const test_support::TemporaryFile unnamed(text);
    EXPECT_FALSE(IsLanguageFile(unnamed.Path()));
    const std::string named = std::string(unnamed.Path()) + ".txz";
    std::ofstream(named, std::ios::binary) << text;
    EXPECT_TRUE(IsLanguageFile(named));
    std::remove(named.c_str());
    EXPECT_TRUE(Dump(bytes).first);
}

// The disc check reads 1,024 bytes at offset 128 of this file.
TEST(LanguageFile, GamesUkEnglishTableMakesADiscFileLargeEnoughForTheDiscCheck) {
    std::ifstream source(PUZZLES_TEXT_DIR "/uk_english.txt", std::ios::binary);
    ASSERT_TRUE(source);
    std::stringstream text;
    text << source.rdbuf();
    const TextTable table = ParseTable(text.str());
    EXPECT_EQ(table.language, "UK_ENGLISH");
    EXPECT_GE(WriteLanguageFile(table, false).size(), 1152u);
    const auto [bDone, dump] = Dump(WriteLanguageFile(table, true));
    EXPECT_TRUE(bDone);
    EXPECT_NE(dump.find("\n44 \"Tournament\"\n"), std::string::npos);
}

} // namespace
