// Ogg Vorbis music streams read from the disc: the format of the file, reads of any size
// carrying decoded blocks over, the end of a non-looping stream, looping with the loop start
// after the end, and files that are missing, broken or cannot be held.
#include "ogg_test_support.h"
#include "sound_test_support.h"

#include <kelvo/platform/kplatform.h>

#include <console/mem.h>

namespace {

using namespace ogg_test;
using Kelvo_lib::kOGGStream;
using Kelvo_lib::kSAMPLE_FORMAT;
using sound_test::LogRecorder;

constexpr unsigned int kRate = 32000;

// Half a second of 1 kHz left and 2 kHz right, whole periods, so a loop is seamless.
std::vector<short> Music(unsigned int frames = kRate / 2) {
    return ogg_codec::Tones(frames, kRate, {1000, 2000}, 8000);
}

class OggStreamTest : public testing::Test {
protected:
    // The file on the disc; its bytes as plain vorbisfile decodes them.
    Bytes Place(const std::string& name, const Bytes& file, int wordSize = 2) const {
        m_disc.Write(name, file);
        return ogg_codec::Decode(file, wordSize);
    }

    DiscDirectory m_disc;
    LogRecorder m_log;
};

TEST_F(OggStreamTest, OpensWithTheFilesFormatAndDecodesItWhole) {
    const struct {
        const char* name;
        int channels;
        unsigned int rate;
        bool b8bit;
        kSAMPLE_FORMAT format;
    } cases[] = {{"mono.ogg", 1, 32000, false, Kelvo_lib::K_SAMPLE_PCM_I16_1CH},
                 {"stereo.ogg", 2, 44100, false, Kelvo_lib::K_SAMPLE_PCM_I16_2CH},
                 {"bytes.ogg", 2, 22050, true, Kelvo_lib::K_SAMPLE_PCM_I8_2CH}};
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        const std::vector<double> tones = {440, 660};
        const std::vector<short> pcm = ogg_codec::Tones(
            entry.rate / 4, entry.rate,
            std::vector<double>(tones.begin(), tones.begin() + entry.channels), 6000);
        const Bytes expected = Place(entry.name, ogg_codec::Encode(pcm, entry.channels, entry.rate),
                                     entry.b8bit ? 1 : 2);
        kOGGStream stream(entry.name, entry.b8bit);
        EXPECT_EQ(stream.Format(), entry.format);
        EXPECT_EQ(stream.Frequency(), entry.rate);
        EXPECT_EQ(stream.GetFlags(), 0u);
        ASSERT_FALSE(stream.IsEOF());
        EXPECT_EQ(expected.size(), pcm.size() * (entry.b8bit ? 1 : 2));
        EXPECT_EQ(ReadInSizes(stream, {16384}, expected.size() + 1), expected);
        EXPECT_TRUE(stream.IsEOF());
    }
    EXPECT_TRUE(m_log.Logged("OGGStream: Loaded stereo.ogg"));
    EXPECT_TRUE(m_log.Logged("Bitstream is 2 channel, 44100Hz"));
}

// A block of 4,096 bytes is decoded at a time; whatever a read leaves of it comes first in
// the next, so reads of any sizes join up to the same bytes.
TEST_F(OggStreamTest, ReadsOfAnySizeJoinUpWithoutLosingOrRepeatingBytes) {
    const Bytes expected = Place("music.ogg", ogg_codec::Encode(Music(), 2, kRate));
    const std::vector<std::vector<unsigned int>> patterns = {
        {10, 100}, {1}, {4095}, {4096}, {4097}, {3, 8190, 16384}, {16384}, {100000}};
    for (const auto& sizes : patterns) {
        SCOPED_TRACE(::testing::PrintToString(sizes));
        kOGGStream stream("music.ogg", false);
        EXPECT_EQ(ReadInSizes(stream, sizes, expected.size()), expected);
    }
}

TEST_F(OggStreamTest, NonLoopingEndGivesAShortReadThenEndOfStreamUntilRewound) {
    const Bytes expected = Place("music.ogg", ogg_codec::Encode(Music(), 2, kRate));
    kOGGStream stream("music.ogg", false);
    ASSERT_EQ(ReadInSizes(stream, {4000}, expected.size() - 1000).size(), expected.size() - 1000);
    EXPECT_FALSE(stream.IsEOF());
    Bytes tail(5000, 0xAA);
    EXPECT_EQ(stream.Read(tail.data(), 5000), 1000u);
    EXPECT_TRUE(std::equal(tail.begin(), tail.begin() + 1000, expected.end() - 1000));
    EXPECT_TRUE(stream.IsEOF());
    EXPECT_EQ(stream.Read(tail.data(), 5000), 0u);

    EXPECT_EQ(stream.Rewind(true), 0);
    EXPECT_FALSE(stream.IsEOF());
    EXPECT_EQ(ReadInSizes(stream, {7777}, expected.size() + 1), expected);
}

// Looping continues from the start at the end of the data, also when the file is shorter
// than one read: every read is whole and the loop start follows the last byte.
TEST_F(OggStreamTest, LoopingRepeatsTheWholeFileAcrossReads) {
    const struct {
        unsigned int frames;
        std::vector<unsigned int> sizes;
    } cases[] = {{kRate / 2, {16384}}, {kRate / 2, {4093}}, {320, {16384}}, {320, {3, 4096}}};
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.frames);
        const std::vector<short> pcm = Music(entry.frames);
        const Bytes once = Place("loop.ogg", ogg_codec::Encode(pcm, 2, kRate));
        kOGGStream stream("loop.ogg", false);
        stream.SetLoop(true);
        const Bytes expected = Repeated(once, 4);
        const Bytes looped = ReadInSizes(stream, entry.sizes, expected.size() - 17);
        EXPECT_EQ(looped, Bytes(expected.begin(), expected.end() - 17));
        EXPECT_FALSE(stream.IsEOF());
    }
}

TEST_F(OggStreamTest, LoopedTwiceEqualsThePcmTwiceWithinTheCodecsTolerance) {
    const std::vector<short> pcm = Music();
    Place("music.ogg", ogg_codec::Encode(pcm, 2, kRate));
    kOGGStream stream("music.ogg", false);
    stream.SetLoop(true);
    const Bytes twice = ReadInSizes(stream, {16384}, 4 * pcm.size());
    std::vector<short> pcmTwice(pcm);
    pcmTwice.insert(pcmTwice.end(), pcm.begin(), pcm.end());
    EXPECT_LT(RelativeError(twice, pcmTwice), 0.05);
}

// A file with headers and no audio: a looping read is silence of the whole size, in the
// output's own silence; without looping it ends at once.
TEST_F(OggStreamTest, FileWithoutAudioLoopsAsSilence) {
    Place("empty.ogg", ogg_codec::Encode({}, 2, kRate));
    for (const bool b8bit : {false, true}) {
        SCOPED_TRACE(b8bit);
        kOGGStream stream("empty.ogg", b8bit);
        ASSERT_FALSE(stream.IsEOF());
        stream.SetLoop(true);
        Bytes out(3000, 0x55);
        EXPECT_EQ(stream.Read(out.data(), 3000), 3000u);
        EXPECT_EQ(out, Bytes(3000, b8bit ? 0x80 : 0x00));
        stream.SetLoop(false);
        EXPECT_EQ(stream.Read(out.data(), 3000), 0u);
        EXPECT_TRUE(stream.IsEOF());
    }
}

Bytes Corrupted(Bytes file, size_t from) {
    for (size_t i = from; i < file.size(); i += 97) {
        file[i] ^= 0x5A;
    }
    return file;
}

// A stream whose file did not open stays at its end for good and never uses a decoder:
// reads give nothing, also looping, and it cannot be rewound.
TEST_F(OggStreamTest, FilesThatDoNotOpenLeaveTheStreamAtItsEnd) {
    const Bytes good = ogg_codec::Encode(Music(), 2, kRate);
    const struct {
        const char* name;
        Bytes file;
        const char* logged;
    } cases[] = {
        {"missing.ogg", {}, "Failed to load missing.ogg"},
        {"empty.ogg", {}, "empty.ogg is empty"},
        {"text.ogg", Bytes(5000, 'x'), "Bitstream is not Vorbis data."},
        {"first_page.ogg", Bytes(good.begin(), good.begin() + 58), "not Vorbis data"},
        {"broken_headers.ogg", Corrupted(good, 40), "Vorbis"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        if (std::string(entry.name) != "missing.ogg") {
            m_disc.Write(entry.name, entry.file);
        }
        m_log.lines.clear();
        kOGGStream stream(entry.name, false);
        EXPECT_TRUE(m_log.Logged(entry.logged));
        EXPECT_TRUE(stream.IsEOF());
        Bytes out(4096);
        EXPECT_EQ(stream.Read(out.data(), 4096), 0u);
        stream.SetLoop(true);
        EXPECT_EQ(stream.Read(out.data(), 4096), 0u);
        EXPECT_NE(stream.Rewind(true), 0);
        EXPECT_TRUE(stream.IsEOF());
    }
}

// Damage after the headers: the stream opens, plays what comes before it, skips what it
// cannot decode and ends (or, looping, still fills every read).
TEST_F(OggStreamTest, DamagedAudioIsSkippedAndEndsTheStream) {
    const Bytes good = ogg_codec::Encode(Music(4 * kRate), 2, kRate);
    const Bytes expected = ogg_codec::Decode(good);
    const size_t headers = ogg_codec::Encode({}, 2, kRate).size();
    const size_t middle = headers + (good.size() - headers) / 2;
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {{"cut.ogg", Bytes(good.begin(), good.begin() + static_cast<long>(middle))},
                 {"damaged.ogg", Corrupted(good, middle)}};
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        m_disc.Write(entry.name, entry.file);
        kOGGStream stream(entry.name, false);
        ASSERT_FALSE(stream.IsEOF());
        const Bytes read = ReadInSizes(stream, {4096}, 4 * expected.size());
        EXPECT_TRUE(stream.IsEOF());
        ASSERT_GT(read.size(), expected.size() / 10);
        EXPECT_LT(read.size(), expected.size());
        EXPECT_TRUE(
            std::equal(expected.begin(), expected.begin() + expected.size() / 10, read.begin()));

        kOGGStream looping(entry.name, false);
        looping.SetLoop(true);
        EXPECT_EQ(ReadInSizes(looping, {16384}, 3 * expected.size()).size(), 3 * expected.size());
    }
}

// The file's copy comes from the second arena after the disc's own buffer of it: with room
// for only one of them the stream is refused and gives back what it took.
TEST_F(OggStreamTest, FileCopyThatCannotBeAllocatedIsRefused) {
    const Bytes file = ogg_codec::Encode(Music(), 2, kRate);
    m_disc.Write("music.ogg", file);
    MEMHeapHandle heap = static_cast<MEMHeapHandle>(MyDemoAllocator2.heap);
    MEMFlushQuarantineForExpHeap(heap);
    const u32 room = static_cast<u32>(file.size()) * 3 / 2;
    void* hole = MEMAllocFromAllocator(&MyDemoAllocator2, room);
    ASSERT_NE(hole, nullptr);
    std::vector<void*> filler;
    for (u32 size; (size = MEMGetAllocatableSizeForExpHeapEx(heap, 32)) >= 32;) {
        filler.push_back(MEMAllocFromAllocator(&MyDemoAllocator2, size));
        ASSERT_NE(filler.back(), nullptr);
    }
    MEMFreeToAllocator(&MyDemoAllocator2, hole);
    {
        kOGGStream stream("music.ogg", false);
        EXPECT_TRUE(m_log.Logged("OGGStream: No memory for the"));
        EXPECT_TRUE(stream.IsEOF());
        Bytes out(100);
        EXPECT_EQ(stream.Read(out.data(), 100), 0u);
    }
    MEMFlushQuarantineForExpHeap(heap);
    EXPECT_GE(MEMGetAllocatableSizeForExpHeapEx(heap, 32), room);
    for (void* block : filler) {
        MEMFreeToAllocator(&MyDemoAllocator2, block);
    }
}

} // namespace
