// The memory stream over a caller's block, and kEndian, spoken in the bytes of a field.
#include <kelvo/io/kendian.h>
#include <kelvo/io/kmemoryiostream.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using Kelvo_lib::kEndian;
using Kelvo_lib::kMemoryIOStream;

namespace {

template <typename T>
T Raw(const unsigned char* bytes) {
    T raw;
    std::memcpy(&raw, bytes, sizeof(T));
    return raw;
}

TEST(EndianTest, ReadsFieldsFromTheirStoredBytes) {
    const unsigned char bytes[] = {0x12, 0x34, 0x56, 0x78};
    EXPECT_EQ(kEndian::Big16(Raw<unsigned short>(bytes)), 0x1234);
    EXPECT_EQ(kEndian::Little16(Raw<unsigned short>(bytes)), 0x3412);
    EXPECT_EQ(kEndian::Big32(Raw<unsigned int>(bytes)), 0x12345678u);
    EXPECT_EQ(kEndian::Little32(Raw<unsigned int>(bytes)), 0x78563412u);
}

TEST(MemoryStreamTest, WrittenBytesReadBack) {
    char block[16] = {};
    kMemoryIOStream stream(block, sizeof(block), K_IO_ACCESS_READWRITE);
    EXPECT_EQ(stream.Write("puzzle", 6), 6u);
    EXPECT_EQ(stream.Write(" state!!!!!!", 12), 10u) << "a write never grows the block";
    EXPECT_EQ(stream.Tell(), 16u);
    EXPECT_EQ(stream.AvailableRead(), 0u);
    stream.Reset();
    char out[32] = {};
    EXPECT_EQ(stream.Read(out, sizeof(out)), 16u);
    EXPECT_EQ(std::string(out, 16), "puzzle state!!!!");
    EXPECT_EQ(stream.Read(out, 1), 0u);
}

TEST(MemoryStreamTest, ReadsWhatIsLeftAtTheEndAndNothingFromAnEmptyBlock) {
    char block[20] = "abcdefghijklmnopqrs";
    kMemoryIOStream stream(block, sizeof(block), K_IO_ACCESS_READ);
    EXPECT_TRUE(stream.Reading());
    EXPECT_FALSE(stream.Writing());
    stream.Seek(16, K_IO_SEEK_SET);
    char out[10] = {};
    EXPECT_EQ(stream.Read(out, 10), 4u);
    EXPECT_EQ(stream.Tell(), 20u);
    EXPECT_EQ(stream.Read(out, 0), 0u);

    kMemoryIOStream empty(nullptr, 0, K_IO_ACCESS_READWRITE);
    EXPECT_EQ(empty.Read(out, 1), 0u);
    EXPECT_EQ(empty.Write(out, 1), 0u);
    EXPECT_EQ(empty.Seek(5, K_IO_SEEK_SET), 0);
}

TEST(MemoryStreamTest, SeeksAreClampedToTheBlock) {
    char block[10] = {};
    kMemoryIOStream stream(block, sizeof(block), K_IO_ACCESS_READ);
    struct Case {
        int start, offset;
        K_IO_SEEK origin;
        int expected;
    };
    const Case cases[] = {
        {3, -5, K_IO_SEEK_SET, 0},
        {3, 11, K_IO_SEEK_SET, 10},
        {3, 0, K_IO_SEEK_END, 10},
        {3, -4, K_IO_SEEK_END, 6},
        {3, 4, K_IO_SEEK_END, 10},
        {3, 2, K_IO_SEEK_CUR, 5},
        {3, -9, K_IO_SEEK_CUR, 0},
        {3, 0x7FFFFFFF, K_IO_SEEK_CUR, 10},
        {3, 1, static_cast<K_IO_SEEK>(9), 3},
    };
    for (const Case& c : cases) {
        stream.Seek(c.start, K_IO_SEEK_SET);
        EXPECT_EQ(stream.Seek(c.offset, c.origin), c.expected) << c.offset << " from " << c.origin;
        EXPECT_EQ(stream.Tell(), static_cast<unsigned int>(c.expected));
    }
}

TEST(MemoryStreamDeathTest, ReadingAWriteOnlyStreamAsserts) {
    char block[4] = {};
    kMemoryIOStream stream(block, sizeof(block), K_IO_ACCESS_WRITE);
    EXPECT_DEATH(stream.Read(block, 1), "Reading\\(\\)");
}

} // namespace
