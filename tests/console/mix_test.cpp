// MIX levels as heard: input and fader in 0.1 dB, constant-power pan, mute, the sound
// mode, and changes ramped over one frame.
#include "audio_fixture.h"

#include <algorithm>
#include <cstdlib>

namespace {

using audio_test::AudioTest;
using audio_test::Output;

constexpr s16 kLevel = 10000;

class MixTest : public AudioTest {
protected:
    // A looping constant sample at full level.
    AXVPB* StartSteadyVoice() {
        const u32 loop = 0;
        return StartPcm16(std::vector<s16>(64, kLevel), 1.0f, &loop);
    }
};

struct LevelCase {
    const char* name;
    int input;
    int fader;
    int pan;
    u32 mode;
    s16 left;
    s16 right;
};

TEST_F(MixTest, InputFaderPanAndModeGiveTheExpectedLevels) {
    const LevelCase cases[] = {
        {"hard left", 0, 0, 0, MIX_SOUND_MODE_STEREO, 10000, 0},
        {"hard right", 0, 0, 127, MIX_SOUND_MODE_STEREO, 0, 10000},
        {"centre is -3 dB each side", 0, 0, 64, MIX_SOUND_MODE_STEREO, 7071, 7071},
        {"quarter pan", 0, 0, 32, MIX_SOUND_MODE_STEREO, 9239, 3827},
        {"input -6 dB", -60, 0, 0, MIX_SOUND_MODE_STEREO, 5012, 0},
        {"fader -6 dB", 0, -60, 0, MIX_SOUND_MODE_STEREO, 5012, 0},
        {"input and fader add", -30, -30, 0, MIX_SOUND_MODE_STEREO, 5012, 0},
        {"+6 dB", 60, 0, 0, MIX_SOUND_MODE_STEREO, 19953, 0},
        {"at most +6 dB", 120, 0, 0, MIX_SOUND_MODE_STEREO, 19953, 0},
        {"input at -90.4 dB is silent", -904, 60, 0, MIX_SOUND_MODE_STEREO, 0, 0},
        {"fader at -90.4 dB is silent", 60, -904, 0, MIX_SOUND_MODE_STEREO, 0, 0},
        {"sum at -90.4 dB is silent", -500, -404, 0, MIX_SOUND_MODE_STEREO, 0, 0},
        {"mono ignores the pan", 0, 0, 0, MIX_SOUND_MODE_MONO, 7071, 7071},
        {"mono at -6 dB", -60, 0, 127, MIX_SOUND_MODE_MONO, 3544, 3544},
    };
    for (const LevelCase& level : cases) {
        SCOPED_TRACE(level.name);
        MIXSetSoundMode(level.mode);
        AXVPB* voice = StartSteadyVoice();
        MIXInitChannel(voice, 0, level.input, -960, -960, -960, level.pan, 127, level.fader);
        const Output output = Heard(1);
        EXPECT_NEAR(output.left.back(), level.left, 2);
        EXPECT_NEAR(output.right.back(), level.right, 2);
        MIXReleaseChannel(voice);
        AXFreeVoice(voice);
    }
    MIXSetSoundMode(MIX_SOUND_MODE_STEREO);
}

// Levels reach their new value over exactly one frame, in one monotonic ramp.
TEST_F(MixTest, ChangesApplyOncePerFrameRampedOverIt) {
    AXVPB* voice = StartSteadyVoice();
    Heard(1);
    MIXSetInput(voice, -60);
    MIXSetPan(voice, 127);
    const Output output = Play(4);
    EXPECT_EQ(output.left.front(), kLevel);
    EXPECT_EQ(output.left.back(), 0);
    EXPECT_NEAR(output.right.back(), 5012, 2);
    EXPECT_TRUE(std::is_sorted(output.left.rbegin(), output.left.rend()));
    EXPECT_TRUE(std::is_sorted(output.right.begin(), output.right.end()));
    const auto between = [](s16 sample) { return sample != 0 && sample != kLevel; };
    EXPECT_EQ(std::count_if(output.left.begin(), output.left.end(), between), AI_FRAME_SAMPLES - 1);
}

TEST_F(MixTest, ANewVoiceStartsAtTheLevelsSetBeforeItPlays) {
    const u32 loop = 0;
    AXVPB* voice = PreparePcm16(std::vector<s16>(64, kLevel), 1.0f, &loop);
    MIXSetInput(voice, -60);
    MIXUpdateSettings();
    AXSetVoiceState(voice, AX_PB_STATE_RUN);
    const Output output = Heard(1);
    EXPECT_TRUE(std::all_of(output.left.begin(), output.left.end(),
                            [](s16 sample) { return std::abs(sample - 5012) <= 2; }));
}

TEST_F(MixTest, MuteSilencesUntilUnmutedAndReleaseSilencesForGood) {
    AXVPB* voice = StartSteadyVoice();
    Heard(1);
    // A change is heard ramped in the third block from now, whole in the fourth.
    MIXMute(voice);
    Play(3);
    EXPECT_EQ(Play(1).left, std::vector<s16>(AI_FRAME_SAMPLES, 0));
    MIXUnMute(voice);
    Play(3);
    EXPECT_EQ(Play(1).left, std::vector<s16>(AI_FRAME_SAMPLES, kLevel));
    MIXReleaseChannel(voice);
    Play(1);
    EXPECT_EQ(Play(1).left, std::vector<s16>(AI_FRAME_SAMPLES, 0));
    MIXSetInput(voice, 0); // released: refused
    Play(3);
    EXPECT_EQ(Play(1).left, std::vector<s16>(AI_FRAME_SAMPLES, 0));
}

TEST_F(MixTest, VoicesAddUpAndClipAtTheSampleRange) {
    for (int i = 0; i < 4; ++i) {
        StartSteadyVoice();
    }
    const Output output = Heard(1);
    EXPECT_EQ(output.left.back(), 32767);
}

} // namespace
