// kSound and the six sound file loaders: files written by our writers load back,
// the loader follows the name's ending, and bad or truncated files give null.
#include "sound_test_support.h"

#include <kelvo/audio/kdspadpcm.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace Kelvo_lib;
using sound_test::Bytes;
using sound_test::DataOf;
using sound_test::Load;
using sound_test::LogRecorder;
using sound_test::MakeSound;
using sound_test::Write;

Bytes Counting(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<unsigned char>(i * 7 + 3);
    }
    return bytes;
}

// VAG ADPCM frames without an end flag (flag bytes 0).
Bytes VagFrames(size_t frames) {
    Bytes bytes = Counting(frames * 16);
    for (size_t i = 0; i < frames; ++i) {
        bytes[i * 16 + 1] = 0;
    }
    return bytes;
}

// A DSP file of 280 samples (20 frames) from our encoder.
sound_test::SoundPtr EncodedDsp() {
    std::vector<short> samples(280);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<short>(8000 * std::sin(i * 0.1));
    }
    return sound_test::SoundPtr(kSound_DSPEncode(samples.data(), 280, 22050, false, 0));
}

struct SoundFormatCase {
    const char* name;
    sound_test::Loader loader;
    sound_test::Writer writer;
    kSAMPLE_FORMAT format;
    unsigned int rate;
    Bytes data;
    unsigned int headerBytes; // before the data in the file
    unsigned int padBytes;    // after it
    bool sizeInHeader;        // else the loader takes whatever follows the header
};

std::vector<SoundFormatCase> FormatCases() {
    return {
        {"wav pcm16 stereo", kSound_WAVLoad, kSound_WAVWrite, K_SAMPLE_PCM_I16_2CH, 44100,
         Counting(400), 44, 0, true},
        {"wav pcm8 odd size", kSound_WAVLoad, kSound_WAVWrite, K_SAMPLE_PCM_I8_1CH, 8000,
         Counting(101), 44, 1, true},
        {"wav 24 bits in 32", kSound_WAVLoad, kSound_WAVWrite, kSampleFormat(2, 24, 32, 1), 48000,
         Counting(64), 68, 0, true},
        {"wav ima", kSound_WAVLoad, kSound_WAVWrite, K_SAMPLE_IMA_ADPCM_1CH, 22050, Counting(256),
         44, 0, true},
        {"vag", kSound_VAGLoad, kSound_VAGWrite, K_SAMPLE_VAG_ADPCM_1CH, 22050, VagFrames(8), 48, 0,
         false},
        {"ads", kSound_ADSLoad, kSound_ADSWrite, K_SAMPLE_VAG_ADPCM_2CH, 48000, VagFrames(64), 40,
         0, true},
        {"vb", kSound_VBLoad, kSound_VBWrite, K_SAMPLE_VAG_ADPCM_1CH, 25000, VagFrames(5), 0, 0,
         false},
        {"swav pcm8", kSound_SWAVLoad, kSound_SWAVWrite, K_SAMPLE_PCM_I8_1CH, 16000, Counting(90),
         36, 0, false},
        {"swav pcm16", kSound_SWAVLoad, kSound_SWAVWrite, K_SAMPLE_PCM_I16_1CH, 32728,
         Counting(200), 36, 0, false},
        {"swav ima", kSound_SWAVLoad, kSound_SWAVWrite, K_SAMPLE_IMA_ADPCM_1CH, 11025, Counting(64),
         36, 0, false},
    };
}

TEST(SoundFileTest, EveryWrittenFileLoadsBackTheSameSound) {
    for (const SoundFormatCase& format : FormatCases()) {
        SCOPED_TRACE(format.name);
        const auto sound = MakeSound(format.format, format.rate, format.data);
        const Bytes file = Write(format.writer, *sound);
        ASSERT_EQ(file.size(), format.headerBytes + format.data.size() + format.padBytes);
        const auto loaded = Load(format.loader, file);
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->Format(), format.format);
        EXPECT_EQ(loaded->Frequency(), format.rate);
        EXPECT_EQ(DataOf(*loaded), format.data);
        EXPECT_EQ(loaded->Flags(), 0u);
    }
    const auto dsp = EncodedDsp();
    const auto loaded = Load(kSound_DSPLoad, Write(kSound_DSPWrite, *dsp));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(DataOf(*loaded), DataOf(*dsp));
    EXPECT_EQ(loaded->Frequency(), 22050u);
}

// Loaders whose data size comes from the header refuse every truncation; the others take
// what follows their header, and refuse a file too short for it.
TEST(SoundFileTest, TruncatedFilesGiveNullOrOnlyWhatIsThere) {
    for (const SoundFormatCase& format : FormatCases()) {
        SCOPED_TRACE(format.name);
        const Bytes file =
            Write(format.writer, *MakeSound(format.format, format.rate, format.data));
        for (size_t length = 0; length < file.size() - format.padBytes; ++length) {
            const auto loaded = Load(format.loader, Bytes(file.begin(), file.begin() + length));
            if (format.sizeInHeader || length < format.headerBytes) {
                ASSERT_EQ(loaded, nullptr) << length;
            } else {
                ASSERT_NE(loaded, nullptr) << length;
                ASSERT_EQ(loaded->DataSize(), length - format.headerBytes) << length;
            }
        }
    }
    const Bytes dsp = Write(kSound_DSPWrite, *EncodedDsp());
    for (size_t length = 0; length < dsp.size(); ++length) {
        ASSERT_EQ(Load(kSound_DSPLoad, Bytes(dsp.begin(), dsp.begin() + length)), nullptr)
            << length;
    }
}

TEST(SoundFileTest, ImportChoosesTheLoaderByTheNameEndingInAnyCase) {
    const Bytes dsp = Write(kSound_DSPWrite, *EncodedDsp());
    const auto vag = MakeSound(K_SAMPLE_VAG_ADPCM_1CH, 22050, VagFrames(4));
    const auto pcm = MakeSound(K_SAMPLE_PCM_I16_1CH, 16000, Counting(32));
    const struct {
        const char* name;
        Bytes file;
        kSAMPLE_FORMAT format; // K_SAMPLE_UNKNOWN: null
    } cases[] = {
        {"wii/audio/click.dsp", dsp, K_SAMPLE_DSP_ADPCM_1CH},
        {"CLICK.DSP", dsp, K_SAMPLE_DSP_ADPCM_1CH},
        {"a.Wav", Write(kSound_WAVWrite, *pcm), K_SAMPLE_PCM_I16_1CH},
        {"a.swav", Write(kSound_SWAVWrite, *pcm), K_SAMPLE_PCM_I16_1CH},
        {"a.SWAV", Write(kSound_WAVWrite, *pcm), K_SAMPLE_UNKNOWN}, // never the WAV loader
        {"a.vag", Write(kSound_VAGWrite, *vag), K_SAMPLE_VAG_ADPCM_1CH},
        {"a.vb", Write(kSound_VBWrite, *vag), K_SAMPLE_VAG_ADPCM_1CH},
        {"a.ads", Write(kSound_ADSWrite, *vag), K_SAMPLE_VAG_ADPCM_1CH},
        {"vb", Write(kSound_VBWrite, *vag), K_SAMPLE_UNKNOWN},
        {"a.mp3", dsp, K_SAMPLE_UNKNOWN},
        {"", dsp, K_SAMPLE_UNKNOWN},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        const auto sound = sound_test::Import(entry.file, entry.name);
        ASSERT_EQ(sound != nullptr, entry.format != K_SAMPLE_UNKNOWN);
        if (sound != nullptr) {
            EXPECT_EQ(sound->Format(), entry.format);
        }
    }
    Bytes file = dsp;
    kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()), K_IO_ACCESS_READ);
    EXPECT_EQ(kSound::Import(&stream, nullptr), nullptr);
    EXPECT_EQ(kSound::Import(nullptr, "a.dsp"), nullptr);
}

TEST(SoundTest, VagDataEndsWithTheFirstFrameCarryingTheEndFlag) {
    Bytes data = VagFrames(5);
    data[2 * 16 + 1] = 0x01 | 0x04 | 0x02;
    data[4 * 16 + 1] = 0x01;
    const auto sound = MakeSound(K_SAMPLE_VAG_ADPCM_1CH, 22050, data);
    EXPECT_EQ(sound->DataSize(), 48u);
    EXPECT_EQ(DataOf(*sound)[2 * 16 + 1], 0x03); // the loop flag cleared
    EXPECT_EQ(MakeSound(K_SAMPLE_VAG_ADPCM_1CH, 22050, VagFrames(5))->DataSize(), 80u);
    // The end flag of a frame cut short keeps the size inside the data.
    Bytes cut = VagFrames(3);
    cut.resize(2 * 16 + 2);
    cut[2 * 16 + 1] = 0x01;
    EXPECT_EQ(MakeSound(K_SAMPLE_VAG_ADPCM_1CH, 22050, cut)->DataSize(), 34u);
    cut.resize(2 * 16 + 1); // its flag byte is missing: nothing to trim
    EXPECT_EQ(MakeSound(K_SAMPLE_VAG_ADPCM_1CH, 22050, cut)->DataSize(), 33u);
}

TEST(SoundTest, LengthCountsSamplesOfEveryKindAndGuardsEmptyFormats) {
    EXPECT_FLOAT_EQ(MakeSound(K_SAMPLE_PCM_I16_2CH, 1000, Bytes(4000))->Length(), 1.0f);
    EXPECT_FLOAT_EQ(MakeSound(kSampleFormat(2, 24, 32, 1), 100, Bytes(800))->Length(), 1.0f);
    EXPECT_FLOAT_EQ(MakeSound(K_SAMPLE_VAG_ADPCM_2CH, 14, VagFrames(2))->Length(), 2.0f);
    EXPECT_EQ(MakeSound(kSampleFormat(0, 16, 16, 1), 1000, Bytes(16))->Length(), 0.0f);
    EXPECT_EQ(MakeSound(kSampleFormat(1, 16, 0, 1), 1000, Bytes(16))->Length(), 0.0f);
    EXPECT_EQ(MakeSound(K_SAMPLE_PCM_I16_1CH, 0, Bytes(16))->Length(), 0.0f);
    // A DSP sound's header counts as data: 6 frames, 168 samples more than it holds.
    const auto dsp = EncodedDsp();
    EXPECT_FLOAT_EQ(dsp->Length() * 22050.0f, 280.0f + 168.0f);
    EXPECT_EQ(MakeSound(static_cast<kSAMPLE_FORMAT>(0x01101020), 1000, Bytes(16))->DataType(), 0u);
    EXPECT_EQ(dsp->DataType(), K_SAMPLE_DATA_DSP_ADPCM);
}

TEST(SoundTest, DataThatIsNotOwnedIsNeverFreed) {
    static unsigned char data[64];
    const s32 allocations = kPlatform_GetMemStats().numAllocs;
    {
        kSound sound;
        sound.SetHeader(K_SAMPLE_PCM_I8_1CH, 8000, data, sizeof(data), K_SOUND_FLAG_DATA_NOT_OWNED);
        sound.SetHeader(K_SAMPLE_PCM_I8_1CH, 8000, data, sizeof(data), K_SOUND_FLAG_DATA_NOT_OWNED);
    }
    EXPECT_EQ(kPlatform_GetMemStats().numAllocs, allocations);
}

// Writers refuse sounds their format cannot hold.
TEST(SoundFileTest, WritersRefuseSoundsTheirFormatCannotHold) {
    const auto stereoVag = MakeSound(K_SAMPLE_VAG_ADPCM_2CH, 22050, VagFrames(2));
    const auto pcm = MakeSound(K_SAMPLE_PCM_I16_1CH, 70000, Counting(8));
    EXPECT_TRUE(Write(kSound_VAGWrite, *stereoVag).empty());
    EXPECT_TRUE(Write(kSound_VBWrite, *stereoVag).empty());
    EXPECT_TRUE(Write(kSound_SWAVWrite, *pcm).empty()); // rate beyond 16 bits
    EXPECT_TRUE(Write(kSound_DSPWrite, *pcm).empty());
    EXPECT_TRUE(Write(kSound_WAVWrite, *stereoVag).empty());
    EXPECT_TRUE(Write(kSound_ADSWrite, *pcm).empty());
}

} // namespace
