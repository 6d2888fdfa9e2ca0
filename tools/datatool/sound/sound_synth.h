// The game's sounds synthesised from a text description: short effects made of notes, and
// looping music cues arranged from a chord progression. A description file holds blocks,
// each opened by a line "effect NAME [peak DB]" or "cue NAME"; '#' starts a comment.
//   effect lines:  WAVE START LENGTH HZ[-HZ] [level DB] [attack S] [decay S]
//   cue lines:     tempo BPM | bars N | loudness LUFS | chords CHORD... |
//                  pad|bass|arp|melody WAVE [level DB] [attack S] [pattern STEP...] [seed N]
// NAME is letters, digits and '_' in folders split by '/'; WAVE is sine, triangle, square or
// noise; HZ is 1 to 20,000, a level -96 to 24 dB, attack and decay 0 to 10 s; a CHORD is a
// root (C, F#, Bb...) and a quality (none, m, 7, maj7, m7, sus2, sus4, add9); an arp STEP
// is a chord tone 0 to 15 or '-' for a rest.
// Rendering is deterministic. An effect is scaled so that its loudest sample sits at its
// peak (-6 dBFS by default); a cue so that its loudness (LoudnessLufs) is the one given,
// -21 by default, which puts the game's cues, all at one loudness, with their peaks about
// 6 dB under the effects'. A cue whose peak would clip is scaled down to -1 dBFS instead.
#pragma once

#include <console/host_heap.h>

#include <string>
#include <vector>

namespace datatool {

// Sample buffers on the host's own heap: a cue's buffers outgrow the console heap from
// which the tool's operator new draws.
using SynthSamples = std::vector<short, HostHeap<short>>;

enum class SynthWave { Sine, Triangle, Square, Noise };

struct SynthNote {
    SynthWave wave = SynthWave::Sine;
    double start = 0.0;  // seconds
    double length = 0.0; // seconds
    double fromHz = 440.0;
    double toHz = 440.0; // a glide over the note's length
    double levelDb = 0.0;
    double attack = 0.004; // seconds of a raised-cosine rise
    double decay = 0.0;    // time constant of the fall in seconds, 0 to hold
    double pan = 0.0;      // -1 left to 1 right (stereo sounds)
};

struct SynthEffect {
    std::string name;
    double peakDb = -6.0;
    std::vector<SynthNote> notes;
};

// One instrument of a cue's arrangement.
struct SynthLayer {
    bool bUsed = false;
    SynthWave wave = SynthWave::Sine;
    double levelDb = 0.0;
    double attack = 0.0;      // 0: the layer's own default
    std::vector<int> pattern; // arp steps, -1 a rest
    unsigned int seed = 1;    // melody
};

struct SynthChord {
    int root = 0;               // semitones above C
    std::vector<int> intervals; // semitones above the root, the root first
};

struct SynthCue {
    std::string name;
    double tempo = 72.0; // beats per minute, four beats a bar
    int bars = 16;
    double loudness = -21.0;        // LUFS
    std::vector<SynthChord> chords; // one a bar, repeated
    SynthLayer pad, bass, arp, melody;

    double Seconds() const { return bars * 4 * 60.0 / tempo; }
};

struct SoundDescription {
    std::vector<SynthEffect> effects;
    std::vector<SynthCue> cues;
};

// False, with "line N: why" in error, for text that is not a description.
bool ParseSoundDescription(const std::string& text, SoundDescription* description,
                           std::string* error);

// Mono samples at the rate, as long as the last note.
SynthSamples RenderEffect(const SynthEffect& effect, unsigned int rate);
// Interleaved stereo samples at the rate, exactly the cue's length; notes that ring past the
// end continue at the start, so the cue loops without a seam.
SynthSamples RenderCue(const SynthCue& cue, unsigned int rate);
// The notes the cue's layers play, before rendering.
std::vector<SynthNote> ArrangeCue(const SynthCue& cue);

// The loudness of interleaved samples in LUFS: their mean square through the K-weighting
// filter of ITU-R BS.1770 at the rate, summed over the channels, without gating (the game's
// sounds have no silences to leave out). -inf for silence.
double LoudnessLufs(const SynthSamples& interleaved, unsigned int channels, unsigned int rate);

} // namespace datatool
