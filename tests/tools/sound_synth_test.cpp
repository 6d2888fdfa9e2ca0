// The sound synthesiser: descriptions it refuses (with the line), effects as short, soft and
// loud as described, cues that loop without a seam at the loudness described, an Ogg Vorbis
// cue read back whole, and the game's own sounds: one effect for every name of the sound
// table, each short and at most -6 dBFS (the clock's warnings soft ticks at -9), every cue at
// least a minute long, and the cues on the disc, as the game decodes them, 6 dB under the
// effects at one loudness.
#include "../kelvo/ogg_codec.h"

#include <sound/ogg_vorbis_writer.h>
#include <sound/sound_synth.h>

#include <services/mnsound.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace {

using namespace datatool;

constexpr unsigned int kRate = 32000;

double Dbfs(double sample) {
    return 20.0 * std::log10(std::abs(sample) / 32767.0);
}

double PeakDbfs(const SynthSamples& samples) {
    short peak = 0;
    for (const short sample : samples) {
        peak = std::max<short>(peak, static_cast<short>(std::abs(sample)));
    }
    return Dbfs(peak);
}

SoundDescription Parse(const std::string& text) {
    SoundDescription description;
    std::string error;
    EXPECT_TRUE(ParseSoundDescription(text, &description, &error)) << error;
    return description;
}

SoundDescription ParseFile(const char* name) {
    std::ifstream file(std::string(PUZZLES_SOUND_DIR) + "/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return Parse(text.str());
}

TEST(SoundSynthTest, RefusesDescriptionsItCannotPlayNamingTheLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"sine 0 1 440", "line 1: a line before"},
        {"effect\n", "line 1: 'effect' needs a name"},
        {"effect ../up\n", "line 1: 'effect' needs a name"},
        {"effect a\n  sine 0 0.1\n", "line 2: expected WAVE"},
        {"effect a\n  organ 0 0.1 440\n", "line 2: expected WAVE"},
        {"effect a\n  sine 0 0 440\n", "line 2: a note lies"},
        {"effect a\n  sine 0 0.1 440-x\n", "line 2: expected WAVE"},
        {"effect a\n\n  sine 0 0.1 440 level\n", "line 3: 'level' needs a number"},
        {"effect a\n  sine 0 0.1 440 decay -1\n", "line 2: 'decay' needs a number from 0"},
        {"effect a\n  sine 0 0.1 440 loud 3\n", "line 2: unknown option 'loud'"},
        {"effect a\n  sine 0 0.1 40000\n", "line 2: expected WAVE"},
        {"effect a peak 3\n", "line 1: expected 'effect NAME"},
        {"effect a\n", "effect 'a' has no notes"},
        {"cue c\n  chords C H\n", "line 2: unknown chord 'H'"},
        {"cue c\n  tempo 5\n", "line 2: 'tempo' is unknown or out of range"},
        {"cue c\n  pad\n", "line 2: expected pad WAVE"},
        {"cue c\n  arp sine pattern 0 16\n", "line 2: unknown option '16'"},
        {"cue c\n  melody sine seed -1\n", "line 2: 'seed' needs a number from 0"},
        {"cue c\n  tempo 60\n", "cue 'c' has no chords"},
    };
    for (const auto& c : cases) {
        SoundDescription description;
        std::string error;
        EXPECT_FALSE(ParseSoundDescription(c.text, &description, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave: " << error;
    }
}

TEST(SoundSynthTest, EffectsAreAsLongAndAsLoudAsDescribedAndRiseSoftly) {
    const SoundDescription description = Parse("# a comment\n"
                                               "effect chime peak -9\n"
                                               "  sine 0 0.2 784 decay 0.1   # first\n"
                                               "  square 0.1 0.25 1175-900 level -6\n");
    ASSERT_EQ(description.effects.size(), 1u);
    const SynthSamples samples = RenderEffect(description.effects[0], kRate);
    EXPECT_EQ(samples.size(), 0.35 * kRate);
    EXPECT_NEAR(PeakDbfs(samples), -9.0, 0.01);
    for (int i = 0; i < 16; ++i) {
        EXPECT_LT(std::abs(samples[i]), 400) << "sample " << i << " of the attack";
    }
    EXPECT_LT(std::abs(samples.back()), 100) << "the release ends near silence";
}

TEST(SoundSynthTest, CuesLastTheirBarsAndLoopWithoutASeam) {
    const SoundDescription description = Parse("cue cues/test\n"
                                               "  tempo 120\n  bars 3\n  loudness -20\n"
                                               "  chords C Am7 F#sus4\n"
                                               "  pad triangle level -6 attack 0.3\n"
                                               "  bass sine\n"
                                               "  arp sine level -12 pattern 0 - 2 5\n"
                                               "  melody square seed 4\n");
    const SynthCue& cue = description.cues.at(0);
    EXPECT_EQ(cue.name, "cues/test");
    EXPECT_DOUBLE_EQ(cue.Seconds(), 6.0);
    const SynthSamples stereo = RenderCue(cue, kRate);
    ASSERT_EQ(stereo.size(), 2u * 6 * kRate);
    EXPECT_NEAR(LoudnessLufs(stereo, 2, kRate), -20.0, 0.05);
    EXPECT_LT(PeakDbfs(stereo), -1.0);

    // The step from the last frame to the first is no larger than steps inside the cue.
    int largestStep = 0;
    for (size_t i = 2; i < stereo.size(); ++i) {
        largestStep = std::max(largestStep, std::abs(stereo[i] - stereo[i - 2]));
    }
    for (size_t c = 0; c < 2; ++c) {
        EXPECT_LE(std::abs(stereo[c] - stereo[stereo.size() - 2 + c]), largestStep);
    }
    EXPECT_NE(stereo[stereo.size() / 2], stereo[stereo.size() / 2 + 1]) << "stereo differs";
}

TEST(SoundSynthTest, ACueEncodedAsOggVorbisDecodesToItsLength) {
    const SoundDescription description =
        Parse("cue short\n  tempo 240\n  bars 1\n  chords Dm7\n  pad sine\n");
    const SynthSamples stereo = RenderCue(description.cues.at(0), kRate);
    const ogg_codec::Bytes file = EncodeOggVorbis(stereo, 2, kRate, 0.3f);
    const ogg_codec::Bytes pcm = ogg_codec::Decode(file);
    EXPECT_EQ(pcm.size(), stereo.size() * 2);
}

TEST(SoundSynthTest, TheGamesEffectsMatchItsSoundTableAndStayShortAndUnderTheirPeak) {
    const SoundDescription description = ParseFile("effects.txt");
    // The clock's warnings are soft ticks, 3 dB under a press.
    std::set<std::string> clockTicks;
    for (const int id : {Kelvo_lib::SFX_TICK, Kelvo_lib::SFX_TOCK, Kelvo_lib::SFX_LAST_SECONDS}) {
        clockTicks.insert(Kelvo_lib::MNSound::GetSoundEffectName(id));
    }
    std::set<std::string> described;
    for (const SynthEffect& effect : description.effects) {
        described.insert(effect.name);
        const SynthSamples samples = RenderEffect(effect, kRate);
        EXPECT_LT(samples.size(), 0.6 * kRate) << effect.name;
        EXPECT_LE(PeakDbfs(samples), -5.99) << effect.name;
        if (clockTicks.count(effect.name) != 0) {
            EXPECT_NEAR(PeakDbfs(samples), -9.0, 0.05) << effect.name;
        }
    }
    std::set<std::string> table;
    for (int id = 0; id < Kelvo_lib::SFX_COUNT; ++id) {
        if (Kelvo_lib::MNSound::GetSoundEffectName(id) != nullptr) {
            table.insert(Kelvo_lib::MNSound::GetSoundEffectName(id));
        }
    }
    EXPECT_EQ(described, table);
    EXPECT_EQ(description.effects.size(), described.size()) << "each effect once";
}

TEST(SoundSynthTest, TheGamesCuesLastAMinuteAndSitUnderTheEffects) {
    const SoundDescription description = ParseFile("music.txt");
    ASSERT_EQ(description.cues.size(), static_cast<size_t>(Kelvo_lib::MUSIC_COUNT));
    for (int cue = 0; cue < Kelvo_lib::MUSIC_COUNT; ++cue) {
        const SynthCue& described = description.cues[static_cast<size_t>(cue)];
        EXPECT_EQ(described.name, Kelvo_lib::MNSound::GetMusicName(cue));
        EXPECT_GE(described.Seconds(), 60.0) << described.name;
        EXPECT_FALSE(ArrangeCue(described).empty()) << described.name;
    }
}

// The README's figures: effects peak at -6 dBFS (the softer ones less than 6 dB under),
// and each cue on the disc, decoded as the game plays it, peaks 6 dB under the effects
// (within 1 dB), every cue within 1 dB of the same loudness.
TEST(SoundSynthTest, TheDiscsCuesSitSixDecibelsUnderTheEffectsAtOneLoudness) {
    double loudestEffect = -96.0;
    for (const SynthEffect& effect : ParseFile("effects.txt").effects) {
        const double peak = PeakDbfs(RenderEffect(effect, kRate));
        EXPECT_GE(peak, -12.0) << effect.name;
        loudestEffect = std::max(loudestEffect, peak);
    }
    EXPECT_NEAR(loudestEffect, -6.0, 0.05);
    double quietest = 0.0;
    double loudest = -96.0;
    for (int cue = 0; cue < Kelvo_lib::MUSIC_COUNT; ++cue) {
        const std::string name = Kelvo_lib::MNSound::GetMusicName(cue);
        std::ifstream file(std::string(PUZZLES_DISC_DIR) + "/wii/audio/" + name + ".ogg",
                           std::ios::binary);
        const ogg_codec::Bytes bytes{std::istreambuf_iterator<char>(file), {}};
        // A minute of stereo outgrows the console heap that the tests' own allocations use.
        using HostBytes = std::vector<unsigned char, HostHeap<unsigned char>>;
        const HostBytes pcm = ogg_codec::Decode<HostBytes>(bytes);
        ASSERT_GT(pcm.size(), 4u) << name;
        SynthSamples stereo(pcm.size() / 2);
        std::memcpy(stereo.data(), pcm.data(), stereo.size() * 2);
        EXPECT_NEAR(PeakDbfs(stereo), loudestEffect - 6.0, 1.0) << name;
        const double loudness = LoudnessLufs(stereo, 2, kRate);
        quietest = std::min(quietest, loudness);
        loudest = std::max(loudest, loudness);
    }
    EXPECT_LE(loudest - quietest, 1.0) << "from " << quietest << " to " << loudest << " LUFS";
}

} // namespace
