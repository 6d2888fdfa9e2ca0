// What each loader makes of unusual and bad headers: WAVE chunk order and formats, ADS
// fields, DSP addresses and SWAV types.
#include "sound_test_support.h"

#include <kelvo/audio/kdspadpcm.h>

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

using namespace Kelvo_lib;
using sound_test::Bytes;
using sound_test::Load;
using sound_test::LogRecorder;
using sound_test::MakeSound;
using sound_test::Write;

void PutLittle(Bytes& bytes, unsigned int value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

Bytes Chunk(const char* id, const Bytes& payload) {
    Bytes chunk(id, id + 4);
    PutLittle(chunk, static_cast<unsigned int>(payload.size()), 4);
    chunk.insert(chunk.end(), payload.begin(), payload.end());
    if (payload.size() % 2 != 0) {
        chunk.push_back(0);
    }
    return chunk;
}

Bytes Riff(std::initializer_list<Bytes> chunks) {
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const Bytes& chunk : chunks) {
        body.insert(body.end(), chunk.begin(), chunk.end());
    }
    Bytes file = {'R', 'I', 'F', 'F'};
    PutLittle(file, static_cast<unsigned int>(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

Bytes Format(unsigned int tag, unsigned int channels, unsigned int blockAlign, unsigned int bits) {
    Bytes format;
    PutLittle(format, tag, 2);
    PutLittle(format, channels, 2);
    PutLittle(format, 22050, 4);
    PutLittle(format, 22050 * blockAlign, 4);
    PutLittle(format, blockAlign, 2);
    PutLittle(format, bits, 2);
    return format;
}

Bytes Extensible(unsigned int containerBits, unsigned int validBits, unsigned int code) {
    Bytes format = Format(0xFFFE, 2, 2 * containerBits / 8, containerBits);
    PutLittle(format, 22, 2);
    PutLittle(format, validBits, 2);
    PutLittle(format, 3, 4);
    PutLittle(format, code, 4);
    for (const unsigned char byte :
         {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}) {
        format.push_back(byte);
    }
    return format;
}

const Bytes kData(32, 0x11);

TEST(WaveLoaderTest, ReadsPlainAndExtensibleFormats) {
    const struct {
        const char* name;
        Bytes file;
        kSAMPLE_FORMAT format;
    } cases[] = {
        {"mono 16-bit", Riff({Chunk("fmt ", Format(1, 1, 2, 16)), Chunk("data", kData)}),
         K_SAMPLE_PCM_I16_1CH},
        {"24 valid bits in 32", Riff({Chunk("fmt ", Extensible(32, 24, 1)), Chunk("data", kData)}),
         kSampleFormat(2, 24, 32, K_SAMPLE_DATA_PCM_INTEGER)},
        {"extensible IMA", Riff({Chunk("fmt ", Extensible(4, 4, 0x11)), Chunk("data", kData)}),
         kSampleFormat(2, 4, 4, K_SAMPLE_DATA_IMA_ADPCM)},
        {"odd chunks padded, unknown chunks skipped",
         Riff({Chunk("LIST", Bytes(5, 1)), Chunk("fmt ", Format(1, 1, 2, 16)),
               Chunk("junk", Bytes(3, 2)), Chunk("data", kData)}),
         K_SAMPLE_PCM_I16_1CH},
        {"data before the format is skipped for a later one",
         Riff({Chunk("data", Bytes(8, 9)), Chunk("fmt ", Format(1, 1, 2, 16)),
               Chunk("data", kData)}),
         K_SAMPLE_PCM_I16_1CH},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        const auto sound = Load(kSound_WAVLoad, entry.file);
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(sound->Format(), entry.format);
        EXPECT_EQ(sound->Frequency(), 22050u);
        EXPECT_EQ(sound_test::DataOf(*sound), kData);
    }
}

TEST(WaveLoaderTest, RefusesFilesWithoutAPlayableFormatAndItsData) {
    Bytes longData = Riff({Chunk("fmt ", Format(1, 1, 2, 16)), Chunk("data", kData)});
    longData[40] = 0xFF; // the data chunk claims more than the file holds
    Bytes shortRiff = Riff({Chunk("fmt ", Format(1, 1, 2, 16)), Chunk("data", kData)});
    shortRiff[4] = 20; // the RIFF ends inside the format chunk
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"no RIFF", Bytes(64, 0)},
        {"data only before the format",
         Riff({Chunk("data", kData), Chunk("fmt ", Format(1, 1, 2, 16))})},
        {"no format", Riff({Chunk("data", kData)})},
        {"0 channels", Riff({Chunk("fmt ", Format(1, 0, 2, 16)), Chunk("data", kData)})},
        {"0 bits", Riff({Chunk("fmt ", Format(1, 1, 2, 0)), Chunk("data", kData)})},
        {"256 channels", Riff({Chunk("fmt ", Format(1, 256, 512, 16)), Chunk("data", kData)})},
        {"unknown tag", Riff({Chunk("fmt ", Format(3, 1, 4, 32)), Chunk("data", kData)})},
        {"format chunk too short", Riff({Chunk("fmt ", Bytes(12, 1)), Chunk("data", kData)})},
        {"extension too short",
         Riff({Chunk("fmt ", Format(0xFFFE, 2, 4, 16)), Chunk("data", kData)})},
        {"unknown sub-format", Riff({Chunk("fmt ", Extensible(32, 32, 3)), Chunk("data", kData)})},
        {"data past the end", longData},
        {"RIFF ends before the data", shortRiff},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        LogRecorder log;
        EXPECT_EQ(Load(kSound_WAVLoad, entry.file), nullptr);
        EXPECT_FALSE(log.lines.empty());
    }
}

Bytes Ads(unsigned int headerSize, unsigned int channels, unsigned int interleave,
          const char* bodyId, unsigned int bodySize) {
    auto big = [](Bytes& bytes, unsigned int value) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            bytes.push_back(static_cast<unsigned char>(value >> shift));
        }
    };
    Bytes file = {'S', 'S', 'h', 'd'};
    for (const unsigned int field : {headerSize, 0x10u, 48000u, channels, interleave, 0u, 0u}) {
        big(file, field);
    }
    file.insert(file.end(), bodyId, bodyId + 4);
    big(file, bodySize);
    file.insert(file.end(), 64, 0);
    return file;
}

TEST(AdsLoaderTest, RefusesHeadersItCannotPlayWithTheirMessages) {
    const struct {
        const char* name;
        Bytes file;
        const char* message;
    } cases[] = {
        {"interleave 256", Ads(24, 2, 256, "SSbd", 64),
         "Error, ADS interleave is 256, must be 512"},
        {"header size", Ads(28, 2, 512, "SSbd", 64), "Invalid header size!"},
        {"body id", Ads(24, 2, 512, "SSxx", 64), "Invalid body header id!"},
        {"no channels", Ads(24, 0, 512, "SSbd", 64), "Invalid channel count 0!"},
        {"body past the end", Ads(24, 2, 512, "SSbd", 65), "runs past the end"},
        {"header id", Bytes(48, 0), "Invalid header id!"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        LogRecorder log;
        EXPECT_EQ(Load(kSound_ADSLoad, entry.file), nullptr);
        EXPECT_TRUE(log.Logged(entry.message));
    }
    const auto sound = Load(kSound_ADSLoad, Ads(24, 2, 512, "SSbd", 64));
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->Format(), K_SAMPLE_VAG_ADPCM_2CH);
}

TEST(DspLoaderTest, RefusesAddressesOutsideTheDataAndOtherFormats) {
    std::vector<short> samples(100, 1000);
    const auto sound = sound_test::SoundPtr(kSound_DSPEncode(samples.data(), 100, 32000, true, 20));
    const Bytes file = Write(kSound_DSPWrite, *sound);
    kDSPADPCMHeader header;
    kDSPADPCM_ReadHeader(file.data(), &header);
    const unsigned int dataNibbles = 2 * static_cast<unsigned int>(file.size() - K_DSP_HEADER_SIZE);
    const struct {
        const char* name;
        unsigned int kDSPADPCMHeader::*field;
        unsigned int value;
        bool loads;
    } cases[] = {
        {"end at the last nibble", &kDSPADPCMHeader::endAddress, dataNibbles - 1, true},
        {"end past the data", &kDSPADPCMHeader::endAddress, dataNibbles, false},
        {"start after the end", &kDSPADPCMHeader::currentAddress, header.endAddress + 1, false},
        {"loop after the end", &kDSPADPCMHeader::loopAddress, header.endAddress + 1, false},
        {"huge end", &kDSPADPCMHeader::endAddress, 0xFFFFFFFFu, false},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        kDSPADPCMHeader changed = header;
        changed.*entry.field = entry.value;
        Bytes bad = file;
        kDSPADPCM_WriteHeader(changed, bad.data());
        EXPECT_EQ(Load(kSound_DSPLoad, bad) != nullptr, entry.loads);
    }
    kDSPADPCMHeader pcm = header;
    pcm.format = 10;
    Bytes bad = file;
    kDSPADPCM_WriteHeader(pcm, bad.data());
    LogRecorder log;
    EXPECT_EQ(Load(kSound_DSPLoad, bad), nullptr);
    EXPECT_TRUE(log.Logged("Unsupported sample format 10"));
}

TEST(DspLoaderTest, LogsTheSampleCountRateAndLengths) {
    std::vector<short> samples(28000, 0);
    const Bytes file =
        Write(kSound_DSPWrite,
              *sound_test::SoundPtr(kSound_DSPEncode(samples.data(), 28000, 14000, false, 0)));
    LogRecorder log;
    ASSERT_NE(Load(kSound_DSPLoad, file), nullptr);
    EXPECT_TRUE(log.Logged("Samples: 28000"));
    EXPECT_TRUE(log.Logged("Rate: 14000"));
    EXPECT_TRUE(log.Logged("Length: 2.00sec"));
    EXPECT_TRUE(log.Logged("Sound->Length: 2.01sec"));
}

TEST(SwavLoaderTest, RefusesUnknownWaveTypes) {
    Bytes file = Write(kSound_SWAVWrite, *MakeSound(K_SAMPLE_PCM_I8_1CH, 8000, Bytes(16, 1)));
    file[24] = 3;
    LogRecorder log;
    EXPECT_EQ(Load(kSound_SWAVLoad, file), nullptr);
    EXPECT_TRUE(log.Logged("kSound_SWAVLoad: Unknown format 3"));
}

TEST(VagLoaderTest, RefusesAMissingSignature) {
    Bytes file = Write(kSound_VAGWrite, *MakeSound(K_SAMPLE_VAG_ADPCM_1CH, 8000, Bytes(32, 0)));
    file[0] = 'X';
    LogRecorder log;
    EXPECT_EQ(Load(kSound_VAGLoad, file), nullptr);
    EXPECT_TRUE(log.Logged("Invalid VAG header."));
}

} // namespace
