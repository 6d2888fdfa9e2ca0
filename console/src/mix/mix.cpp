// The mixer's channel settings, one per voice, turned into AX gains once per frame.
#include <console/ax.h>
#include <console/mix.h>
#include <console/os.h>

#include "ax/ax_state.h"
#include "os/interrupt_lock.h"

#include <cmath>
#include <cstring>

namespace {

struct MixChannel {
    AXVPB* voice; // null while released
    bool changed; // since the last update
    bool muted;
    int input;
    int fader;
    int pan;
    int span;
    int aux[3];
};
static_assert(sizeof(MixChannel) * AX_MAX_VOICES <= MIX_MEMORY_SIZE,
              "MIX's memory does not hold its channels");

struct Mixer {
    bool initialised = false;
    u32 soundMode = MIX_SOUND_MODE_STEREO;
    MixChannel* channels = nullptr;
};

constinit Mixer s_mix;

constexpr f64 kQuarterTurn = 1.5707963267948966;
constexpr f64 kCentreGain = 0.70710678118654752; // constant power: -3 dB on each side

// 0 left, 64 centre, 127 right, as an angle from 0 to a quarter turn.
f64 PanAngle(int pan) {
    const int limited =
        pan < MIX_PAN_LEFT ? MIX_PAN_LEFT : (pan > MIX_PAN_RIGHT ? MIX_PAN_RIGHT : pan);
    if (limited <= MIX_PAN_CENTRE) {
        return kQuarterTurn / 2 * limited / MIX_PAN_CENTRE;
    }
    return kQuarterTurn / 2 +
           kQuarterTurn / 2 * (limited - MIX_PAN_CENTRE) / (MIX_PAN_RIGHT - MIX_PAN_CENTRE);
}

// 0.1 dB times a pan factor as a Q15 gain.
u16 Gain(int level, f64 panFactor) {
    const int limited = level > MIX_VOLUME_MAX ? MIX_VOLUME_MAX : level;
    const f64 gain = std::pow(10.0, limited / 200.0) * panFactor * AX_GAIN_UNITY;
    const long rounded = std::lround(gain);
    return static_cast<u16>(rounded > 0xFFFF ? 0xFFFF : rounded);
}

void Apply(const MixChannel& channel, bool ramp) {
    const int level = channel.input + channel.fader;
    const bool silent = channel.muted || channel.input <= MIX_VOLUME_SILENT ||
                        channel.fader <= MIX_VOLUME_SILENT || level <= MIX_VOLUME_SILENT;
    u16 left = 0;
    u16 right = 0;
    if (!silent && s_mix.soundMode == MIX_SOUND_MODE_MONO) {
        left = right = Gain(level, kCentreGain);
    } else if (!silent) {
        const f64 angle = PanAngle(channel.pan);
        left = Gain(level, std::cos(angle));
        right = Gain(level, std::sin(angle));
    }
    AXSetVoiceGains(channel.voice, left, right, ramp);
}

// The initialised channel of a voice; null, reported, for any other.
MixChannel* ChannelOf(AXVPB* voice, const char* call) {
    if (!s_mix.initialised || voice == nullptr || voice->index >= AX_MAX_VOICES ||
        s_mix.channels[voice->index].voice != voice) {
        OSReport("%s: %p has no mixer channel\n", call, static_cast<void*>(voice));
        return nullptr;
    }
    return &s_mix.channels[voice->index];
}

template <typename Change>
void ChangeChannel(AXVPB* voice, const char* call, Change change) {
    OSInterruptLock lock;
    if (MixChannel* channel = ChannelOf(voice, call)) {
        change(*channel);
        channel->changed = true;
    }
}

} // namespace

void MIXInitSpecifyMem(void* memory) {
    OSInterruptLock lock;
    if (s_mix.initialised || memory == nullptr) {
        OSReport("MIXInitSpecifyMem: already set up, or no memory\n");
        return;
    }
    s_mix = Mixer{};
    s_mix.channels = static_cast<MixChannel*>(memory);
    std::memset(s_mix.channels, 0, sizeof(MixChannel) * AX_MAX_VOICES);
    s_mix.initialised = true;
}

void MIXQuit() {
    OSInterruptLock lock;
    s_mix = Mixer{};
}

void MIXSetSoundMode(u32 mode) {
    OSInterruptLock lock;
    if (mode != MIX_SOUND_MODE_MONO && mode != MIX_SOUND_MODE_STEREO) {
        OSReport("MIXSetSoundMode: unknown mode %u\n", mode);
        return;
    }
    s_mix.soundMode = mode;
    for (u32 i = 0; s_mix.initialised && i < AX_MAX_VOICES; ++i) {
        s_mix.channels[i].changed = true;
    }
}

void MIXInitChannel(AXVPB* voice, u32 mode, int input, int auxA, int auxB, int auxC, int pan,
                    int span, int fader) {
    OSInterruptLock lock;
    if (!s_mix.initialised || voice == nullptr || voice->index >= AX_MAX_VOICES) {
        OSReport("MIXInitChannel: no channel for %p\n", static_cast<void*>(voice));
        return;
    }
    MixChannel& channel = s_mix.channels[voice->index];
    channel = MixChannel{voice, false, (mode & MIX_MODE_MUTE) != 0, input, fader,
                         pan,   span,  {auxA, auxB, auxC}};
    Apply(channel, false);
}

void MIXReleaseChannel(AXVPB* voice) {
    OSInterruptLock lock;
    if (MixChannel* channel = ChannelOf(voice, "MIXReleaseChannel")) {
        AXSetVoiceGains(voice, 0, 0, false);
        *channel = MixChannel{};
    }
}

void MIXSetInput(AXVPB* voice, int input) {
    ChangeChannel(voice, "MIXSetInput", [input](MixChannel& channel) { channel.input = input; });
}

void MIXSetFader(AXVPB* voice, int fader) {
    ChangeChannel(voice, "MIXSetFader", [fader](MixChannel& channel) { channel.fader = fader; });
}

void MIXSetPan(AXVPB* voice, int pan) {
    ChangeChannel(voice, "MIXSetPan", [pan](MixChannel& channel) { channel.pan = pan; });
}

void MIXMute(AXVPB* voice) {
    ChangeChannel(voice, "MIXMute", [](MixChannel& channel) { channel.muted = true; });
}

void MIXUnMute(AXVPB* voice) {
    ChangeChannel(voice, "MIXUnMute", [](MixChannel& channel) { channel.muted = false; });
}

void MIXUpdateSettings() {
    OSInterruptLock lock;
    for (u32 i = 0; s_mix.initialised && i < AX_MAX_VOICES; ++i) {
        MixChannel& channel = s_mix.channels[i];
        if (channel.voice != nullptr && channel.changed) {
            Apply(channel, true);
            channel.changed = false;
        }
    }
}
