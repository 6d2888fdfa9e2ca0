#include "log_capture.h"
#include "xml_text.h"

#include <kelvo/xml/kxmlarchive.h>

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace {

using Kelvo_lib::kString;
using Kelvo_lib::kXMLArchive;
using Kelvo_lib::kXMLNode;
using Kelvo_lib::XMLArchiveMode;
using test_support::LogCapture;
using test_support::ReadXmlText;
using test_support::WriteXmlText;

struct Fields {
    int i = 0;
    float f = 0.0f;
    kString s;
};

// One routine for both directions, as callers write them.
void Serialize(kXMLNode& node, Fields& v) {
    node.Attribute("i", v.i, -1).Attribute("f", v.f, -1.0f).Attribute("s", v.s, "none");
}

TEST(XMLNodeTest, ValuesComeBackFromTheirText) {
    const float floats[] = {0.1f, 1e-7f, FLT_MAX, -0.0f, 16777216.0f, 0.123456789f, FLT_TRUE_MIN};
    for (const float f : floats) {
        Fields saved{-2147483647 - 1, f, "<a & \"b\" 'c'>\t \xC3\xA9"};
        kXMLArchive out(XMLArchiveMode::save);
        kXMLNode child = out.Root("doc").Child("values");
        Serialize(child, saved);
        const std::string text = WriteXmlText(out);

        kXMLArchive in(XMLArchiveMode::load);
        ASSERT_TRUE(ReadXmlText(in, text)) << text;
        Fields loaded;
        kXMLNode node = in.Root("doc").Child("values");
        Serialize(node, loaded);
        EXPECT_EQ(loaded.i, saved.i);
        EXPECT_EQ(std::signbit(loaded.f), std::signbit(f));
        EXPECT_EQ(loaded.f, f) << text;
        EXPECT_STREQ(loaded.s, saved.s) << text;
    }
}

TEST(XMLNodeTest, MissingOrMalformedAttributesLogAndGiveTheDefault) {
    struct Case {
        const char* attributes;
        int i;
        float f;
        const char* s;
    };
    const Case cases[] = {
        {R"(i=" 42 " f="2.5" s="x")", 42, 2.5f, "x"},
        {R"(s="")", -1, -1.0f, ""},
        {R"(i="abc" f="1.5kg" s="y")", -1, -1.0f, "y"},
        {R"(i="12abc" f="" s="z")", -1, -1.0f, "z"},
        {R"(i="99999999999" f="1e39" s="w")", -1, -1.0f, "w"},
    };
    for (const Case& c : cases) {
        kXMLArchive in(XMLArchiveMode::load);
        ASSERT_TRUE(ReadXmlText(in, std::string("<doc ") + c.attributes + "/>"));
        LogCapture log;
        Fields v{7, 7.0f, "old"};
        kXMLNode root = in.Root("doc");
        Serialize(root, v);
        EXPECT_EQ(v.i, c.i) << c.attributes;
        EXPECT_EQ(v.f, c.f) << c.attributes;
        EXPECT_STREQ(v.s, c.s) << c.attributes;
        EXPECT_EQ(log.lines.empty(), c.i == 42) << c.attributes;
    }
}

TEST(XMLNodeTest, MissingElementsLoadDefaultsAndSaveNothing) {
    kXMLArchive in(XMLArchiveMode::load);
    ASSERT_TRUE(ReadXmlText(in, "<doc><values i='1'/></doc>"));
    LogCapture log;
    Fields loaded{7, 7.0f, "old"};
    kXMLNode absent = in.Root("doc").Child("other");
    Serialize(absent, loaded);
    EXPECT_EQ(loaded.i, -1);
    EXPECT_EQ(loaded.f, -1.0f);
    EXPECT_STREQ(loaded.s, "none");
    kString str = "old";
    absent.Attribute("s", str, nullptr);
    EXPECT_STREQ(str, "");
    EXPECT_TRUE(log.Contains("No element <other> in <doc>"));
    EXPECT_FALSE(in.Root("values").HasElement());

    kXMLArchive out(XMLArchiveMode::save);
    kXMLNode nowhere(&out, nullptr);
    Fields kept{7, 7.0f, "old"};
    Serialize(nowhere, kept);
    EXPECT_EQ(kept.i, 7);
    EXPECT_EQ(kept.f, 7.0f);
    EXPECT_STREQ(kept.s, "old");
    EXPECT_TRUE(log.Contains("Cannot save attribute i: no element; nothing written"));
}

TEST(XMLArchiveTest, BadDocumentsAreRefusedAndLeaveNothing) {
    std::string nested;
    for (unsigned int i = 0; i <= kXMLArchive::kMaxElements; ++i) {
        nested = "<a>" + nested + "</a>";
    }
    const std::string cases[] = {
        "",
        "not xml",
        "<doc>",
        "<doc></other>",
        "<doc a='1' a=>",
        std::string("<doc>\0</doc>", 12),
        nested,
        "<doc>" + std::string(kXMLArchive::kMaxDocumentBytes, ' ') + "</doc>",
    };
    for (const std::string& text : cases) {
        kXMLArchive in(XMLArchiveMode::load);
        LogCapture log;
        EXPECT_FALSE(ReadXmlText(in, text)) << text.substr(0, 40);
        EXPECT_FALSE(log.lines.empty());
        EXPECT_FALSE(in.Root("doc").HasElement());
    }
}

TEST(XMLArchiveTest, WritingToAStreamTooSmallFails) {
    kXMLArchive out(XMLArchiveMode::save);
    out.Root("document");
    LogCapture log;
    EXPECT_EQ(WriteXmlText(out, 4), "");
    EXPECT_TRUE(log.Contains("not written whole"));
}

} // namespace
