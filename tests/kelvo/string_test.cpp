// kString: the shared empty text, exact allocations, substrings, text taken from
// the string itself, formatting limits and the refusals of fixed strings.
#include "live_blocks.h"

#include <kelvo/containers/karray.h>
#include <kelvo/containers/kstring.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using Kelvo_lib::kString;

s32 HeldBytes() {
    return kPlatform_GetMemStats().actualSize;
}

const char* SharedEmptyText() {
    static const kString empty;
    return empty.CStr();
}

TEST(StringTest, EmptyStringsShareOneTextAndAllocateNothing) {
    const kMemStats before = kPlatform_GetMemStats();
    {
        const kString hello("hello");
        kString assigned("x");
        assigned = "";
        kString formatted;
        formatted.Format("%s", "");
        const kString empties[] = {kString(),          kString(nullptr),   kString(""),
                                   kString(kString()), hello.SubStr(3, 3), hello.Left(0),
                                   assigned,           formatted,          kString() + kString()};
        for (const kString& empty : empties) {
            EXPECT_EQ(empty.CStr(), SharedEmptyText());
            EXPECT_EQ(empty.Size(), 0);
        }
    }
    const kMemStats after = kPlatform_GetMemStats();
    EXPECT_EQ(after.numAllocs, before.numAllocs);
    EXPECT_EQ(after.totalAllocs - before.totalAllocs, 2); // "hello" and "x"
}

TEST(StringTest, EveryTextIsOneBlockOfExactlyItsSizePlusOne) {
    const kMemStats start = kPlatform_GetMemStats();
    {
        kString text("abc");
        const kString c('c');
        EXPECT_EQ(c.Size(), 1);
        EXPECT_EQ(HeldBytes() - start.actualSize, 4 + 2);
        text += "defg";
        EXPECT_EQ(HeldBytes() - start.actualSize, 8 + 2);
        text = text + text;
        EXPECT_STREQ(text, "abcdefgabcdefg");
        EXPECT_EQ(HeldBytes() - start.actualSize, 15 + 2);
        EXPECT_EQ(LiveBlocks(), start.numAllocs + 2);
    }
    EXPECT_EQ(LiveBlocks(), start.numAllocs);
}

TEST(StringTest, AppendingEmptyToEmptyOwnsAOneByteText) {
    const kMemStats start = kPlatform_GetMemStats();
    {
        kString empty;
        empty += kString();
        EXPECT_EQ(empty.Size(), 0);
        EXPECT_NE(empty.CStr(), SharedEmptyText());
        EXPECT_EQ(HeldBytes() - start.actualSize, 1);
    }
    EXPECT_EQ(LiveBlocks(), start.numAllocs);
}

TEST(StringTest, SubstringsClampTheirBounds) {
    const kString hello("hello");
    const struct {
        kString result;
        const char* expected;
    } cases[] = {
        {hello.SubStr(2, 1), ""},   {hello.SubStr(10, 14), ""},    {hello.SubStr(-2, 3), "hel"},
        {hello.SubStr(2), "llo"},   {hello.SubStr(1, 99), "ello"}, {hello.Left(15), "hello"},
        {hello.Left(2), "he"},      {hello.Left(-1), ""},          {hello.Right(3), "llo"},
        {hello.Right(15), "hello"}, {hello.Right(-3), ""},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.result, c.expected);
        EXPECT_EQ(c.result.Size(), static_cast<s32>(std::strlen(c.expected)));
    }
}

TEST(StringTest, AssigningItsOwnTextCopiesBeforeFreeing) {
    kString text("hello world");
    text = text.CStr() + 6;
    EXPECT_STREQ(text, "world");
    const kString& self = text; // named so the compiler sees no self-assignment
    text = self;
    text += text;
    EXPECT_STREQ(text, "worldworld");
    text.Format("<%s>", text.CStr());
    EXPECT_STREQ(text, "<worldworld>");
}

TEST(StringTest, ToUpperChangesOnlyLowercaseAsciiLetters) {
    kString text("az AZ 09 _\xe9\xff");
    text.ToUpper();
    EXPECT_STREQ(text, "AZ AZ 09 _\xe9\xff");
}

TEST(StringTest, FormatCutsTextAt1023Characters) {
    const std::string longText(2000, 'x');
    kString text;
    text.Format("%s", longText.c_str());
    EXPECT_EQ(text.Size(), 1023);
    text.Format("%d-%s", 42, "z");
    EXPECT_STREQ(text, "42-z");
}

TEST(StringTest, EqualityComparesTextsNotAddresses) {
    EXPECT_EQ(kString("ab"), kString("ab"));
    EXPECT_FALSE(kString("ab") == kString("abc"));
    EXPECT_TRUE(kString("ab") == "ab");
    EXPECT_TRUE(kString() == nullptr);
    Kelvo_lib::kArray<kString> names;
    names.Push("first");
    names.Push("second");
    EXPECT_EQ(names.AddUniqueElement("second"), 1);
    EXPECT_EQ(names.RemoveElement("first"), 1);
}

TEST(StringDeathTest, FixedStringRefusesEveryChangeAndLeavesCallerStorageAlone) {
    const kMemStats before = kPlatform_GetMemStats();
    char storage[] = "caller";
    { const kString unused = kString::WrapFixed(storage); }
    EXPECT_EQ(kPlatform_GetMemStats().totalFrees, before.totalFrees);
    kString fixed = kString::WrapFixed(storage);
    EXPECT_EQ(fixed.CStr(), storage);
    EXPECT_DEATH(fixed += kString("x"), "kString::operator\\+=: Cannot add a fixed string");
    EXPECT_DEATH(fixed = "other", "kString::destroy: Cannot destroy a fixed string");
    EXPECT_DEATH(fixed.Format("%d", 1), "kString::destroy: Cannot destroy a fixed string");
    EXPECT_DEATH(fixed.ToUpper(), "kString::ToUpper: Cannot change a fixed string");
    const kString copy(fixed);
    EXPECT_NE(copy.CStr(), storage);
    EXPECT_STREQ(copy, "caller");
}

} // namespace
