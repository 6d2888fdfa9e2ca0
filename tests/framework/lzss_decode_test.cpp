// The LZSS decoder: the format's own vectors (the 0xFF ring, bit order, absolute and
// overlapping references, wraps, final groups), references read back from the output
// once it holds a whole ring, and both bounds: it never writes past the destination's
// capacity nor reads past the input, whatever the stream says.
#include <framework/lzssdecode.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kelvo_lib::LZSSDecode;
using Bytes = std::vector<unsigned char>;

constexpr unsigned char kUnwritten = 0xEE;

// Decodes into a destination of capacity bytes followed by guard bytes; the input is a
// heap block of exactly its size, so a read past it shows under the sanitizers.
Bytes Decode(const Bytes& stream, std::size_t capacity, std::size_t guard = 32) {
    Bytes out(capacity + guard, kUnwritten);
    const Bytes input(stream);
    LZSSDecode(out.data(), static_cast<unsigned int>(capacity), input.data(),
               static_cast<unsigned int>(input.size()));
    for (std::size_t i = capacity; i < out.size(); ++i) {
        EXPECT_EQ(out[i], kUnwritten) << "written past the capacity at " << i;
    }
    out.resize(capacity);
    return out;
}

// What was written: the destination up to the first unwritten byte.
Bytes Written(Bytes out) {
    std::size_t end = 0;
    while (end < out.size() && out[end] != kUnwritten) {
        ++end;
    }
    out.resize(end);
    return out;
}

Bytes Repeat(unsigned char byte, std::size_t count) {
    return Bytes(count, byte);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const Bytes kEightLiterals = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};

// 4 bytes from ring position 0 and 7 literals leave the write position at 4,089; the next
// eight literals wrap to position 0, and a reference to 4,089 of length 8 reads them back.
const Bytes kWrappingStream = Concat({
    {0xFE, 0x00, 0x01, 'p', 'q', 'r', 's', 't', 'u', 'v'},
    {0xFF},
    kEightLiterals,
    {0x00, 0xF9, 0xF5},
});

struct Vector {
    const char* name;
    Bytes stream;
    Bytes output;
};

class LZSSVectorTest : public testing::TestWithParam<Vector> {};

TEST_P(LZSSVectorTest, DecodesToTheExpectedBytes) {
    const Vector& vector = GetParam();
    EXPECT_EQ(Written(Decode(vector.stream, 256)), vector.output);
}

INSTANTIATE_TEST_SUITE_P(
    Format, LZSSVectorTest,
    testing::Values(
        Vector{"EmptyInputWritesNothing", {}, {}},
        Vector{"ReferenceIntoTheInitialRingGivesFF", {0x00, 0x00, 0x0F}, Repeat(0xFF, 18)},
        Vector{"BitZeroIsTheFirstItemAndSetMeansLiteral",
               {0x01, 'A', 0x00, 0x00},
               {'A', 0xFF, 0xFF, 0xFF}},
        Vector{"ReferenceToThePreviousByteRepeatsIt", {0x01, 'Z', 0xEE, 0xFF}, Repeat('Z', 19)},
        Vector{"EightLiteralsWrapTheRing", kWrappingStream,
               Concat({Repeat(0xFF, 4),
                       {'p', 'q', 'r', 's', 't', 'u', 'v'},
                       kEightLiterals,
                       kEightLiterals})},
        Vector{"FinalReferenceGroupHoldsWhatRemains",
               {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
               Repeat(0xFF, 9)},
        Vector{"FinalGroupEndsWithTheInput", {0x07, 'x', 'y', 'z'}, {'x', 'y', 'z'}}),
    [](const testing::TestParamInfo<Vector>& info) { return std::string(info.param.name); });

TEST(LZSSBoundsTest, EveryCapacityGetsAPrefixAndNothingBeyond) {
    const Bytes full = Written(Decode(kWrappingStream, 256));
    for (std::size_t capacity = 0; capacity <= full.size(); ++capacity) {
        const Bytes out = Decode(kWrappingStream, capacity);
        EXPECT_EQ(out, Bytes(full.begin(), full.begin() + static_cast<long>(capacity)))
            << "capacity " << capacity;
    }
}

TEST(LZSSBoundsTest, EveryTruncatedInputDecodesAPrefixWithoutReadingBeyondIt) {
    const Bytes full = Written(Decode(kWrappingStream, 256));
    for (std::size_t size = 0; size <= kWrappingStream.size(); ++size) {
        const Bytes part(kWrappingStream.begin(),
                         kWrappingStream.begin() + static_cast<long>(size));
        const Bytes out = Written(Decode(part, 256));
        ASSERT_LE(out.size(), full.size());
        EXPECT_EQ(out, Bytes(full.begin(), full.begin() + static_cast<long>(out.size())))
            << "input of " << size << " bytes";
    }
}

TEST(LZSSBoundsTest, FullLiteralGroupNearTheEndTakesOnlyTheBytesThatRemain) {
    const Bytes stream = {0xFF, 1, 2, 3, 4, 5};
    EXPECT_EQ(Written(Decode(stream, 256)), (Bytes{1, 2, 3, 4, 5}));
}

TEST(LZSSBoundsTest, FullLiteralGroupStopsAtTheCapacity) {
    EXPECT_EQ(Decode(Concat({{0xFF}, kEightLiterals}), 5), (Bytes{'a', 'b', 'c', 'd', 'e'}));
}

TEST(LZSSBoundsTest, ReferenceCutByTheEndOfInputWritesNothing) {
    EXPECT_EQ(Written(Decode({0x01, 'A', 0x00}, 256)), (Bytes{'A'}));
    EXPECT_EQ(Written(Decode({0x00, 0x05}, 256)), Bytes{});
}

TEST(LZSSBoundsTest, ReferenceLongerThanTheRoomLeftFillsTheRoom) {
    EXPECT_EQ(Decode({0x00, 0x00, 0x0F}, 7), Repeat(0xFF, 7));
}

// After a ring's worth of output, references read the bytes that lie their distance back:
// from the previous byte to a whole ring back, overlapping their own bytes or not, whole or
// cut anywhere by the capacity.
TEST(LZSSLongStreamTest, ReferencesAfterTheFirstRingReadTheBytesTheirDistanceBack) {
    Bytes stream;
    Bytes expected;
    while (expected.size() < Kelvo_lib::kLZSSRingSize) {
        stream.push_back(0xFF);
        for (int i = 0; i < 8; ++i) {
            expected.push_back(static_cast<unsigned char>(expected.size() * 37 % 251));
            stream.push_back(expected.back());
        }
    }
    struct Reach {
        unsigned int distance;
        unsigned int length;
    };
    const Reach reaches[] = {{1, 18},  {7, 18},  {8, 17},    {9, 3},
                             {16, 18}, {17, 11}, {4095, 18}, {4096, 18}};
    stream.push_back(0x00);
    for (const Reach& reach : reaches) {
        const std::size_t position =
            (Kelvo_lib::kLZSSRingStart + expected.size() - reach.distance) %
            Kelvo_lib::kLZSSRingSize;
        stream.push_back(static_cast<unsigned char>(position));
        stream.push_back(static_cast<unsigned char>(((position >> 4) & 0xF0) |
                                                    (reach.length - Kelvo_lib::kLZSSMinMatch)));
        for (unsigned int i = 0; i < reach.length; ++i) {
            expected.push_back(expected[expected.size() - reach.distance]);
        }
    }
    for (std::size_t capacity = Kelvo_lib::kLZSSRingSize - 8; capacity <= expected.size();
         ++capacity) {
        EXPECT_EQ(Decode(stream, capacity),
                  Bytes(expected.begin(), expected.begin() + static_cast<long>(capacity)))
            << "capacity " << capacity;
    }
}

} // namespace
