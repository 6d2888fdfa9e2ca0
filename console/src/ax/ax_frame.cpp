// The DSP's audio frame: each running voice fetches and decodes its samples, converts
// them to 32 kHz and is mixed at its gains, ramped over the frame, into the output block
// that AI plays next.
#include <console/ai.h>
#include <console/ax.h>
#include <console/host.h>
#include <console/os.h>

#include "ax/ax_state.h"

namespace {

constexpr u32 kOne = 1u << 16;
constexpr u32 kMaxRatio = 4u << 16;
constexpr u32 kMaxAdvances = (kOne - 1 + AI_FRAME_SAMPLES * kMaxRatio) >> 16;
constexpr u32 kHistory = 2; // input samples kept before the current one
constexpr OSTime kFrameTicks =
    static_cast<OSTime>(OS_TIMER_CLOCK) * AI_FRAME_SAMPLES / AI_SAMPLE_RATE;

u32 Joined(u16 high, u16 low) {
    return (static_cast<u32>(high) << 16) | low;
}

s16 Clamp16(s64 value) {
    return static_cast<s16>(value < -32768 ? -32768 : (value > 32767 ? 32767 : value));
}

// Reads a voice's samples from memory, ADPCM or PCM16, following its loop. Each run of
// memory it decodes from (from an address to the end) is checked against the arenas as a
// whole first. Works on copies of the parameters; Store writes them back.
class SampleFetcher {
public:
    SampleFetcher(AXVPB& voice, AXVoiceDsp& dsp)
        : m_voice(voice), m_dsp(dsp),
          m_current(Joined(voice.pb.addr.currentAddressHi, voice.pb.addr.currentAddressLo)),
          m_end(Joined(voice.pb.addr.endAddressHi, voice.pb.addr.endAddressLo)),
          m_predScale(voice.pb.adpcm.predScale),
          m_history1(static_cast<s16>(voice.pb.adpcm.history1)),
          m_history2(static_cast<s16>(voice.pb.adpcm.history2)) {}

    // Decodes up to `count` samples; fewer once the voice has none left (its end played
    // without loop, memory outside the arenas, an unknown format).
    u32 Fetch(s16* out, u32 count) {
        u32 fetched = 0;
        while (fetched < count && !m_dsp.dataEnded) {
            const u8* run = Run();
            if (run == nullptr) {
                break;
            }
            fetched += m_voice.pb.addr.format == AX_PB_FORMAT_ADPCM
                           ? FetchAdpcm(run, out + fetched, count - fetched)
                           : FetchPcm16(run, out + fetched, count - fetched);
        }
        return fetched;
    }

    void Store() {
        m_voice.pb.addr.currentAddressHi = static_cast<u16>(m_current >> 16);
        m_voice.pb.addr.currentAddressLo = static_cast<u16>(m_current);
        m_voice.pb.adpcm.predScale = m_predScale;
        m_voice.pb.adpcm.history1 = static_cast<u16>(m_history1);
        m_voice.pb.adpcm.history2 = static_cast<u16>(m_history2);
    }

private:
    // The host bytes from the current address to the end (ADPCM: whole frames, from the
    // current frame's header), all inside one arena; null, reported, otherwise.
    const u8* Run() {
        const u32 last = m_current > m_end ? m_current : m_end;
        switch (m_voice.pb.addr.format) {
        case AX_PB_FORMAT_ADPCM:
            m_runFirst = static_cast<u64>(m_current >> 4) * 8;
            return Span(static_cast<u64>(last >> 4) * 8 + 7, "ADPCM run from nibble");
        case AX_PB_FORMAT_PCM16:
            m_runFirst = static_cast<u64>(m_current) * 2;
            return Span(static_cast<u64>(last) * 2 + 1, "PCM16 run from sample");
        default:
            return Fault("unknown sample format", m_voice.pb.addr.format);
        }
    }

    const u8* Span(u64 lastByte, const char* what) {
        const u8* bytes = lastByte <= 0xFFFFFFFFu
                              ? OSPhysicalSpanIn(g_ax.regions, static_cast<u32>(m_runFirst),
                                                 static_cast<u32>(lastByte - m_runFirst + 1))
                              : nullptr;
        return bytes != nullptr ? bytes : Fault(what, m_current);
    }

    // Nibble addresses: 16 per 8-byte frame, the first two the predictor/scale byte.
    u32 FetchAdpcm(const u8* run, s16* out, u32 count) {
        u32 address = m_current;
        u32 fetched = 0;
        while (fetched < count) {
            const u8* frame = run + (static_cast<u64>(address >> 4) * 8 - m_runFirst);
            if ((address & 15u) < 2) {
                m_predScale = frame[0];
                address = (address & ~15u) + 2;
            }
            const u8 byte = frame[(address >> 1) & 7u];
            const int nibble = (address & 1u) != 0 ? (byte & 15) : (byte >> 4);
            out[fetched++] = Decode(nibble >= 8 ? nibble - 16 : nibble);
            if (address >= m_end) {
                EndReached();
                return fetched; // a loop starts a new run
            }
            ++address;
        }
        m_current = address;
        return fetched;
    }

    s16 Decode(int signedNibble) {
        const u16* pair = &m_voice.pb.adpcm.coefficients[((m_predScale >> 4) & 7u) * 2];
        const s64 scaled = static_cast<s64>(signedNibble) * (1 << (m_predScale & 15u));
        const s64 predicted = static_cast<s64>(static_cast<s16>(pair[0])) * m_history1 +
                              static_cast<s64>(static_cast<s16>(pair[1])) * m_history2;
        const s16 decoded = Clamp16((scaled * 2048 + predicted + 1024) >> 11);
        m_history2 = m_history1;
        m_history1 = decoded;
        return decoded;
    }

    // Sample addresses, big-endian samples.
    u32 FetchPcm16(const u8* run, s16* out, u32 count) {
        u32 address = m_current;
        for (u32 fetched = 0; fetched < count;) {
            const u8* bytes = run + (static_cast<u64>(address) * 2 - m_runFirst);
            out[fetched++] = static_cast<s16>((bytes[0] << 8) | bytes[1]);
            if (address >= m_end) {
                EndReached();
                return fetched;
            }
            ++address;
        }
        m_current = address;
        return count;
    }

    // After the end sample: the loop, with a normal ADPCM voice's context, or the end.
    void EndReached() {
        m_current = m_end;
        if (m_voice.pb.addr.loopFlag == 0) {
            m_dsp.dataEnded = true;
            return;
        }
        m_current = Joined(m_voice.pb.addr.loopAddressHi, m_voice.pb.addr.loopAddressLo);
        if (m_voice.pb.addr.format == AX_PB_FORMAT_ADPCM) {
            m_predScale = m_voice.pb.adpcmLoop.predScale;
            if (m_voice.pb.type == AX_PB_TYPE_NORMAL) {
                m_history1 = static_cast<s16>(m_voice.pb.adpcmLoop.history1);
                m_history2 = static_cast<s16>(m_voice.pb.adpcmLoop.history2);
            }
        }
    }

    const u8* Fault(const char* what, u32 value) {
        if (!m_dsp.faultReported) {
            OSReport("AX: voice %u stops: %s 0x%08x\n", m_voice.index, what, value);
            m_dsp.faultReported = true;
        }
        m_dsp.dataEnded = true;
        return nullptr;
    }

    AXVPB& m_voice;
    AXVoiceDsp& m_dsp;
    u32 m_current;
    u32 m_end;
    u16 m_predScale;
    s16 m_history1;
    s16 m_history2;
    u64 m_runFirst = 0; // physical byte at the run's start
};

// Converts a voice's samples to 32 kHz by linear interpolation at the carried fraction.
// Its input holds the last samples read (lastSamples; [2] is the current one, [3] the
// next), then the samples the frame steps over; the voice stops when it would step past
// its end.
class Resampler {
public:
    Resampler(AXVPB& voice, AXVoiceDsp& dsp) : m_voice(voice), m_dsp(dsp), m_fetcher(voice, dsp) {}

    // Fills `out` with up to AI_FRAME_SAMPLES samples; fewer when the voice ends.
    u32 Render(s32* out) {
        s16 input[kHistory + kMaxAdvances + 2 + kHistory + 2];
        for (u32 i = 0; i < 4; ++i) {
            input[i] = static_cast<s16>(m_voice.pb.src.lastSamples[i]);
        }
        const bool converts = m_voice.pb.srcType != AX_SRC_TYPE_NONE;
        const u32 ratio = converts ? Ratio() : kOne;
        const u32 fraction = converts ? m_voice.pb.src.fraction : 0;
        const u32 advances = (fraction + AI_FRAME_SAMPLES * ratio) >> 16;
        // Valid input from input[kHistory]: the current sample, the next, then fetched ones.
        u32 valid = m_dsp.nextPastEnd ? 1 : 2;
        if (!m_dsp.primed) {
            valid = 0;
            m_dsp.primed = true;
        }
        if (!m_dsp.nextPastEnd) {
            valid += m_fetcher.Fetch(input + kHistory + valid, advances + 2 - valid);
        }
        for (u32 i = 0; i < kHistory + 2; ++i) {
            input[kHistory + valid + i] = 0; // what a voice steps towards after its end
        }
        u32 produced = 0;
        u32 position = fraction;
        for (; produced < AI_FRAME_SAMPLES && (position >> 16) < valid; ++produced) {
            const s32 current = input[kHistory + (position >> 16)];
            const s64 step = static_cast<s64>(input[kHistory + (position >> 16) + 1]) - current;
            out[produced] = current + static_cast<s32>((step * (position & 0xFFFFu)) >> 16);
            position += ratio;
        }
        u32 reached = position >> 16;
        if (reached >= valid) {
            Finish();
            reached = valid;
        } else {
            m_dsp.nextPastEnd = reached + 1 >= valid;
        }
        Store(input + reached, position & 0xFFFFu);
        return produced;
    }

private:
    u32 Ratio() const {
        const u32 ratio = Joined(m_voice.pb.src.ratioHi, m_voice.pb.src.ratioLo);
        return ratio < kMaxRatio ? ratio : kMaxRatio;
    }

    void Finish() {
        m_voice.pb.state = AX_PB_STATE_STOP;
        m_dsp.finished = true;
    }

    // The four input samples around the new position: two before it, it, the next.
    void Store(const s16* around, u32 fraction) {
        m_voice.pb.src.fraction = static_cast<u16>(fraction);
        for (u32 i = 0; i < 4; ++i) {
            m_voice.pb.src.lastSamples[i] = static_cast<u16>(around[i]);
        }
        m_fetcher.Store();
    }

    AXVPB& m_voice;
    AXVoiceDsp& m_dsp;
    SampleFetcher m_fetcher;
};

// Adds the samples into one channel of the stereo mix at a gain ramped linearly from
// the gain reached last frame to the target over the whole frame.
void MixRamped(const s32* samples, u32 count, u32 channel, s64 from, s64 to, s32* mix) {
    for (u32 i = 0; i < count; ++i) {
        const s64 gain = from + (to - from) * (i + 1) / AI_FRAME_SAMPLES;
        mix[2 * i + channel] += static_cast<s32>((samples[i] * gain) >> 15);
    }
}

void MixVoice(AXVPB& voice, s32* mix) {
    AXVoiceDsp& dsp = AXDspOf(voice);
    const s64 left = dsp.gain[0];
    const s64 right = dsp.gain[1];
    dsp.gain[0] = dsp.targetGain[0];
    dsp.gain[1] = dsp.targetGain[1];
    if (voice.pb.state != AX_PB_STATE_RUN || dsp.finished) {
        voice.pb.state = AX_PB_STATE_STOP;
        return;
    }
    s32 samples[AI_FRAME_SAMPLES];
    const u32 count = Resampler(voice, dsp).Render(samples);
    if (left != dsp.gain[0] || right != dsp.gain[1]) {
        MixRamped(samples, count, 0, left, dsp.gain[0], mix);
        MixRamped(samples, count, 1, right, dsp.gain[1], mix);
        return;
    }
    for (u32 i = 0; i < count; ++i) {
        mix[2 * i] += static_cast<s32>((samples[i] * left) >> 15);
        mix[2 * i + 1] += static_cast<s32>((samples[i] * right) >> 15);
    }
}

void MixFrame(u8* block) {
    s32 mix[AI_FRAME_SAMPLES * 2] = {};
    for (u32 i = 0; i < g_ax.voiceCount; ++i) {
        if (g_ax.voices[i].priority != 0) {
            MixVoice(g_ax.voices[i], mix);
        }
    }
    for (u32 i = 0; i < AI_FRAME_SAMPLES * 2; ++i) {
        const u16 sample = static_cast<u16>(Clamp16(mix[i]));
        block[2 * i] = static_cast<u8>(sample >> 8);
        block[2 * i + 1] = static_cast<u8>(sample);
    }
}

// A frame that took longer than it lasts is reported in DSP cycles (4/3 of a time-base tick).
void ReportOverrun(OSTime elapsed) {
    if (elapsed > kFrameTicks && g_ax.exceedCallback != nullptr) {
        g_ax.exceedCallback(static_cast<unsigned long>((elapsed - kFrameTicks) * 4 / 3));
    }
}

} // namespace

void AXDmaCallback() {
    if (!g_ax.initialised) {
        return;
    }
    const bool timed = !HostUsesVirtualClock();
    const OSTime start = timed ? OSGetTime() : 0;
    const u32 block = g_ax.nextOutput;
    MixFrame(g_ax.output[block]);
    AIInitDMA(g_ax.outputPhysical[block], AI_FRAME_BYTES);
    g_ax.nextOutput = block ^ 1u;
    if (timed) {
        ReportOverrun(OSGetTime() - start);
    }
    if (g_ax.userCallback != nullptr) {
        g_ax.userCallback();
    }
}
