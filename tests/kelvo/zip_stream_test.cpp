// The zip stream: bodies written by its deflating side and by zlib itself read back at
// any transfer-buffer and read size, the source left just after the compressed data,
// and the codes of truncated, corrupt and refused streams.
#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/io/kzipiostream.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <zlib.h>

using Kelvo_lib::kCodec;
using Kelvo_lib::kIOStreamSeekable;
using Kelvo_lib::kMemoryIOStream;
using Kelvo_lib::kZipIOStream;

namespace {

// Text-like bytes that compress but not to nothing.
std::string Body(size_t size) {
    std::string body(size, '\0');
    unsigned int seed = 12345;
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        body[i] = "the quick brown fox jumps over a lazy dog "[(seed >> 16) % 42];
    }
    return body;
}

// Compresses through the zip stream, writing the body in pieces of the given size.
std::string Deflate(const std::string& body, unsigned int piece = 1000,
                    unsigned int bufferSize = 512) {
    std::string out(body.size() + 1024, '\0');
    kMemoryIOStream sink(out.data(), static_cast<unsigned int>(out.size()), K_IO_ACCESS_WRITE);
    {
        kZipIOStream zip(&sink, K_IO_ACCESS_WRITE, bufferSize);
        for (size_t at = 0; at < body.size(); at += piece) {
            const unsigned int size =
                static_cast<unsigned int>(std::min<size_t>(piece, body.size() - at));
            EXPECT_EQ(zip.Write(body.data() + at, size), size);
        }
        EXPECT_EQ(zip.FinishStream(), 1);
    }
    out.resize(sink.Tell());
    return out;
}

// Reads through a zip stream in pieces until a read gives 0.
std::string Inflate(kIOStreamSeekable* source, unsigned int bufferSize, unsigned int piece) {
    kZipIOStream zip(source, K_IO_ACCESS_READ, bufferSize);
    std::string out;
    std::string chunk(piece, '\0');
    while (const unsigned int got = zip.Read(chunk.data(), piece)) {
        out.append(chunk.data(), got);
    }
    EXPECT_EQ(zip.GetErrorCode(), 0);
    return out;
}

struct ReadCase {
    unsigned int bufferSize;
    unsigned int piece;
};

class ZipReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ZipReadTest, ReadsInPiecesEqualOneLargeReadAndStopJustAfterTheData) {
    const std::string body = Body(20000);
    std::string file = "head" + Deflate(body) + "TAIL";
    kMemoryIOStream source(file.data(), static_cast<unsigned int>(file.size()), K_IO_ACCESS_READ);
    source.Seek(4, K_IO_SEEK_SET);
    EXPECT_EQ(Inflate(&source, GetParam().bufferSize, GetParam().piece), body);
    EXPECT_EQ(source.Tell(), file.size() - 4);
    char tail[4];
    source.Read(tail, 4);
    EXPECT_EQ(std::string(tail, 4), "TAIL");
}

INSTANTIATE_TEST_SUITE_P(BufferAndReadSizes, ZipReadTest,
                         testing::Values(ReadCase{1, 30000}, ReadCase{7, 30000},
                                         ReadCase{64, 30000}, ReadCase{4096, 30000},
                                         ReadCase{2048, 1}, ReadCase{7, 13}, ReadCase{4096, 20000},
                                         ReadCase{64, 4096}),
                         [](const testing::TestParamInfo<ReadCase>& info) {
                             return "Buffer" + std::to_string(info.param.bufferSize) + "Read" +
                                    std::to_string(info.param.piece);
                         });

TEST(ZipStreamTest, ReadsWhatZlibItselfCompressed) {
    const std::string body = Body(5000);
    uLongf size = compressBound(body.size());
    std::string packed(size, '\0');
    ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                        reinterpret_cast<const Bytef*>(body.data()), body.size(), 9),
              Z_OK);
    packed.resize(size);
    kMemoryIOStream source(packed.data(), static_cast<unsigned int>(size), K_IO_ACCESS_READ);
    EXPECT_EQ(Inflate(&source, 2048, 4096), body);
}

TEST(ZipStreamTest, ReadingExactlyTheBodyThenOnceMoreGivesNothing) {
    const std::string body = Body(3000);
    std::string packed = Deflate(body);
    kMemoryIOStream source(packed.data(), static_cast<unsigned int>(packed.size()),
                           K_IO_ACCESS_READ);
    kZipIOStream zip(&source, K_IO_ACCESS_READ, 2048);
    EXPECT_STREQ(zip.GetErrorString(), "No error");
    std::string out(body.size(), '\0');
    EXPECT_EQ(zip.Read(out.data(), static_cast<unsigned int>(out.size())), body.size());
    EXPECT_EQ(out, body);
    EXPECT_EQ(zip.Read(out.data(), 10), 0u);
    EXPECT_EQ(zip.GetErrorCode(), 0);
    EXPECT_EQ(zip.FinishStream(), 0) << "already ended by the data";
    EXPECT_EQ(source.Tell(), packed.size());
}

TEST(ZipStreamTest, TruncatedOrCorruptBodyStopsWithCode2) {
    const std::string body = Body(20000);
    const std::string packed = Deflate(body);
    std::string corrupt = packed;
    corrupt[packed.size() / 2] ^= 0x5A;
    corrupt[packed.size() / 2 + 1] ^= 0xA5;
    for (std::string bytes : {packed.substr(0, packed.size() / 2), packed.substr(0, 2),
                              std::string(), corrupt, std::string("\x78\x9c\xff\xff", 4)}) {
        kMemoryIOStream source(bytes.data(), static_cast<unsigned int>(bytes.size()),
                               K_IO_ACCESS_READ);
        kZipIOStream zip(&source, K_IO_ACCESS_READ, 64);
        std::string out(body.size() + 1, '\0');
        const unsigned int got = zip.Read(out.data(), static_cast<unsigned int>(out.size()));
        EXPECT_LE(got, body.size());
        EXPECT_EQ(out.substr(0, std::min<size_t>(got, 100)),
                  body.substr(0, std::min<size_t>(got, 100)));
        EXPECT_EQ(zip.GetErrorCode(), 2) << bytes.size();
        EXPECT_STREQ(zip.GetErrorString(), "An interal codec error has occured");
        EXPECT_FALSE(zip.Reading());
        EXPECT_EQ(zip.Read(out.data(), 1), 0u);
    }
}

TEST(ZipStreamTest, RefusesTheWrongDirectionWithoutChangingTheCode) {
    char block[64] = {};
    kMemoryIOStream readOnly(block, sizeof(block), K_IO_ACCESS_READ);
    kMemoryIOStream writeOnly(block, sizeof(block), K_IO_ACCESS_WRITE);
    for (kZipIOStream* zip : {new kZipIOStream(&writeOnly, K_IO_ACCESS_READ, 64),
                              new kZipIOStream(&readOnly, K_IO_ACCESS_WRITE, 64),
                              new kZipIOStream(&readOnly, K_IO_ACCESS_READWRITE, 64),
                              new kZipIOStream(&readOnly, K_IO_ACCESS_READ, 0),
                              new kZipIOStream(nullptr, K_IO_ACCESS_READ, 64)}) {
        EXPECT_EQ(zip->GetErrorCode(), 2);
        EXPECT_FALSE(zip->Reading());
        EXPECT_FALSE(zip->Writing());
        EXPECT_EQ(zip->Read(block, 4), 0u);
        EXPECT_EQ(zip->Write(block, 4), 0u);
        EXPECT_EQ(zip->Reset(), 2);
        delete zip;
    }
    kZipIOStream reader(&readOnly, K_IO_ACCESS_READ, 64);
    EXPECT_EQ(reader.Write(block, 4), 0u);
    EXPECT_EQ(reader.GetErrorCode(), 0);
    kZipIOStream writer(&writeOnly, K_IO_ACCESS_WRITE, 64);
    EXPECT_EQ(writer.Read(block, 4), 0u);
    EXPECT_EQ(writer.GetErrorCode(), 0);
    EXPECT_TRUE(writer.Writing());
    EXPECT_EQ(writer.GetStream(), &writeOnly);
}

TEST(ZipStreamTest, FinishingAReadingStreamEndsItNormally) {
    std::string packed = Deflate(Body(100));
    kMemoryIOStream source(packed.data(), static_cast<unsigned int>(packed.size()),
                           K_IO_ACCESS_READ);
    kZipIOStream zip(&source, K_IO_ACCESS_READ, 16);
    char out[10];
    EXPECT_EQ(zip.Read(out, 10), 10u);
    EXPECT_EQ(zip.FinishStream(), 1);
    EXPECT_STREQ(zip.GetErrorString(), "Codec stream has ended normally");
    EXPECT_STREQ(kCodec::GetErrorString(7), "Unknown codec error code");
    EXPECT_FALSE(zip.Reading());
    EXPECT_EQ(zip.Read(out, 10), 0u);
}

TEST(ZipStreamTest, EmptyWritesAndRepeatedFlushesKeepTheStreamWhole) {
    const std::string body = Body(9000);
    std::string out(20000, '\0');
    kMemoryIOStream sink(out.data(), static_cast<unsigned int>(out.size()), K_IO_ACCESS_WRITE);
    {
        kZipIOStream zip(&sink, K_IO_ACCESS_WRITE, 100);
        EXPECT_EQ(zip.Write(body.data(), 0), 0u);
        EXPECT_EQ(zip.GetErrorCode(), 0);
        EXPECT_EQ(zip.Write(body.data(), 4000), 4000u);
        EXPECT_EQ(zip.FlushStream(), 0);
        EXPECT_EQ(zip.FlushStream(), 0);
        EXPECT_EQ(zip.Write(body.data() + 4000, 5000), 5000u);
        EXPECT_EQ(zip.GetErrorCode(), 0);
    } // the destructor finishes the stream
    kMemoryIOStream source(out.data(), sink.Tell(), K_IO_ACCESS_READ);
    EXPECT_EQ(Inflate(&source, 256, 1000), body);
}

TEST(ZipStreamTest, ShortWriteToTheSinkGivesCode3) {
    const std::string body = Body(50000);
    char small[100];
    kMemoryIOStream sink(small, sizeof(small), K_IO_ACCESS_WRITE);
    kZipIOStream zip(&sink, K_IO_ACCESS_WRITE, 64);
    zip.Write(body.data(), static_cast<unsigned int>(body.size()));
    EXPECT_EQ(zip.GetErrorCode(), 3);
    EXPECT_STREQ(zip.GetErrorString(), "Error writing to the output stream");
    EXPECT_EQ(zip.Write(body.data(), 10), 0u);
    EXPECT_EQ(zip.FinishStream(), 3);
}

TEST(ZipStreamTest, ResetStartsAgainAfterAFinishedRead) {
    const std::string first = Body(500);
    std::string file = Deflate(first) + Deflate("second body");
    kMemoryIOStream source(file.data(), static_cast<unsigned int>(file.size()), K_IO_ACCESS_READ);
    kZipIOStream zip(&source, K_IO_ACCESS_READ, 32);
    std::string out(600, '\0');
    EXPECT_EQ(zip.Read(out.data(), 600), 500u);
    EXPECT_EQ(zip.Reset(), 0);
    EXPECT_EQ(zip.Read(out.data(), 600), 11u);
    EXPECT_EQ(out.substr(0, 11), "second body");
}

} // namespace
