#include "sound/sound_synth.h"

#include "puzzles/seeded_random.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <regex>
#include <sstream>

namespace datatool {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kBeatsPerBar = 4;
constexpr double kReleaseSeconds = 0.02;
// No cue's peak goes above this, whatever its loudness asks.
constexpr double kCueCeilingDb = -1.0;

using Frames = std::vector<double, HostHeap<double>>;

// ---- Parsing -------------------------------------------------------------------------

std::vector<std::string> Words(const std::string& line) {
    std::istringstream stream(line.substr(0, line.find('#')));
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

bool ParseNumber(const std::string& word, double* value) {
    char* end = nullptr;
    *value = std::strtod(word.c_str(), &end);
    return !word.empty() && *end == '\0' && std::isfinite(*value);
}

bool ParseWave(const std::string& word, SynthWave* wave) {
    static const std::pair<const char*, SynthWave> kWaves[] = {{"sine", SynthWave::Sine},
                                                               {"triangle", SynthWave::Triangle},
                                                               {"square", SynthWave::Square},
                                                               {"noise", SynthWave::Noise}};
    for (const auto& [name, value] : kWaves) {
        if (word == name) {
            *wave = value;
            return true;
        }
    }
    return false;
}

// "440" or a glide "660-440".
bool ParseFrequency(const std::string& word, SynthNote* note) {
    const size_t dash = word.find('-', 1);
    const std::string from = word.substr(0, dash);
    const std::string to = dash == std::string::npos ? from : word.substr(dash + 1);
    const auto audible = [](double hz) { return hz >= 1.0 && hz <= 20000.0; };
    return ParseNumber(from, &note->fromHz) && ParseNumber(to, &note->toHz) &&
           audible(note->fromHz) && audible(note->toHz);
}

bool ParseChord(const std::string& word, SynthChord* chord) {
    static const char kLetters[] = "C D EF G A B";
    const char* letter = word.empty() ? nullptr : std::strchr(kLetters, word[0]);
    if (letter == nullptr || *letter == ' ') {
        return false;
    }
    chord->root = static_cast<int>(letter - kLetters);
    size_t quality = 1;
    if (word.size() > 1 && (word[1] == '#' || word[1] == 'b')) {
        chord->root = (chord->root + (word[1] == '#' ? 1 : 11)) % 12;
        quality = 2;
    }
    static const std::pair<const char*, std::vector<int>> kQualities[] = {
        {"", {0, 4, 7}},       {"m", {0, 3, 7}},    {"7", {0, 4, 7, 10}}, {"maj7", {0, 4, 7, 11}},
        {"m7", {0, 3, 7, 10}}, {"sus2", {0, 2, 7}}, {"sus4", {0, 5, 7}},  {"add9", {0, 4, 7, 14}},
    };
    for (const auto& [name, intervals] : kQualities) {
        if (word.substr(quality) == name) {
            chord->intervals = intervals;
            return true;
        }
    }
    return false;
}

// The value of an option word, checked against the option's range; false, with why, for
// an unknown option, a missing number or one out of range.
bool OptionValue(const std::vector<std::string>& words, size_t at, double* value,
                 std::string* why) {
    static const struct {
        const char* name;
        double min;
        double max;
    } kOptions[] = {{"level", -96.0, 24.0},
                    {"attack", 0.0, 10.0},
                    {"decay", 0.0, 10.0},
                    {"seed", 0.0, 4294967295.0}};
    for (const auto& option : kOptions) {
        if (words[at] != option.name) {
            continue;
        }
        if (at + 1 < words.size() && ParseNumber(words[at + 1], value) && *value >= option.min &&
            *value <= option.max) {
            return true;
        }
        *why = "'" + words[at] + "' needs a number from " + std::to_string(option.min) + " to " +
               std::to_string(option.max);
        return false;
    }
    *why = "unknown option '" + words[at] + "'";
    return false;
}

// Options "level DB", "attack S", "decay S" after the fixed words of a line.
bool ParseOptions(const std::vector<std::string>& words, size_t first, SynthNote* note,
                  std::string* why) {
    for (size_t i = first; i < words.size(); i += 2) {
        double value = 0.0;
        if (!OptionValue(words, i, &value, why)) {
            return false;
        }
        if (words[i] == "level") {
            note->levelDb = value;
        } else if (words[i] == "attack") {
            note->attack = value;
        } else if (words[i] == "decay") {
            note->decay = value;
        } else {
            *why = "unknown option '" + words[i] + "'";
            return false;
        }
    }
    return true;
}

bool ParseEffectNote(const std::vector<std::string>& words, SynthEffect* effect, std::string* why) {
    SynthNote note;
    if (words.size() < 4 || !ParseWave(words[0], &note.wave) ||
        !ParseNumber(words[1], &note.start) || !ParseNumber(words[2], &note.length) ||
        !ParseFrequency(words[3], &note)) {
        *why = "expected WAVE START LENGTH HZ[-HZ]";
        return false;
    }
    if (note.start < 0.0 || note.length <= 0.0 || note.start + note.length > 10.0) {
        *why = "a note lies between 0 and 10 seconds and lasts";
        return false;
    }
    if (!ParseOptions(words, 4, &note, why)) {
        return false;
    }
    effect->notes.push_back(note);
    return true;
}

SynthLayer* LayerNamed(SynthCue* cue, const std::string& name) {
    if (name == "pad") {
        return &cue->pad;
    }
    if (name == "bass") {
        return &cue->bass;
    }
    if (name == "arp") {
        return &cue->arp;
    }
    return name == "melody" ? &cue->melody : nullptr;
}

// An arp step: a rest '-' or a chord tone 0 to 15.
bool IsPatternStep(const std::string& word) {
    static const std::regex kStep("-|1?[0-9]");
    return std::regex_match(word, kStep) && (word == "-" || std::stoi(word) <= 15);
}

bool ParseLayer(const std::vector<std::string>& words, SynthLayer* layer, std::string* why) {
    if (words.size() < 2 || !ParseWave(words[1], &layer->wave)) {
        *why = "expected " + words[0] + " WAVE";
        return false;
    }
    layer->bUsed = true;
    for (size_t i = 2; i < words.size();) {
        if (words[i] == "pattern") {
            for (++i; i < words.size() && IsPatternStep(words[i]); ++i) {
                layer->pattern.push_back(words[i] == "-" ? -1 : std::stoi(words[i]));
            }
            continue;
        }
        double value = 0.0;
        if (!OptionValue(words, i, &value, why)) {
            return false;
        }
        if (words[i] == "level") {
            layer->levelDb = value;
        } else if (words[i] == "attack") {
            layer->attack = value;
        } else if (words[i] == "seed") {
            layer->seed = static_cast<unsigned int>(value);
        } else {
            *why = "unknown option '" + words[i] + "'";
            return false;
        }
        i += 2;
    }
    return true;
}

bool ParseCueLine(const std::vector<std::string>& words, SynthCue* cue, std::string* why) {
    if (SynthLayer* layer = LayerNamed(cue, words[0])) {
        return ParseLayer(words, layer, why);
    }
    if (words[0] == "chords") {
        cue->chords.clear();
        for (size_t i = 1; i < words.size(); ++i) {
            SynthChord chord;
            if (!ParseChord(words[i], &chord)) {
                *why = "unknown chord '" + words[i] + "'";
                return false;
            }
            cue->chords.push_back(chord);
        }
        return true;
    }
    double value = 0.0;
    if (words.size() != 2 || !ParseNumber(words[1], &value)) {
        *why = "expected tempo, bars, loudness, chords or a layer, with its value";
        return false;
    }
    if (words[0] == "tempo" && value >= 20.0 && value <= 300.0) {
        cue->tempo = value;
    } else if (words[0] == "bars" && value >= 1.0 && value <= 512.0) {
        cue->bars = static_cast<int>(value);
    } else if (words[0] == "loudness" && value <= 0.0 && value >= -96.0) {
        cue->loudness = value;
    } else {
        *why = "'" + words[0] + "' is unknown or out of range";
        return false;
    }
    return true;
}

// A file name under the output folder: letters, digits and '_', folders split by '/'.
bool IsSoundName(const std::string& name) {
    static const std::regex kName("[A-Za-z0-9_]+(/[A-Za-z0-9_]+)*");
    return std::regex_match(name, kName);
}

bool ParseBlockStart(const std::vector<std::string>& words, SoundDescription* description,
                     std::string* why) {
    if (words.size() < 2 || !IsSoundName(words[1])) {
        *why = "'" + words[0] + "' needs a name of letters, digits, '_' and '/'";
        return false;
    }
    if (words[0] == "cue" && words.size() == 2) {
        description->cues.push_back(SynthCue{});
        description->cues.back().name = words[1];
        return true;
    }
    double peak = -6.0;
    if (words[0] == "effect" &&
        (words.size() == 2 || (words.size() == 4 && words[2] == "peak" &&
                               ParseNumber(words[3], &peak) && peak <= 0.0 && peak >= -96.0))) {
        description->effects.push_back(SynthEffect{words[1], peak, {}});
        return true;
    }
    *why = "expected 'effect NAME [peak DB]' or 'cue NAME'";
    return false;
}

// ---- Rendering -----------------------------------------------------------------------

double MidiHz(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// A band-limited waveform at the phase (in turns); noise from the note's own generator.
double WaveValue(SynthWave wave, double phase, std::uint32_t& noise) {
    const double angle = 2.0 * kPi * phase;
    switch (wave) {
    case SynthWave::Sine:
        return std::sin(angle);
    case SynthWave::Triangle:
        return (std::sin(angle) - std::sin(3 * angle) / 9.0 + std::sin(5 * angle) / 25.0) * 8.0 /
               (kPi * kPi);
    case SynthWave::Square:
        return (std::sin(angle) + std::sin(3 * angle) / 3.0 + std::sin(5 * angle) / 5.0 +
                std::sin(7 * angle) / 7.0) *
               4.0 / kPi;
    case SynthWave::Noise:
        noise ^= noise << 13;
        noise ^= noise >> 17;
        noise ^= noise << 5;
        return static_cast<double>(noise) / 2147483648.0 - 1.0;
    }
    return 0.0;
}

double Envelope(const SynthNote& note, double t) {
    double gain = t < note.attack ? 0.5 - 0.5 * std::cos(kPi * t / note.attack) : 1.0;
    if (note.decay > 0.0) {
        gain *= std::exp(-std::max(0.0, t - note.attack) / note.decay);
    }
    const double release = std::min(kReleaseSeconds, note.length / 4);
    const double left = note.length - t;
    return left < release ? gain * left / release : gain;
}

// Adds the note into frames of `channels` interleaved values, wrapping at the end when
// asked, else stopping there.
void AddNote(const SynthNote& note, unsigned int rate, unsigned int channels, bool bWrap,
             Frames& frames) {
    const size_t count = frames.size() / channels;
    const size_t first = static_cast<size_t>(std::lround(note.start * rate));
    const size_t length = static_cast<size_t>(std::lround(note.length * rate));
    const double amplitude = std::pow(10.0, note.levelDb / 20.0);
    const double gains[2] = {channels == 1 ? 1.0 : std::sqrt(0.5 * (1.0 - note.pan)),
                             std::sqrt(0.5 * (1.0 + note.pan))};
    std::uint32_t noise = 0x9E3779B9u ^ static_cast<std::uint32_t>(first + 1);
    double phase = 0.0;
    for (size_t i = 0; i < length; ++i) {
        size_t frame = first + i;
        if (frame >= count) {
            if (!bWrap) {
                return;
            }
            frame %= count;
        }
        const double t = static_cast<double>(i) / rate;
        const double value = amplitude * Envelope(note, t) * WaveValue(note.wave, phase, noise);
        for (unsigned int c = 0; c < channels; ++c) {
            frames[frame * channels + c] += value * gains[c];
        }
        phase += (note.fromHz + (note.toHz - note.fromHz) * t / note.length) / rate;
        phase -= std::floor(phase);
    }
}

double LoudestOf(const Frames& values) {
    double loudest = 0.0;
    for (const double value : values) {
        loudest = std::max(loudest, std::abs(value));
    }
    return loudest;
}

// The scale that puts the loudest value at the peak.
double ScaleToPeak(const Frames& values, double peakDb) {
    const double loudest = LoudestOf(values);
    return loudest > 0.0 ? 32767.0 * std::pow(10.0, peakDb / 20.0) / loudest : 0.0;
}

// Rounded to 16 bits after scaling.
SynthSamples Scaled(const Frames& values, double scale) {
    SynthSamples samples(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        samples[i] = static_cast<short>(std::lround(values[i] * scale));
    }
    return samples;
}

// One biquad section, transposed direct form II.
struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0.0;
    double z2 = 0.0;
    double Step(double x) {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// The two stages of BS.1770's K-weighting at the rate: a high shelf of about +4 dB above
// 1.7 kHz (the head's effect) and a high pass at 38 Hz, from their analogue prototypes.
Biquad Shelf(unsigned int rate) {
    const double k = std::tan(kPi * 1681.974450955533 / rate);
    const double q = 0.7071752369554196;
    const double vh = std::pow(10.0, 3.999843853973347 / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
            2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

Biquad HighPass(unsigned int rate) {
    const double k = std::tan(kPi * 38.13547087602444 / rate);
    const double q = 0.5003270373238773;
    const double a0 = 1.0 + k / q + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

// The loudness in LUFS of interleaved values times scale, as 16-bit samples.
double LoudnessOf(const Frames& values, double scale, unsigned int channels, unsigned int rate) {
    const size_t frames = channels > 0 ? values.size() / channels : 0;
    double sum = 0.0;
    for (unsigned int c = 0; c < channels; ++c) {
        Biquad shelf = Shelf(rate);
        Biquad highPass = HighPass(rate);
        double squares = 0.0;
        for (size_t i = 0; i < frames; ++i) {
            const double y = highPass.Step(shelf.Step(values[i * channels + c] * scale / 32768.0));
            squares += y * y;
        }
        sum += frames > 0 ? squares / static_cast<double>(frames) : 0.0;
    }
    return sum > 0.0 ? -0.691 + 10.0 * std::log10(sum) : -std::numeric_limits<double>::infinity();
}

// The chord's tones from the base note upwards; index past the last goes an octave up.
int ChordTone(const SynthChord& chord, int base, int index) {
    const int count = static_cast<int>(chord.intervals.size());
    return base + chord.root + chord.intervals[static_cast<size_t>(index % count)] +
           12 * (index / count);
}

SynthNote LayerNote(const SynthLayer& layer, double start, double length, int midi,
                    double defaultAttack, double decay, double pan) {
    SynthNote note;
    note.wave = layer.wave;
    note.start = start;
    note.length = length;
    note.fromHz = note.toHz = MidiHz(midi);
    note.levelDb = layer.levelDb;
    note.attack = layer.attack > 0.0 ? layer.attack : defaultAttack;
    note.decay = decay;
    note.pan = pan;
    return note;
}

// Held chords, their tones spread across the stereo field, each bar overlapping the next.
void ArrangePad(const SynthCue& cue, double bar, std::vector<SynthNote>& notes) {
    for (int b = 0; b < cue.bars; ++b) {
        const SynthChord& chord = cue.chords[static_cast<size_t>(b) % cue.chords.size()];
        const int tones = static_cast<int>(chord.intervals.size());
        for (int t = 0; t < tones; ++t) {
            const double pan = tones > 1 ? -0.5 + t / (tones - 1.0) : 0.0;
            notes.push_back(
                LayerNote(cue.pad, b * bar, bar * 1.1, ChordTone(chord, 55, t), 0.6, 0.0, pan));
        }
    }
}

// The root on the first beat and the fifth on the third.
void ArrangeBass(const SynthCue& cue, double bar, std::vector<SynthNote>& notes) {
    for (int b = 0; b < cue.bars; ++b) {
        const SynthChord& chord = cue.chords[static_cast<size_t>(b) % cue.chords.size()];
        const int root = 36 + chord.root;
        notes.push_back(LayerNote(cue.bass, b * bar, bar / 2, root, 0.01, 0.8, 0.0));
        notes.push_back(LayerNote(cue.bass, (b + 0.5) * bar, bar / 2, root + 7, 0.01, 0.8, 0.0));
    }
}

// Eighth notes through the pattern's chord tones, alternating sides.
void ArrangeArp(const SynthCue& cue, double bar, std::vector<SynthNote>& notes) {
    if (cue.arp.pattern.empty()) {
        return;
    }
    const double eighth = bar / (2 * kBeatsPerBar);
    const size_t steps = static_cast<size_t>(cue.bars) * 2 * kBeatsPerBar;
    for (size_t s = 0; s < steps; ++s) {
        const int step = cue.arp.pattern[s % cue.arp.pattern.size()];
        if (step < 0) {
            continue;
        }
        const SynthChord& chord = cue.chords[s / (2 * kBeatsPerBar) % cue.chords.size()];
        notes.push_back(LayerNote(cue.arp, s * eighth, eighth * 1.8, ChordTone(chord, 60, step),
                                  0.005, 0.25, s % 2 == 0 ? -0.35 : 0.35));
    }
}

// A slow tune from the chord tones: each bar one of a few rhythms, each note a small step
// from the last, the last note of every fourth bar left out as a breath.
void ArrangeMelody(const SynthCue& cue, double bar, std::vector<SynthNote>& notes) {
    static const std::vector<std::vector<int>> kRhythms = {
        {2, 2}, {3, 1}, {4}, {1, 1, 2}, {2, 1, 1}};
    SeededRandom random(cue.melody.seed);
    const double beat = bar / kBeatsPerBar;
    int index = 4;
    for (int b = 0; b < cue.bars; ++b) {
        const SynthChord& chord = cue.chords[static_cast<size_t>(b) % cue.chords.size()];
        const std::vector<int>& rhythm = kRhythms[static_cast<size_t>(random.Below(5))];
        double at = b * bar;
        for (size_t n = 0; n < rhythm.size(); ++n) {
            index = std::clamp(index + random.Between(-2, 2), 1, 6);
            const bool bBreath = b % 4 == 3 && n + 1 == rhythm.size();
            if (!bBreath) {
                notes.push_back(LayerNote(cue.melody, at, rhythm[n] * beat * 0.95,
                                          ChordTone(chord, 60, index), 0.03, 0.9, 0.1));
            }
            at += rhythm[n] * beat;
        }
    }
}

} // namespace

bool ParseSoundDescription(const std::string& text, SoundDescription* description,
                           std::string* error) {
    *description = SoundDescription{};
    std::istringstream lines(text);
    int number = 0;
    enum class Block { None, Effect, Cue } block = Block::None;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        const std::vector<std::string> words = Words(line);
        if (words.empty()) {
            continue;
        }
        std::string why;
        bool ok = false;
        if (words[0] == "effect" || words[0] == "cue") {
            ok = ParseBlockStart(words, description, &why);
            block = words[0] == "cue" ? Block::Cue : Block::Effect;
        } else if (block == Block::Effect) {
            ok = ParseEffectNote(words, &description->effects.back(), &why);
        } else if (block == Block::Cue) {
            ok = ParseCueLine(words, &description->cues.back(), &why);
        } else {
            why = "a line before the first 'effect' or 'cue'";
        }
        if (!ok) {
            *error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
    }
    for (const SynthEffect& effect : description->effects) {
        if (effect.notes.empty()) {
            *error = "effect '" + effect.name + "' has no notes";
            return false;
        }
    }
    for (const SynthCue& cue : description->cues) {
        if (cue.chords.empty()) {
            *error = "cue '" + cue.name + "' has no chords";
            return false;
        }
    }
    return true;
}

SynthSamples RenderEffect(const SynthEffect& effect, unsigned int rate) {
    double end = 0.0;
    for (const SynthNote& note : effect.notes) {
        end = std::max(end, note.start + note.length);
    }
    Frames frames(static_cast<size_t>(std::lround(end * rate)), 0.0);
    for (const SynthNote& note : effect.notes) {
        AddNote(note, rate, 1, false, frames);
    }
    return Scaled(frames, ScaleToPeak(frames, effect.peakDb));
}

std::vector<SynthNote> ArrangeCue(const SynthCue& cue) {
    std::vector<SynthNote> notes;
    const double bar = cue.Seconds() / cue.bars;
    if (cue.pad.bUsed) {
        ArrangePad(cue, bar, notes);
    }
    if (cue.bass.bUsed) {
        ArrangeBass(cue, bar, notes);
    }
    if (cue.arp.bUsed) {
        ArrangeArp(cue, bar, notes);
    }
    if (cue.melody.bUsed) {
        ArrangeMelody(cue, bar, notes);
    }
    return notes;
}

SynthSamples RenderCue(const SynthCue& cue, unsigned int rate) {
    Frames frames(2 * static_cast<size_t>(std::lround(cue.Seconds() * rate)), 0.0);
    for (const SynthNote& note : ArrangeCue(cue)) {
        AddNote(note, rate, 2, true, frames);
    }
    // Measured on the values at full scale, then moved to the loudness asked for.
    const double fullScale = ScaleToPeak(frames, 0.0);
    const double loudness = LoudnessOf(frames, fullScale, 2, rate);
    const double toLoudness = fullScale * std::pow(10.0, (cue.loudness - loudness) / 20.0);
    return Scaled(frames, std::min(toLoudness, ScaleToPeak(frames, kCueCeilingDb)));
}

double LoudnessLufs(const SynthSamples& interleaved, unsigned int channels, unsigned int rate) {
    Frames values(interleaved.begin(), interleaved.end());
    return LoudnessOf(values, 1.0, channels, rate);
}

} // namespace datatool
