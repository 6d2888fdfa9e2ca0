// The language file writer against the loader: both body forms load to the texts written,
// and what a file cannot hold, or a stream cannot take, is refused.
#include <framework/ktext.h>
#include <framework/ktextwriter.h>

#include <kelvo/io/kmemoryiostream.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kelvo_lib::kArray;
using Kelvo_lib::kMemoryIOStream;
using Kelvo_lib::kString;
using Kelvo_lib::kText;

kArray<kString> Texts(const std::vector<std::string>& texts) {
    kArray<kString> result;
    for (const std::string& text : texts) {
        result.Push(kString(text.c_str()));
    }
    return result;
}

// The file written into a buffer of the bound's size; empty when the writer refuses.
std::string Write(const char* language, const std::vector<std::string>& texts, bool bCompressed) {
    const kArray<kString> engineTexts = Texts(texts);
    std::string file(kText_FileSizeBound(language, engineTexts), '\0');
    kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()), K_IO_ACCESS_WRITE);
    if (!kText_WriteFile(language, engineTexts, bCompressed, &stream)) {
        return "";
    }
    file.resize(stream.Tell());
    return file;
}

std::vector<std::string> LoadTexts(std::string file) {
    kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()), K_IO_ACCESS_READ);
    EXPECT_TRUE(kText::Load(&stream));
    std::vector<std::string> texts;
    for (int id = 0; id < kText::NumTexts(); ++id) {
        texts.emplace_back(kText::Text(id));
    }
    return texts;
}

class TextWriterTest : public ::testing::TestWithParam<bool> {
protected:
    void TearDown() override { kText::Reset(); }
};

TEST_P(TextWriterTest, LoadsToTheTextsWritten) {
    const std::vector<std::string> texts = {
        "", "plain", "two  spaces ", "\"quoted\"", "caf\xe9 \xdf\xff", "trailing\\", "tab\there",
    };
    const std::string file = Write("GERMAN", texts, GetParam());
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file.rfind(GetParam() ? "ZZGERMAN\r\n" : "GERMAN\r\n", 0), 0u);
    EXPECT_EQ(LoadTexts(file), texts);
    EXPECT_EQ(kText::GetLanguage(), Kelvo_lib::KTEXT_GERMAN);
    EXPECT_STREQ(kText::TextId(6), "6");
}

TEST_P(TextWriterTest, EscapedLineBreaksBecomeNewlines) {
    EXPECT_EQ(LoadTexts(Write("DUTCH", {"one\\ntwo"}, GetParam())),
              (std::vector<std::string>{"one\ntwo"}));
}

TEST_P(TextWriterTest, RefusesWhatTheFileCannotHold) {
    EXPECT_EQ(Write("ZZTOP", {"x"}, GetParam()), "");
    EXPECT_EQ(Write("UK\r\nENGLISH", {"x"}, GetParam()), "");
    EXPECT_EQ(Write("UK_ENGLISH", {"ok", "split\rhere"}, GetParam()), "");
    const std::vector<std::string> tooMany(kText::kMaxEntries + 1);
    EXPECT_EQ(Write("UK_ENGLISH", tooMany, GetParam()), "");
}

TEST_P(TextWriterTest, FailsWhenTheStreamIsTooSmall) {
    const kArray<kString> texts = Texts({"a fairly long text that fills the stream"});
    std::string file(24, '\0');
    kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()), K_IO_ACCESS_WRITE);
    EXPECT_FALSE(kText_WriteFile("UK_ENGLISH", texts, GetParam(), &stream));
    EXPECT_FALSE(kText_WriteFile("UK_ENGLISH", texts, GetParam(), nullptr));
}

INSTANTIATE_TEST_SUITE_P(BodyForms, TextWriterTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Compressed" : "Plain";
                         });

TEST(TextWriterBoundTest, HoldsIncompressibleTexts) {
    std::vector<std::string> texts;
    unsigned int seed = 12345;
    for (int i = 0; i < 200; ++i) {
        std::string text;
        for (int j = 0; j < 300; ++j) {
            seed = seed * 1103515245u + 12345u;
            const char c = static_cast<char>(0x20 + (seed >> 16) % 0xDF);
            text += c == '\\' ? ' ' : c; // no escapes
        }
        texts.push_back(text);
    }
    EXPECT_EQ(LoadTexts(Write("FRENCH", texts, true)), texts);
    kText::Reset();
}

} // namespace
