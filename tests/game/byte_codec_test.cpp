// The game's big-endian byte codec: the bytes a field becomes, reads that stop at the end
// of the block, and writes that stop at the end of a fixed buffer.
#include <services/mnbytecodec.h>

using namespace Kelvo_lib;

namespace {

std::vector<u8> Bytes(const kArray<u8>& array) {
    return std::vector<u8>(array.Data(), array.Data() + array.Size());
}

TEST(ByteCodecTest, FieldsAreStoredMostSignificantByteFirstAndReadBack) {
    kArray<u8> out;
    MNByteWriter writer(out);
    writer.U8(0x12);
    writer.U16(0x3456);
    writer.U32(0x789ABCDE);
    writer.F32(1.0f);
    writer.String("AB", 8, false);
    writer.String("C", 8, true);
    EXPECT_EQ(Bytes(out), (std::vector<u8>{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0x3F, 0x80,
                                           0x00, 0x00, 2, 'A', 'B', 0, 1, 'C'}));

    MNByteReader reader(out.Data(), static_cast<u32>(out.Size()));
    EXPECT_EQ(reader.U8(), 0x12);
    EXPECT_EQ(reader.U16(), 0x3456);
    EXPECT_EQ(reader.S32(), static_cast<s32>(0x789ABCDE));
    EXPECT_EQ(reader.F32(), 1.0f);
    char text[8];
    reader.String(text, sizeof(text), false);
    EXPECT_STREQ(text, "AB");
    reader.String(text, sizeof(text), true);
    EXPECT_STREQ(text, "C");
    EXPECT_TRUE(reader.Finished());
}

TEST(ByteCodecTest, AReadPastTheEndGivesZerosAndFailsForGood) {
    const u8 block[] = {0xAA, 0xBB, 0xCC};
    MNByteReader reader(block, sizeof(block));
    EXPECT_EQ(reader.U16(), 0xAABB);
    EXPECT_EQ(reader.U32(), 0u) << "two bytes missing";
    EXPECT_TRUE(reader.Failed());
    EXPECT_EQ(reader.U8(), 0) << "the byte left is not read once failed";
    EXPECT_EQ(reader.Remaining(), 0u);
    EXPECT_FALSE(reader.Finished());

    u8 copy[4] = {1, 2, 3, 4};
    MNByteReader shortBlock(block, 2);
    shortBlock.Bytes(copy, sizeof(copy));
    EXPECT_EQ(copy[0], 1) << "a refused copy leaves the destination alone";
}

TEST(ByteCodecTest, AStringLongerThanItsRoomIsRefused) {
    const u8 block[] = {5, 'H', 'E', 'L', 'L', 'O'};
    MNByteReader reader(block, sizeof(block));
    char text[5] = "xxxx";
    reader.String(text, sizeof(text), false);
    EXPECT_TRUE(reader.Failed());
    EXPECT_STREQ(text, "");
}

TEST(ByteCodecTest, AFixedBufferTakesNothingPastItsEnd) {
    u8 buffer[6] = {};
    std::memset(buffer, 0xEE, sizeof(buffer));
    MNByteWriter writer(buffer, 5);
    writer.U32(0x01020304);
    EXPECT_EQ(writer.Size(), 4u);
    writer.U16(0x0506);
    EXPECT_TRUE(writer.Failed());
    EXPECT_EQ(writer.Size(), 4u);
    writer.U8(0x07);
    EXPECT_EQ(buffer[4], 0xEE) << "nothing more is written once failed";
    EXPECT_EQ(buffer[5], 0xEE);
}

TEST(ByteCodecTest, PatchingOverwritesWrittenBytesOnly) {
    u8 buffer[8] = {};
    MNByteWriter writer(buffer, sizeof(buffer));
    writer.U32(0);
    writer.U8(9);
    writer.PatchU32(0, 0xCAFEF00D);
    EXPECT_EQ(buffer[0], 0xCA);
    EXPECT_EQ(buffer[3], 0x0D);
    EXPECT_EQ(buffer[4], 9);
    EXPECT_FALSE(writer.Failed());
    writer.PatchU32(2, 1);
    EXPECT_TRUE(writer.Failed()) << "bytes 5 and 6 were not written yet";
    EXPECT_EQ(buffer[2], 0xF0);

    kArray<u8> grown;
    MNByteWriter appender(grown);
    for (int i = 0; i < 1000; ++i) {
        appender.U8(static_cast<u8>(i));
    }
    EXPECT_EQ(appender.Size(), 1000u);
    EXPECT_EQ(grown(999), static_cast<u8>(999));
}

} // namespace
