// The DSP ADPCM encoder. Coefficient pairs: pair 0 predicts silence; the other seven are
// the centres of a weighted k-means over the least-squares second-order predictors of
// the sound's frames. Each 14-sample frame then takes the pair and scale whose coding,
// decoded exactly as the voices decode it, lies closest to the samples.
#include <kelvo/audio/kdspadpcm.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "DSP";
constexpr unsigned int kPairs = 8;
constexpr unsigned int kShifts = 16;
constexpr int kOne = 2048; // coefficients are Q11
constexpr unsigned int kClusterRounds = 16;

struct Predictor {
    double c1;
    double c2;
    double weight; // the frame's energy
};

struct Pair {
    int c1;
    int c2;
};

short Clamp16(long long value) {
    return static_cast<short>(value < -32768 ? -32768 : (value > 32767 ? 32767 : value));
}

// The voices' decoding of one nibble.
short Decode(int nibble, unsigned int shift, const Pair& pair, short history1, short history2) {
    const long long scaled = static_cast<long long>(nibble) * (1ll << shift) * kOne;
    return Clamp16((scaled + static_cast<long long>(pair.c1) * history1 +
                    static_cast<long long>(pair.c2) * history2 + kOne / 2) >>
                   11);
}

// The least-squares predictor of x[n] from x[n-1] and x[n-2] over one frame, limited to
// stable coefficients.
Predictor FramePredictor(const short* samples, unsigned int at, unsigned int count) {
    double r11 = 0, r22 = 0, r12 = 0, r01 = 0, r02 = 0, energy = 0;
    for (unsigned int i = at; i < at + count; ++i) {
        const double x0 = samples[i];
        const double x1 = i >= 1 ? samples[i - 1] : 0.0;
        const double x2 = i >= 2 ? samples[i - 2] : 0.0;
        r11 += x1 * x1;
        r22 += x2 * x2;
        r12 += x1 * x2;
        r01 += x0 * x1;
        r02 += x0 * x2;
        energy += x0 * x0;
    }
    Predictor predictor{0.0, 0.0, energy};
    const double determinant = r11 * r22 - r12 * r12;
    if (determinant > 1e-6 * (r11 * r22 + 1.0)) {
        predictor.c1 = (r01 * r22 - r02 * r12) / determinant;
        predictor.c2 = (r02 * r11 - r01 * r12) / determinant;
    } else if (r11 > 0) {
        predictor.c1 = r01 / r11;
    }
    predictor.c1 = std::fmax(-2.0, std::fmin(2.0, predictor.c1));
    predictor.c2 = std::fmax(-1.0, std::fmin(1.0, predictor.c2));
    return predictor;
}

double Distance(const Predictor& a, const Predictor& b) {
    return (a.c1 - b.c1) * (a.c1 - b.c1) + (a.c2 - b.c2) * (a.c2 - b.c2);
}

unsigned int Nearest(const Predictor& predictor, const Predictor* centres, unsigned int count) {
    unsigned int nearest = 0;
    for (unsigned int i = 1; i < count; ++i) {
        if (Distance(predictor, centres[i]) < Distance(predictor, centres[nearest])) {
            nearest = i;
        }
    }
    return nearest;
}

// Seeds: the loudest frame's predictor, then each time the one farthest (by weight) from
// the seeds so far.
void SeedCentres(const Predictor* predictors, unsigned int frames, Predictor* centres,
                 unsigned int count) {
    for (unsigned int c = 0; c < count; ++c) {
        double best = -1.0;
        centres[c] = Predictor{0.0, 0.0, 0.0};
        for (unsigned int f = 0; f < frames; ++f) {
            const double score =
                predictors[f].weight *
                (c == 0 ? 1.0
                        : Distance(predictors[f], centres[Nearest(predictors[f], centres, c)]));
            if (score > best) {
                best = score;
                centres[c] = predictors[f];
            }
        }
    }
}

void RefineCentres(const Predictor* predictors, unsigned int frames, Predictor* centres,
                   unsigned int count) {
    for (unsigned int round = 0; round < kClusterRounds; ++round) {
        Predictor sums[kPairs] = {};
        for (unsigned int f = 0; f < frames; ++f) {
            Predictor& sum = sums[Nearest(predictors[f], centres, count)];
            sum.c1 += predictors[f].c1 * predictors[f].weight;
            sum.c2 += predictors[f].c2 * predictors[f].weight;
            sum.weight += predictors[f].weight;
        }
        for (unsigned int c = 0; c < count; ++c) {
            if (sums[c].weight > 0) {
                centres[c] = {sums[c].c1 / sums[c].weight, sums[c].c2 / sums[c].weight, 1.0};
            }
        }
    }
}

int ToQ11(double coefficient) {
    return static_cast<int>(std::lround(coefficient * kOne));
}

void ChoosePairs(const short* samples, unsigned int count, Pair* pairs) {
    const unsigned int frames = (count + K_DSP_FRAME_SAMPLES - 1) / K_DSP_FRAME_SAMPLES;
    Predictor* predictors = static_cast<Predictor*>(
        kPlatform_ReleaseAlloc(K_MEM_TAG_SOUND, frames * sizeof(Predictor)));
    for (unsigned int f = 0; f < frames; ++f) {
        const unsigned int at = f * K_DSP_FRAME_SAMPLES;
        const unsigned int left = count - at;
        predictors[f] =
            FramePredictor(samples, at, left < K_DSP_FRAME_SAMPLES ? left : K_DSP_FRAME_SAMPLES);
    }
    Predictor centres[kPairs - 1];
    SeedCentres(predictors, frames, centres, kPairs - 1);
    RefineCentres(predictors, frames, centres, kPairs - 1);
    kPlatform_ReleaseFree(predictors);
    pairs[0] = {0, 0};
    for (unsigned int c = 0; c < kPairs - 1; ++c) {
        pairs[c + 1] = {ToQ11(centres[c].c1), ToQ11(centres[c].c2)};
    }
}

struct FrameCoding {
    unsigned char predScale;
    signed char nibbles[K_DSP_FRAME_SAMPLES];
    short history1; // after the frame
    short history2;
    long long error;
};

// Codes up to 14 samples with one pair and shift; stops early once worse than `bound`.
FrameCoding CodeFrame(const short* samples, unsigned int count, const Pair& pair,
                      unsigned int shift, short history1, short history2, long long bound) {
    FrameCoding coding{};
    const long long step = (1ll << shift) * kOne;
    for (unsigned int i = 0; i < count && coding.error < bound; ++i) {
        const long long predicted =
            static_cast<long long>(pair.c1) * history1 + static_cast<long long>(pair.c2) * history2;
        const long long residual = static_cast<long long>(samples[i]) * kOne - predicted;
        long long nibble =
            residual >= 0 ? (residual + step / 2) / step : -((-residual + step / 2) / step);
        nibble = nibble < -8 ? -8 : (nibble > 7 ? 7 : nibble);
        const short decoded = Decode(static_cast<int>(nibble), shift, pair, history1, history2);
        coding.nibbles[i] = static_cast<signed char>(nibble);
        coding.error += static_cast<long long>(samples[i] - decoded) * (samples[i] - decoded);
        history2 = history1;
        history1 = decoded;
    }
    coding.history1 = history1;
    coding.history2 = history2;
    return coding;
}

FrameCoding BestCoding(const short* samples, unsigned int count, const Pair* pairs, short history1,
                       short history2) {
    FrameCoding best{};
    best.error = std::numeric_limits<long long>::max();
    for (unsigned int p = 0; p < kPairs; ++p) {
        for (unsigned int shift = 0; shift < kShifts; ++shift) {
            FrameCoding coding =
                CodeFrame(samples, count, pairs[p], shift, history1, history2, best.error);
            if (coding.error < best.error) {
                coding.predScale = static_cast<unsigned char>(p << 4 | shift);
                best = coding;
            }
        }
    }
    return best;
}

void PutFrame(const FrameCoding& coding, unsigned char* frame) {
    frame[0] = coding.predScale;
    for (unsigned int i = 0; i < K_DSP_FRAME_SAMPLES; i += 2) {
        frame[1 + i / 2] = static_cast<unsigned char>((coding.nibbles[i] & 0xF) << 4 |
                                                      (coding.nibbles[i + 1] & 0xF));
    }
}

struct Encoding {
    unsigned char firstPredScale;
    unsigned char loopPredScale;
    short loopHistory1;
    short loopHistory2;
};

// Codes every frame into `frames`, noting the decoder's state where the loop starts.
Encoding EncodeFrames(const short* samples, unsigned int count, const Pair* pairs,
                      unsigned int loopStart, unsigned char* frames) {
    Encoding encoding{};
    short history1 = 0;
    short history2 = 0;
    for (unsigned int at = 0, f = 0; at < count; at += K_DSP_FRAME_SAMPLES, ++f) {
        const unsigned int left = count - at;
        const unsigned int n = left < K_DSP_FRAME_SAMPLES ? left : K_DSP_FRAME_SAMPLES;
        const FrameCoding coding = BestCoding(samples + at, n, pairs, history1, history2);
        PutFrame(coding, frames + f * K_DSP_FRAME_BYTES);
        if (loopStart >= at && loopStart < at + n) {
            encoding.loopPredScale = coding.predScale;
            // The decoder's history just before the loop's first sample.
            const FrameCoding before = CodeFrame(
                samples + at, loopStart - at, pairs[coding.predScale >> 4], coding.predScale & 15u,
                history1, history2, std::numeric_limits<long long>::max());
            encoding.loopHistory1 = before.history1;
            encoding.loopHistory2 = before.history2;
        }
        encoding.firstPredScale = f == 0 ? coding.predScale : encoding.firstPredScale;
        history1 = coding.history1;
        history2 = coding.history2;
    }
    return encoding;
}

} // namespace

kSound* kSound_DSPEncode(const short* samples, unsigned int count, unsigned int sampleRate,
                         bool loop, unsigned int loopStart) {
    const unsigned long long frameCount =
        (count + K_DSP_FRAME_SAMPLES - 1ull) / K_DSP_FRAME_SAMPLES;
    const unsigned long long size = K_DSP_HEADER_SIZE + frameCount * K_DSP_FRAME_BYTES;
    if (samples == nullptr || count == 0 || (loop && loopStart >= count) || size > 0xFFFFFFFFull) {
        kLogSys(kSystem, "Encode: %u samples, loop from %u: nothing to encode.\n", count,
                loopStart);
        return nullptr;
    }
    Pair pairs[kPairs];
    ChoosePairs(samples, count, pairs);
    unsigned char* data = static_cast<unsigned char*>(
        kPlatform_ReleaseAlloc(K_MEM_TAG_SOUND, static_cast<unsigned int>(size)));
    std::memset(data, 0, static_cast<size_t>(size));
    const Encoding encoding =
        EncodeFrames(samples, count, pairs, loop ? loopStart : 0, data + K_DSP_HEADER_SIZE);

    kDSPADPCMHeader header{};
    header.numSamples = count;
    header.numNibbles = kDSPADPCM_SampleAddress(count - 1) + 1;
    header.sampleRate = sampleRate;
    header.loopFlag = loop ? 1 : 0;
    header.format = K_DSP_FORMAT_ADPCM;
    header.loopAddress = kDSPADPCM_SampleAddress(loop ? loopStart : 0);
    header.endAddress = kDSPADPCM_SampleAddress(count - 1);
    header.currentAddress = kDSPADPCM_SampleAddress(0);
    for (unsigned int p = 0; p < kPairs; ++p) {
        header.coefficients[2 * p] = static_cast<short>(pairs[p].c1);
        header.coefficients[2 * p + 1] = static_cast<short>(pairs[p].c2);
    }
    header.predScale = encoding.firstPredScale;
    header.loopPredScale = encoding.loopPredScale;
    header.loopHistory1 = encoding.loopHistory1;
    header.loopHistory2 = encoding.loopHistory2;
    kDSPADPCM_WriteHeader(header, data);

    kSound* sound = new kSound;
    sound->SetHeader(K_SAMPLE_DSP_ADPCM_1CH, sampleRate, data, static_cast<unsigned int>(size), 0);
    return sound;
}

} // namespace Kelvo_lib
