// Language files: header forms, entry cutting and escapes, the faults a damaged or hostile
// file must not turn into writes outside the buffer (empty entries, missing separators,
// lying or wrapping sizes, short or corrupt zlib bodies), and the system message table.
#include <framework/ktext.h>

#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/platform/kmemory.h>

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Kelvo_lib::kArray;
using Kelvo_lib::kMemoryIOStream;
using Kelvo_lib::kText;

bool LoadBytes(std::string bytes, unsigned int skip = 0) {
    kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()), K_IO_ACCESS_READ);
    stream.Seek(static_cast<int>(skip), K_IO_SEEK_SET);
    return kText::Load(&stream);
}

std::string LittleEndian32(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::string Deflate(const std::string& body) {
    uLongf size = compressBound(body.size());
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(body.data()), body.size(), 9);
    out.resize(size);
    return out;
}

// A file whose header is "ZZ" + name, stating statedSize for the deflated body.
std::string CompressedFile(const std::string& name, const std::string& body,
                           std::uint32_t statedSize) {
    return "ZZ" + name + "\r\n" + LittleEndian32(statedSize) + Deflate(body);
}

std::string CompressedFile(const std::string& name, const std::string& body) {
    return CompressedFile(name, body, static_cast<std::uint32_t>(body.size()));
}

std::vector<std::string> LoadedTexts() {
    std::vector<std::string> texts;
    for (int id = 0; id < kText::NumTexts(); ++id) {
        texts.emplace_back(kText::Text(id));
    }
    return texts;
}

class TextTest : public ::testing::Test {
protected:
    void SetUp() override { kText::Reset(); }
    void TearDown() override { kText::Reset(); }
};

struct HeaderCase {
    const char* name;
    std::string file;
    int language;
};

class TextHeaderTest : public TextTest, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(TextHeaderTest, NamesTheLanguageAndKeepsTheBody) {
    ASSERT_TRUE(LoadBytes(GetParam().file));
    EXPECT_EQ(kText::GetLanguage(), GetParam().language);
    EXPECT_EQ(LoadedTexts(), (std::vector<std::string>{"hello"}));
}

const std::string kBody = "HELLO \"hello\"\r\n";

INSTANTIATE_TEST_SUITE_P(
    Headers, TextHeaderTest,
    ::testing::Values(HeaderCase{"LowerZIsNotCompressed", "zzuk_english\n" + kBody, 0},
                      HeaderCase{"UpperZIsCompressed", CompressedFile("uk_english", kBody), 1},
                      HeaderCase{"CarriageReturnSkipped", "UK_ENGLISH\r\n" + kBody, 1},
                      HeaderCase{"CarriageReturnInsideName", "FRE\rNCH\n" + kBody, 4},
                      HeaderCase{"NameIgnoresCase", "cAnAdIaN_eNgLiSh\n" + kBody, 3},
                      HeaderCase{"UnknownName", "KLINGON\n" + kBody, 0},
                      HeaderCase{"OverlongName", std::string(5000, 'D') + "\n" + kBody, 0}),
    [](const ::testing::TestParamInfo<HeaderCase>& info) { return info.param.name; });

TEST_F(TextTest, CutsEntriesAtTheirQuotesAndKeepsLaterSpaces) {
    ASSERT_TRUE(LoadBytes("DUTCH\nFIRST \"one\"\r\nSECOND \"two words\"\r\ntail"));
    EXPECT_EQ(kText::GetLanguage(), 8);
    EXPECT_EQ(LoadedTexts(), (std::vector<std::string>{"one", "two words"}));
    EXPECT_STREQ(kText::TextId(1), "SECOND");
    EXPECT_STREQ(kText::Text(2), "INVALID SCRIPT ID");
    EXPECT_STREQ(kText::Text(-1), "INVALID SCRIPT ID");
    EXPECT_EQ(kText::TextId(2), nullptr);
}

TEST_F(TextTest, BackslashAndNIsTheOnlyEscape) {
    ASSERT_TRUE(LoadBytes("UK_ENGLISH\n"
                          "A \"one\\ntwo\"\r\n"
                          "B \"\\\\n\"\r\n"
                          "C \"\\t\\\"\\\"\r\n"
                          "D \"\\n\\n\"\r\n"));
    EXPECT_EQ(LoadedTexts(), (std::vector<std::string>{"one\ntwo", "\\\n", "\\t\\\"\\", "\n\n"}));
}

TEST_F(TextTest, ReadsFromTheStreamsPosition) {
    ASSERT_TRUE(LoadBytes("junkUK_ENGLISH\n" + kBody, 4));
    EXPECT_EQ(kText::GetLanguage(), 1);
    EXPECT_EQ(LoadedTexts(), (std::vector<std::string>{"hello"}));
}

TEST_F(TextTest, BodyWithoutLineEndHasNoEntries) {
    ASSERT_TRUE(LoadBytes("UK_ENGLISH\nA \"a\"\n"));
    EXPECT_EQ(kText::NumTexts(), 0);
    EXPECT_STREQ(kText::Text(0), "INVALID SCRIPT ID");
}

TEST_F(TextTest, AnswersStandInsWhileNothingIsLoaded) {
    EXPECT_STREQ(kText::Text(0), "SCRIPT NOT LOADED");
    ASSERT_TRUE(LoadBytes("UK_ENGLISH\n" + kBody));
    kText::Reset();
    EXPECT_STREQ(kText::Text(0), "SCRIPT NOT LOADED");
    EXPECT_FALSE(kText::Load(nullptr));
}

// Malformed entries give empty texts and leave their neighbours intact.
TEST_F(TextTest, MalformedEntriesAreEmptyAndStayInside) {
    const struct {
        const char* body;
        std::vector<std::string> texts;
    } cases[] = {
        {"\r\nB \"b\"\r\n", {"", "b"}},                 // empty first entry
        {"NOSEPARATOR\r\nB \"b\"\r\n", {"", "b"}},      // no space
        {"A \r\nB \"b\"\r\n", {"", "b"}},               // space right before the line end
        {"A \"\r\nB \"b\"\r\n", {"", "b"}},             // one quote only
        {"A \"\"\r\n", {""}},                           // empty text
        {"\r\r\r", {"", "", ""}},                       // bare line ends
        {"A \"x\"\rB \"y\"\r\n", {"x", "y"}},           // CR without LF
        {"A \"x\"\r\n\r\nC \"z\"\r\n", {"x", "", "z"}}, // empty line in the middle
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        ASSERT_TRUE(LoadBytes(std::string("UK_ENGLISH\n") + c.body));
        EXPECT_EQ(LoadedTexts(), c.texts);
    }
}

TEST_F(TextTest, RefusesCompressedSizesThatWrapOrAreTooLarge) {
    for (std::uint32_t stated : {0xFFFFFFFFu, kText::kMaxBodySize + 1}) {
        SCOPED_TRACE(stated);
        EXPECT_FALSE(LoadBytes(CompressedFile("UK_ENGLISH", kBody, stated)));
        EXPECT_STREQ(kText::Text(0), "SCRIPT NOT LOADED");
    }
    EXPECT_FALSE(LoadBytes("ZZUK_ENGLISH\n\x01\x02"));
}

TEST_F(TextTest, ShortOrDamagedCompressedBodiesLoadWhatTheyHold) {
    const std::string body = "A \"a\"\r\nB \"b\"\r\n";
    const std::string whole = CompressedFile("UK_ENGLISH", body, 1000);
    EXPECT_TRUE(LoadBytes(whole));
    EXPECT_EQ(LoadedTexts(), (std::vector<std::string>{"a", "b"}));

    EXPECT_TRUE(LoadBytes(CompressedFile("UK_ENGLISH", body, 7)));
    EXPECT_EQ(LoadedTexts(), (std::vector<std::string>{"a"}));

    std::string corrupt = whole;
    corrupt[20] = static_cast<char>(corrupt[20] ^ 0x5A);
    EXPECT_TRUE(LoadBytes(corrupt));
    EXPECT_LE(kText::NumTexts(), 2);

    for (size_t cut = 0; cut < whole.size(); ++cut) {
        LoadBytes(whole.substr(0, cut));
        EXPECT_LE(kText::NumTexts(), 2);
    }
}

TEST_F(TextTest, RefusesMoreEntriesThanTheLimit) {
    std::string body;
    for (int i = 0; i <= kText::kMaxEntries; ++i) {
        body += "\r\n";
    }
    EXPECT_FALSE(LoadBytes("UK_ENGLISH\n" + body));
    EXPECT_EQ(kText::NumTexts(), 0);
    body.resize(body.size() - 2);
    EXPECT_TRUE(LoadBytes("UK_ENGLISH\n" + body));
    EXPECT_EQ(kText::NumTexts(), kText::kMaxEntries);
}

TEST_F(TextTest, LoadReplacesTheTextsAndResetReturnsTheMemory) {
    const s32 blocksBefore = kPlatform_GetMemStats().numAllocs;
    ASSERT_TRUE(LoadBytes("UK_ENGLISH\nA \"first\"\r\n"));
    ASSERT_TRUE(LoadBytes(CompressedFile("FRENCH", "A \"second\"\r\nB \"third\"\r\n")));
    EXPECT_EQ(LoadedTexts(), (std::vector<std::string>{"second", "third"}));
    EXPECT_EQ(kText::GetLanguage(), 4);
    kText::Reset();
    EXPECT_EQ(kPlatform_GetMemStats().numAllocs, blocksBefore);
}

TEST_F(TextTest, SetLanguageIgnoresValuesOutsideTheLanguages) {
    kText::SetLanguage(6);
    kText::SetLanguage(0);
    kText::SetLanguage(9);
    EXPECT_EQ(kText::GetLanguage(), 6);
    ASSERT_TRUE(LoadBytes("MARTIAN\n"));
    EXPECT_EQ(kText::GetLanguage(), 0);
    EXPECT_STREQ(kText::LanguageName(3), "CANADIAN_ENGLISH");
    EXPECT_STREQ(kText::LanguageName(9), "");
}

TEST_F(TextTest, SupportedLanguagesAreCopiedAndForgottenByReset) {
    kArray<int> languages;
    languages.Push(1);
    languages.Push(4);
    kText::SetSupportedLanguages(languages);
    languages.Push(8);
    const kArray<int> stored = kText::GetSupportedLanguages();
    ASSERT_EQ(stored.Size(), 2);
    EXPECT_EQ(stored(1), 4);
    kText::Reset();
    EXPECT_EQ(kText::GetSupportedLanguages().Size(), 0);
}

// The ids that the framework and the game show.
const int kShownIds[] = {48, 50, 59, 60,  61,  62,  63,  64,  65,  66,  69, 70, 71,
                         72, 73, 74, 76,  78,  79,  80,  81,  82,  83,  84, 85, 86,
                         87, 88, 91, 101, 103, 104, 105, 127, 128, 143, 144};

TEST(SystemTextTest, EveryLanguageHasEveryShownMessage) {
    for (int language = 1; language <= 8; ++language) {
        for (int id : kShownIds) {
            EXPECT_STRNE(kText::SystemText(id, language), "") << language << " " << id;
            EXPECT_STREQ(kText::SystemText(id, 0), "NO LANGUAGE SET");
        }
    }
}

TEST(SystemTextTest, NorthAmericanRowsDifferFromTheUkOnlyOnTheMenuTexts) {
    for (int id : kShownIds) {
        const bool bDiffers = id == 79 || id == 82 || id == 143;
        EXPECT_EQ(std::string(kText::SystemText(id, 1)) == kText::SystemText(id, 2), !bDiffers)
            << id;
        EXPECT_STREQ(kText::SystemText(id, 3), kText::SystemText(id, 2)) << id;
    }
    EXPECT_STREQ(kText::SystemText(79, 2), "Return to the Wii Menu");
    EXPECT_STREQ(kText::SystemText(143, 1),
                 "Are you sure you want to return to the Wii Menu Screen?");
}

TEST(SystemTextTest, CanadianRemoteAndDiscMessagesAreNotBlank) {
    EXPECT_STREQ(kText::SystemText(101, 3),
                 "Communications with the Wii Remote have been interrupted.");
    for (int id = 75; id <= 110; ++id) {
        EXPECT_STRNE(kText::SystemText(id, 3), "") << id;
    }
}

TEST(SystemTextTest, DiscMessagesNameTheGameInEveryLanguage) {
    EXPECT_STREQ(kText::SystemText(103, 1), "Please insert the Puzzles Game Disc.");
    for (int language = 1; language <= 8; ++language) {
        for (int id : {103, 104}) {
            EXPECT_NE(std::string(kText::SystemText(id, language)).find("Puzzles"),
                      std::string::npos)
                << id << " " << language;
        }
    }
}

TEST(SystemTextTest, PlaceholdersStayAndOutsideTheTableIsEmpty) {
    EXPECT_NE(std::string(kText::SystemText(68, 1, 12)).find("$(NUMBER)"), std::string::npos);
    EXPECT_NE(std::string(kText::SystemText(107, 7)).find("<N>"), std::string::npos);
    EXPECT_STREQ(kText::SystemText(145, 1), "");
    EXPECT_STREQ(kText::SystemText(-1, 1), "");
    EXPECT_STREQ(kText::SystemText(101, 9), "");
    EXPECT_STREQ(kText::SystemText(101, -1), "");
}

} // namespace
