// The IFF reader over files made by the test writer: framing, pad bytes, nested groups,
// and malformed files, which give 15 ("Bad format IFF") without reading out of bounds.
#include "iff_writer.h"

#include <kelvo/io/kiff.h>
#include <kelvo/io/kmemoryiostream.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Kelvo_lib::kException;
using Kelvo_lib::kIFFContext;
using Kelvo_lib::kIFFException;
using Kelvo_lib::kIFFGetErrorString;
using Kelvo_lib::kIFFMakeId;
using Kelvo_lib::kIFFReadContext;
using Kelvo_lib::kMemoryIOStream;
using namespace iff_writer;
namespace kIFFRead = Kelvo_lib::kIFFRead;

namespace {

constexpr int kBadFormat = 15;
constexpr int kDone = 255;

// A reader over bytes; the stream may claim more bytes than it holds.
class Reader {
public:
    explicit Reader(std::string bytes, unsigned int claimedExtra = 0)
        : m_bytes(std::move(bytes)),
          m_stream(m_bytes.data(), static_cast<unsigned int>(m_bytes.size()), claimedExtra) {
        EXPECT_EQ(kIFFRead::OpenStream(&top, &m_stream), 0);
    }

    unsigned int StreamPosition() { return m_stream.Tell(); }

    kIFFContext top{};

private:
    class ClaimingStream : public kMemoryIOStream {
    public:
        ClaimingStream(char* data, unsigned int size, unsigned int extra)
            : kMemoryIOStream(data, size, K_IO_ACCESS_READ), m_extra(extra) {}
        unsigned int Length() override { return kMemoryIOStream::Length() + m_extra; }

    private:
        unsigned int m_extra;
    };

    std::string m_bytes;
    ClaimingStream m_stream;
};

std::string ReadBytes(kIFFContext* ctx, unsigned int size, int expectedCode = 0) {
    std::string out(size, '\0');
    EXPECT_EQ(kIFFRead::ReadChunkBytes(ctx, out.data(), size), expectedCode);
    return out;
}

TEST(IFFReaderTest, EmptyStreamIsDone) {
    Reader reader("");
    EXPECT_EQ(kIFFRead::NextChunk(&reader.top), kDone);
    EXPECT_EQ(reader.top.chunkHdr.chunkId, Kelvo_lib::K_IFF_ID_END);
    EXPECT_FALSE(kIFFReadContext(&reader.top).NextChunk());
}

TEST(IFFReaderTest, GroupWithOnlyItsSubIdHasNoChunks) {
    Reader reader(Group("FORM", "KSPB", {}));
    ASSERT_EQ(kIFFRead::NextChunk(&reader.top), 0);
    EXPECT_EQ(reader.top.chunkHdr.chunkId, kIFFMakeId("FORM"));
    EXPECT_EQ(reader.top.chunkHdr.size, 4u);
    EXPECT_EQ(reader.top.groupSubId, kIFFMakeId("KSPB"));
    EXPECT_EQ(reader.top.bytesSoFar, 4u);
    kIFFContext child{};
    ASSERT_EQ(kIFFRead::OpenGroup(&reader.top, &child), 0);
    EXPECT_EQ(kIFFRead::NextChunk(&child), kDone);
    EXPECT_EQ(kIFFRead::CloseGroup(&reader.top, &child), 0);
    EXPECT_EQ(kIFFRead::NextChunk(&reader.top), kDone);
}

TEST(IFFReaderTest, NextChunkSkipsTheRestOfAnOddChunkAndItsPad) {
    for (const unsigned int readFirst : {0u, 1u, 2u, 3u}) {
        Reader reader(Group("FORM", "TEST", {Chunk("ODD ", "xyz"), Chunk("NEXT", "ab")}));
        kIFFContext child{};
        ASSERT_EQ(kIFFRead::NextChunk(&reader.top), 0);
        ASSERT_EQ(kIFFRead::OpenGroup(&reader.top, &child), 0);
        ASSERT_EQ(kIFFRead::NextChunk(&child), 0);
        EXPECT_EQ(child.chunkHdr.size, 3u);
        EXPECT_EQ(ReadBytes(&child, readFirst), std::string("xyz").substr(0, readFirst));
        ASSERT_EQ(kIFFRead::NextChunk(&child), 0) << readFirst;
        EXPECT_EQ(child.chunkHdr.chunkId, kIFFMakeId("NEXT")) << readFirst;
        EXPECT_EQ(ReadBytes(&child, 2), "ab");
        EXPECT_EQ(kIFFRead::NextChunk(&child), kDone);
    }
}

TEST(IFFReaderTest, WalksNestedGroupsAndReturnsToTheParent) {
    const std::string file =
        "JUNK" + Group("FORM", "KSPB",
                       {Chunk("HDR ", "head"),
                        Group("LIST", "PAGE", {Chunk("DATA", "12345"), Group("PROP", "DEEP", {})}),
                        Chunk("CDAT", "c")});
    std::string bytes = file;
    kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()), K_IO_ACCESS_READ);
    stream.Seek(4, K_IO_SEEK_SET);
    kIFFContext topContext{};
    kIFFRead::OpenStream(&topContext, &stream);
    EXPECT_EQ(topContext.position, 4u);

    std::vector<std::string> seen;
    kIFFReadContext top(&topContext);
    ASSERT_TRUE(top.NextChunk());
    kIFFContext form{};
    top.OpenGroup(&form);
    kIFFReadContext formReader(&form);
    while (formReader.NextChunk()) {
        seen.push_back(Big32(formReader.ChunkId()));
        if (formReader.ChunkId() == kIFFMakeId("LIST")) {
            EXPECT_EQ(formReader.GroupSubId(), kIFFMakeId("PAGE"));
            kIFFContext list{};
            formReader.OpenGroup(&list);
            kIFFReadContext listReader(&list);
            ASSERT_TRUE(listReader.NextChunk());
            EXPECT_EQ(ReadBytes(listReader, 5), "12345");
            ASSERT_TRUE(listReader.NextChunk());
            EXPECT_EQ(listReader.GroupSubId(), kIFFMakeId("DEEP"));
            formReader.CloseGroup(&list);
        }
    }
    top.CloseGroup(&form);
    EXPECT_FALSE(top.NextChunk());
    EXPECT_EQ(seen, (std::vector<std::string>{"HDR ", "LIST", "CDAT"}));
    EXPECT_EQ(stream.Tell(), bytes.size());
}

// Malformed files: the first NextChunk that meets the fault gives 15, the context has no
// chunk afterwards, and the next NextChunk ends the level.
struct MalformedCase {
    const char* name;
    std::string bytes;
    bool insideGroup; // the fault lies inside the first top-level group
    int chunksBefore; // good chunks of the level before the fault
};

void PrintTo(const MalformedCase& c, std::ostream* out) {
    *out << c.name;
}

class IFFMalformedTest : public testing::TestWithParam<MalformedCase> {};

TEST_P(IFFMalformedTest, GivesBadFormat) {
    Reader reader(GetParam().bytes);
    kIFFContext* ctx = &reader.top;
    kIFFContext child{};
    if (GetParam().insideGroup) {
        ASSERT_EQ(kIFFRead::NextChunk(ctx), 0);
        ASSERT_EQ(kIFFRead::OpenGroup(ctx, &child), 0);
        ctx = &child;
    }
    for (int i = 0; i < GetParam().chunksBefore; ++i) {
        ASSERT_EQ(kIFFRead::NextChunk(ctx), 0);
    }
    EXPECT_EQ(kIFFRead::NextChunk(ctx), kBadFormat);
    EXPECT_EQ(ctx->chunkHdr.chunkId, Kelvo_lib::K_IFF_ID_NONE);
    char byte;
    EXPECT_EQ(kIFFRead::ReadChunkBytes(ctx, &byte, 1), kBadFormat) << "no chunk to read";
    EXPECT_LE(ctx->position, ctx->bound);
    EXPECT_EQ(kIFFRead::NextChunk(ctx), kDone) << "the level ends after the fault";
}

INSTANTIATE_TEST_SUITE_P(
    Files, IFFMalformedTest,
    testing::Values(
        MalformedCase{"TopLevelNotAGroup", Chunk("DATA", "abcd"), false, 0},
        MalformedCase{"ShortHeader", std::string("FORM\0\0", 6), false, 0},
        MalformedCase{"ReservedSize", Header("FORM", 0xFFFFFFFFu) + "KSPB", false, 0},
        MalformedCase{"ChunkOneByteLongerThanTheGroup",
                      Header("FORM", 16) + "TEST" + Header("DATA", 5) + "abcd", true, 0},
        MalformedCase{"FewerThanEightBytesLeft", Group("FORM", "TEST", {"ABCDEF"}), true, 0},
        MalformedCase{"OddNumberOfBytesLeftBehind", Header("FORM", 100) + "TESTx", false, 0},
        MalformedCase{"GroupSmallerThanItsSubId", Group("FORM", "TEST", {Header("LIST", 2) + "ab"}),
                      true, 0},
        MalformedCase{"TopGroupSmallerThanItsSubId", Header("FORM", 2) + "ab", false, 0},
        MalformedCase{"OddChunkWithoutItsPadAtTheEnd", Header("FORM", 5) + "TESTx", false, 1},
        MalformedCase{"TruncatedAfterAGoodChunk",
                      Group("FORM", "TEST", {Chunk("GOOD", "ok"), Header("BAD ", 1)}), true, 1}),
    [](const testing::TestParamInfo<MalformedCase>& info) { return info.param.name; });

TEST(IFFReaderTest, ChunkSizeBeyondTheGroupIsClampedToWhatRemains) {
    Reader reader(Header("FORM", 16) + "TEST" + Header("DATA", 5) + "abcd");
    kIFFContext child{};
    kIFFRead::NextChunk(&reader.top);
    kIFFRead::OpenGroup(&reader.top, &child);
    EXPECT_EQ(kIFFRead::NextChunk(&child), kBadFormat);
    EXPECT_EQ(child.chunkHdr.size, 4u);
}

TEST(IFFReaderTest, ReadPastTheChunkReadsNothing) {
    Reader reader(Group("FORM", "TEST", {Chunk("DATA", "abc"), Chunk("NEXT", "")}));
    kIFFContext child{};
    kIFFRead::NextChunk(&reader.top);
    kIFFRead::OpenGroup(&reader.top, &child);
    kIFFRead::NextChunk(&child);
    EXPECT_EQ(ReadBytes(&child, 2), "ab");
    const unsigned int position = reader.StreamPosition();
    ReadBytes(&child, 2, kBadFormat);
    EXPECT_EQ(reader.StreamPosition(), position);
    EXPECT_EQ(child.bytesSoFar, 2u);
    EXPECT_EQ(kIFFRead::ReadChunkBytes(&child, nullptr, 1), kBadFormat);
    EXPECT_EQ(kIFFRead::NextChunk(&child), 0) << "the next chunk is still found";
    EXPECT_EQ(child.chunkHdr.chunkId, kIFFMakeId("NEXT"));
}

TEST(IFFReaderTest, ShortReadsAreBadFormat) {
    // The stream claims 100 bytes more than it holds.
    Reader header(Group("FORM", "TEST", {}).substr(0, 6), 100);
    EXPECT_EQ(kIFFRead::NextChunk(&header.top), kBadFormat);

    Reader payload(Header("FORM", 24) + "TEST" + Header("DATA", 12) + "abc", 100);
    kIFFContext child{};
    ASSERT_EQ(kIFFRead::NextChunk(&payload.top), 0);
    ASSERT_EQ(kIFFRead::OpenGroup(&payload.top, &child), 0);
    ASSERT_EQ(kIFFRead::NextChunk(&child), 0);
    EXPECT_EQ(ReadBytes(&child, 12, kBadFormat).substr(0, 3), "abc");
    EXPECT_EQ(child.bytesSoFar, 3u);
}

TEST(IFFReaderTest, GroupsMustEndOnAnEvenByte) {
    Reader odd(Header("FORM", 5) + "TESTx" + std::string(1, '\0'));
    kIFFContext child{};
    ASSERT_EQ(kIFFRead::NextChunk(&odd.top), 0);
    EXPECT_EQ(kIFFRead::OpenGroup(&odd.top, &child), kBadFormat);

    Reader done("");
    kIFFRead::NextChunk(&done.top);
    EXPECT_EQ(kIFFRead::OpenGroup(&done.top, &child), kBadFormat) << "no current chunk";
    EXPECT_THROW(kIFFReadContext(&done.top).OpenGroup(&child), kIFFException);
}

TEST(IFFReaderTest, CloseGroupRefusesAChildThatLeftItsParent) {
    Reader reader(Group("FORM", "TEST", {Chunk("DATA", "ab")}) + Group("FORM", "MORE", {}));
    kIFFContext child{};
    kIFFRead::NextChunk(&reader.top);
    kIFFRead::OpenGroup(&reader.top, &child);
    kIFFContext passed = child;
    passed.position = child.bound + 2;
    EXPECT_EQ(kIFFRead::CloseGroup(&reader.top, &passed), kBadFormat);
    kIFFContext stranger = child;
    stranger.parent = nullptr;
    EXPECT_EQ(kIFFRead::CloseGroup(&reader.top, &stranger), kBadFormat);
    EXPECT_THROW(kIFFReadContext(&reader.top).CloseGroup(&passed), kIFFException);
    kIFFRead::NextChunk(&child);
    EXPECT_EQ(kIFFRead::CloseGroup(&reader.top, &child), 0);
    EXPECT_EQ(kIFFRead::NextChunk(&reader.top), 0);
    EXPECT_EQ(reader.top.groupSubId, kIFFMakeId("MORE"));
    EXPECT_EQ(kIFFRead::NextChunk(nullptr), 1);
}

TEST(IFFReaderTest, WrapperThrowsTheCodeAsAnException) {
    Reader reader(Chunk("DATA", "abcd"));
    try {
        kIFFReadContext(&reader.top).NextChunk();
        FAIL() << "no exception";
    } catch (kException& exception) {
        EXPECT_STREQ(exception.GetErrorString(), "Bad format IFF");
        EXPECT_EQ(dynamic_cast<kIFFException&>(exception).m_iffError, kBadFormat);
    }
    EXPECT_STREQ(kIFFGetErrorString(16), "Unknown IFF error code");
    EXPECT_STREQ(kIFFGetErrorString(-1), "Unknown IFF error code");
}

} // namespace
