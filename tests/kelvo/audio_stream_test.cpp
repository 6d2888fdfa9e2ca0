// Stream channels of the voice device: buffer sizes, how frames reach the two voice
// buffers, the refill flags across the wrap, prebuffering, a refill late past the wrap
// (also beside an audio thread), the stereo image under the pan, and stream buffers and
// voices released safely when a channel stops or AX drops one of its voices.
#include "audio_device_support.h"

#include <console/os.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace audio_device_test;
using Kelvo_lib::K_AUDIO_PLAY_PAUSED;
using Kelvo_lib::K_AUDIO_PLAY_PREBUFFER;
using sound_test::LogRecorder;

class AudioStreamTest : public AudioDeviceTest {};

// The big-endian sample at `index` of a voice buffer.
short BufferSample(const unsigned char* buffer, unsigned int index) {
    return static_cast<short>((buffer[2 * index] << 8) | buffer[2 * index + 1]);
}

TEST_F(AudioStreamTest, BuffersHoldOneSecondOfOneChannelInWholeSamples) {
    const struct {
        unsigned int channels, rate, bytes;
    } cases[] = {{1, 44100, 88200}, {2, 2000, 8192}, {2, 11025, 22052}, {1, 4099, 8200}};
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.rate);
        GeneratedStream stream(Pcm16(entry.channels), entry.rate, Constant(0, 0));
        const kAudioChannel channel = kAudio::PlayStream(&stream, kAudioChannel(), 0);
        const Channel& record = ChannelOf(channel);
        EXPECT_EQ(record.m_streamBufferSize, entry.bytes);
        EXPECT_EQ(record.m_half_ptr - OSCachedToPhysical(record.m_leftBuffer), entry.bytes / 2);
        EXPECT_EQ(entry.bytes / 2 % 2, 0u);
        kAudio::ChannelStop(channel);
    }
}

TEST_F(AudioStreamTest, RefusesStreamsItCannotPlayWithoutTakingAChannel) {
    LogRecorder log;
    GeneratedStream eightBit(Kelvo_lib::K_SAMPLE_PCM_I8_2CH, 32000, Constant(0, 0));
    GeneratedStream threeChannels(Pcm16(3), 32000, Constant(0, 0));
    GeneratedStream noRate(Pcm16(2), 0, Constant(0, 0));
    GeneratedStream tooFast(Pcm16(2), 200000, Constant(0, 0));
    Kelvo_lib::kSoundStream* const streams[] = {nullptr, &eightBit, &threeChannels, &noRate,
                                                &tooFast};
    for (Kelvo_lib::kSoundStream* stream : streams) {
        EXPECT_TRUE(kAudio::PlayStream(stream, kAudioChannel(), 0).IsAny());
    }
    EXPECT_TRUE(log.Logged("PlayStream: Invalid sound stream"));
    EXPECT_TRUE(log.Logged("Only accept 16bit stream"));
    EXPECT_EQ(kAudio::GetChannel(0), kAudioChannel(0)); // never handed out
}

// Reads of 7 bytes end inside frames; after 1,000 frames the stream has nothing (not at
// its end yet), and the rest of the buffers is silence.
TEST_F(AudioStreamTest, FramesAreSplitAndSwappedAcrossShortReads) {
    const auto ramp = [](unsigned int frame, unsigned int channel) {
        return static_cast<short>(channel == 0 ? frame * 3 : -static_cast<int>(frame) - 1);
    };
    for (unsigned int channels : {1u, 2u}) {
        SCOPED_TRACE(channels);
        GeneratedStream stream(Pcm16(channels), 32000, ramp, 1000, false, 7);
        const kAudioChannel channel =
            kAudio::PlayStream(&stream, kAudioChannel(), K_AUDIO_PLAY_PREBUFFER);
        const Channel& record = ChannelOf(channel);
        for (unsigned int i = 0; i < record.m_streamBufferSize / 2; ++i) {
            const short left = i < 1000 ? ramp(i, 0) : 0;
            const short right = i < 1000 ? ramp(i, channels - 1) : 0;
            ASSERT_EQ(BufferSample(record.m_leftBuffer, i), left) << i;
            ASSERT_EQ(BufferSample(record.m_rightBuffer, i), right) << i;
        }
        kAudio::ChannelStop(channel);
    }
}

// 44,100 Hz mono: each half is 22,050 samples, 166.7 blocks; playing starts two blocks
// after the request.
TEST_F(AudioStreamTest, RefillFlagsFollowTheHalvesAcrossTheWrap) {
    GeneratedStream stream(Pcm16(1), 44100, Constant(100, 100));
    const kAudioChannel channel =
        kAudio::PlayStream(&stream, kAudioChannel(), K_AUDIO_PLAY_PREBUFFER);
    const Channel& record = ChannelOf(channel);
    EXPECT_EQ(stream.BytesRead(), 88200u);
    Play(150);
    EXPECT_EQ(record.m_bufferToBeFilled, -1);
    Play(50);
    EXPECT_EQ(record.m_bufferToBeFilled, 0);
    Play(150); // wrapped, but the first half's refill is still pending
    EXPECT_EQ(record.m_bufferToBeFilled, 0);
    kAudio::Update();
    EXPECT_EQ(record.m_bufferToBeFilled, -1);
    EXPECT_EQ(stream.BytesRead(), 88200u + 44100u);
    Play(1);
    EXPECT_EQ(record.m_bufferToBeFilled, 1);
    kAudio::Update();
    EXPECT_EQ(stream.BytesRead(), 88200u + 2 * 44100u);
    Play(170);
    EXPECT_EQ(record.m_bufferToBeFilled, 0);
}

// Frame n of numbered music at 32 kHz (played sample for sample): n in its two samples,
// never both 0, which is silence.
short Numbered(unsigned int frame, unsigned int channel) {
    return static_cast<short>(channel == 0 ? 1 + frame % 30000 : 1 + frame / 30000);
}

struct MusicHeard {
    long music = 0;
    long silent = 0;
    long breaks = 0;  // music frames that do not follow the one heard before
    long repeats = 0; // music frames heard before
};

// What the output played of numbered music, from its third block on (after the ramp in).
MusicHeard Listen(const audio_test::Output& output) {
    MusicHeard heard;
    long last = -1;
    for (size_t i = 2 * AI_FRAME_SAMPLES; i < output.left.size(); ++i) {
        if (output.left[i] == 0 && output.right[i] == 0) {
            ++heard.silent;
            continue;
        }
        const long frame = (output.right[i] - 1) * 30000L + output.left[i] - 1;
        heard.breaks += last >= 0 && frame != last + 1;
        heard.repeats += frame <= last;
        last = frame;
        ++heard.music;
    }
    return heard;
}

// No Update while `stalled` blocks play (a window moved, a slow disc read), then the main
// loop again. The refill of the first half, due 0.5 s in, comes once the voices have
// wrapped into it (at 1.0 s), or a whole loop later.
TEST_F(AudioStreamTest, ARefillLatePastTheWrapPlaysSilenceNeverTheMusicAgain) {
    for (const u32 stalled : {0u, 400u, 800u}) {
        SCOPED_TRACE(stalled);
        GeneratedStream stream(Pcm16(2), 32000, Numbered);
        const kAudioChannel channel =
            kAudio::PlayStream(&stream, kAudioChannel(), K_AUDIO_PLAY_PREBUFFER);
        audio_test::Output output = Run(10);
        Append(output, Play(stalled));
        Append(output, Run(500));
        const MusicHeard heard = Listen(output);
        EXPECT_EQ(heard.repeats, 0);
        EXPECT_EQ(heard.silent > 0, stalled > 0);
        EXPECT_EQ(heard.breaks > 0, stalled > 0);
        EXPECT_GT(heard.music, 400 * AI_FRAME_SAMPLES);
        EXPECT_FALSE(Silent(Run(1)));
        kAudio::ChannelStop(channel);
    }
}

// The same stall beside the window host's audio thread, which keeps playing through it and
// while the late refill is written: no repeat, and under the thread sanitizer no race on the
// ring's halves or positions.
TEST_F(AudioStreamTest, AStallBesideTheAudioThreadPlaysSilenceNeverTheMusicAgain) {
    GeneratedStream stream(Pcm16(2), 32000, Numbered);
    const kAudioChannel channel =
        kAudio::PlayStream(&stream, kAudioChannel(), K_AUDIO_PLAY_PREBUFFER);
    std::atomic<u32> played{0};
    std::atomic<bool> stop{false};
    audio_test::Output output;
    std::thread audio([&] {
        while (!stop) {
            Append(output, Play(8));
            played += 8;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const auto playUntil = [&played](u32 blocks, bool updating) {
        while (played < blocks) {
            if (updating) {
                kAudio::Update();
            }
            std::this_thread::yield();
        }
    };
    playUntil(410, false);
    playUntil(1000, true);
    stop = true;
    audio.join();
    const MusicHeard heard = Listen(output);
    EXPECT_EQ(heard.repeats, 0);
    EXPECT_GT(heard.silent, 0);
    EXPECT_FALSE(Silent(Run(1)));
    kAudio::ChannelStop(channel);
}

TEST_F(AudioStreamTest, PrebufferedStreamsSoundAtOnceOthersStartOnSilence) {
    GeneratedStream prebuffered(Pcm16(2), 32000, Constant(3000, 3000));
    const kAudioChannel first =
        kAudio::PlayStream(&prebuffered, kAudioChannel(), K_AUDIO_PLAY_PREBUFFER);
    EXPECT_NEAR(Mean(Run(5).left, 96), 3000, 5);
    kAudio::ChannelStop(first);
    Run(2);

    GeneratedStream late(Pcm16(2), 32000, Constant(3000, 3000));
    kAudio::PlayStream(&late, kAudioChannel(), 0);
    EXPECT_TRUE(Silent(Run(100)));
    EXPECT_EQ(late.BytesRead(), 0u);
    EXPECT_NEAR(Mean(Run(300).left, 96), 3000, 5); // once the refilled first half plays
    Kelvo_lib::kAudioWII::Terminate();
    Run(2);

    GeneratedStream paused(Pcm16(2), 32000, Constant(3000, 3000));
    const kAudioChannel third =
        kAudio::PlayStream(&paused, kAudioChannel(), K_AUDIO_PLAY_PREBUFFER | K_AUDIO_PLAY_PAUSED);
    EXPECT_TRUE(Silent(Run(10)));
    third.Resume();
    EXPECT_NEAR(Mean(Run(5).left, 96), 3000, 5);
}

TEST_F(AudioStreamTest, EndedStreamPlaysSilenceUntilStopped) {
    GeneratedStream stream(Pcm16(2), 32000, Constant(3000, 3000), 16000);
    const kAudioChannel channel =
        kAudio::PlayStream(&stream, kAudioChannel(), K_AUDIO_PLAY_PREBUFFER);
    EXPECT_NEAR(Mean(Run(100).left, 96), 3000, 5);
    Run(100); // the half second of data ends after 169 blocks
    EXPECT_TRUE(Silent(Run(400)));
    EXPECT_TRUE(kAudio::ChannelIsPlaying(channel));
}

// Hard left and hard right at the centre; the pan moves the image, never folds it.
TEST_F(AudioStreamTest, TheTwoVoicesKeepTheirSidesUnderThePan) {
    const struct {
        float pan;
        double left, right; // heard from a stream of 8,000 left and -4,000 right
    } cases[] = {{0.0f, 8000, -4000},
                 {0.5f, 5657, 1657},
                 {-0.5f, 5172, -2828},
                 {1.0f, 0, 4000},
                 {-1.0f, 4000, 0}};
    GeneratedStream stream(Pcm16(2), 44100, Constant(8000, -4000));
    const kAudioChannel channel =
        kAudio::PlayStream(&stream, kAudioChannel(), K_AUDIO_PLAY_PREBUFFER);
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.pan);
        kAudio::ChannelSetPan(channel, entry.pan);
        const audio_test::Output output = Run(4);
        EXPECT_NEAR(Mean(output.left, 96), entry.left, 5);
        EXPECT_NEAR(Mean(output.right, 96), entry.right, 5);
    }
}

// The voices read the buffers in the frame after the stop request: freeing them at the
// stop would be a use after free (caught by the sanitizer build's poisoned heap).
TEST_F(AudioStreamTest, StopKeepsTheBuffersUntilTheVoicesAreReleased) {
    const s32 before = BytesAllocated();
    GeneratedStream stream(Pcm16(2), 44100, Constant(8000, -4000));
    const kAudioChannel channel =
        kAudio::PlayStream(&stream, kAudioChannel(), K_AUDIO_PLAY_PREBUFFER);
    Run(7);
    kAudio::ChannelStop(channel);
    kAudio::Update();
    EXPECT_GE(BytesAllocated() - before, 2 * 88200);
    Play(1);
    kAudio::Update();
    EXPECT_LT(BytesAllocated() - before, 88200);
    Play(1); // the last frame mixed
    EXPECT_TRUE(Silent(Run(4)));
}

TEST_F(AudioStreamTest, SampleOnAStreamChannelRetiresTheStream) {
    const s32 before = BytesAllocated();
    GeneratedStream stream(Pcm16(2), 44100, Constant(8000, -4000));
    const kAudioChannel channel =
        kAudio::PlayStream(&stream, kAudioChannel(), K_AUDIO_PLAY_PREBUFFER);
    Run(7);
    const sound_test::SoundPtr sound = Dc(1000);
    EXPECT_EQ(kAudio::Play(sound.get(), channel, Kelvo_lib::K_AUDIO_PLAY_LOOP), channel);
    const unsigned long long read = stream.BytesRead();
    EXPECT_NEAR(Mean(Run(400).left, 96), 707, 15);
    EXPECT_EQ(stream.BytesRead(), read);
    EXPECT_LT(BytesAllocated() - before, 88200);
}

// AX takes the left voice away: the right one must not keep playing on its own.
TEST_F(AudioStreamTest, ADroppedStreamVoiceTakesItsPartnerAlong) {
    const s32 before = BytesAllocated();
    GeneratedStream stream(Pcm16(2), 44100, Constant(8000, -4000));
    const kAudioChannel channel =
        kAudio::PlayStream(&stream, kAudioChannel(), K_AUDIO_PLAY_PREBUFFER);
    Run(7);
    AXVPB* left = ChannelOf(channel).m_axVoiceL->voice;
    AXVPB* right = ChannelOf(channel).m_axVoiceR->voice;
    const BOOL level = OSDisableInterrupts(); // as AXAcquireVoice drops a voice
    left->callback(left);
    AXFreeVoice(left);
    OSRestoreInterrupts(level);
    EXPECT_FALSE(kAudio::ChannelIsPlaying(channel));
    Run(2);
    EXPECT_EQ(right->priority, 0u); // freed
    EXPECT_TRUE(Silent(Run(4)));
    EXPECT_LT(BytesAllocated() - before, 88200);
}

} // namespace
