// AX set-up, voice allocation with priorities and drops, and the parameter setters.
#include <console/ai.h>
#include <console/ax.h>
#include <console/os.h>

#include "ax/ax_state.h"
#include "os/interrupt_lock.h"

#include <cstdint>
#include <cstring>

AXState g_ax{};

namespace {

constexpr u32 kMaxRatio = 4u << 16;

// The memory's layout: voices, their DSP state, then the two output blocks.
constexpr u32 RoundUp32(u32 size) {
    return (size + 31u) & ~31u;
}
constexpr u32 kVoicesBytes = RoundUp32(sizeof(AXVPB) * AX_MAX_VOICES);
constexpr u32 kDspBytes = RoundUp32(sizeof(AXVoiceDsp) * AX_MAX_VOICES);
constexpr u32 kLayoutBytes = kVoicesBytes + kDspBytes + 2 * AI_FRAME_BYTES;
static_assert(kLayoutBytes <= AX_MEMORY_SIZE, "AX's memory does not hold its layout");

bool IsArenaBlock(void* memory) {
    if (memory == nullptr || reinterpret_cast<std::uintptr_t>(memory) % 32 != 0) {
        return false;
    }
    const u32 physical = OSCachedToPhysical(memory);
    return physical != OS_PHYSICAL_INVALID && OSPhysicalSpan(physical, AX_MEMORY_SIZE) != nullptr;
}

void LayOut(u32 voiceCount, u8* memory) {
    std::memset(memory, 0, kLayoutBytes);
    g_ax.voiceCount = voiceCount;
    g_ax.voices = reinterpret_cast<AXVPB*>(memory);
    g_ax.dsp = reinterpret_cast<AXVoiceDsp*>(memory + kVoicesBytes);
    for (u32 i = 0; i < 2; ++i) {
        g_ax.output[i] = memory + kVoicesBytes + kDspBytes + i * AI_FRAME_BYTES;
        g_ax.outputPhysical[i] = OSCachedToPhysical(g_ax.output[i]);
    }
    for (u32 i = 0; i < voiceCount; ++i) {
        g_ax.voices[i].index = i;
    }
}

// Null, after reporting, unless `voice` is one of AX's voices and acquired.
AXVPB* Acquired(AXVPB* voice, const char* call) {
    const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(g_ax.voices);
    const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(voice);
    const bool ours = g_ax.initialised && at >= first &&
                      at < first + g_ax.voiceCount * sizeof(AXVPB) &&
                      (at - first) % sizeof(AXVPB) == 0;
    if (!ours || voice->priority == 0) {
        OSReport("%s: %p is not an acquired voice\n", call, static_cast<void*>(voice));
        return nullptr;
    }
    return voice;
}

void Clear(AXVPB& voice) {
    const u32 index = voice.index;
    voice = AXVPB{};
    voice.index = index;
    AXDspOf(voice) = AXVoiceDsp{};
}

AXVPB* FreeVoice() {
    for (u32 i = 0; i < g_ax.voiceCount; ++i) {
        if (g_ax.voices[i].priority == 0) {
            return &g_ax.voices[i];
        }
    }
    return nullptr;
}

// The voice a request of `priority` may take: the lowest priority below it, the
// earliest acquired among equals.
AXVPB* VoiceToDrop(u32 priority) {
    AXVPB* victim = nullptr;
    for (u32 i = 0; i < g_ax.voiceCount; ++i) {
        AXVPB& voice = g_ax.voices[i];
        if (voice.priority >= priority) {
            continue;
        }
        if (victim == nullptr || voice.priority < victim->priority ||
            (voice.priority == victim->priority &&
             AXDspOf(voice).acquireOrder < AXDspOf(*victim).acquireOrder)) {
            victim = &voice;
        }
    }
    return victim;
}

void Drop(AXVPB& voice) {
    if (voice.callback != nullptr) {
        voice.callback(&voice);
    }
    Clear(voice);
}

} // namespace

AXVoiceDsp& AXDspOf(const AXVPB& voice) {
    return g_ax.dsp[voice.index];
}

void AXRestartFetch(AXVoiceDsp& dsp) {
    dsp.primed = false;
    dsp.dataEnded = false;
    dsp.nextPastEnd = false;
    dsp.finished = false;
    dsp.faultReported = false;
}

void AXSetVoiceGains(AXVPB* voice, u16 left, u16 right, bool ramp) {
    OSInterruptLock lock;
    if (Acquired(voice, "AXSetVoiceGains") == nullptr) {
        return;
    }
    AXVoiceDsp& dsp = AXDspOf(*voice);
    dsp.targetGain[0] = left;
    dsp.targetGain[1] = right;
    if (!ramp || !dsp.primed) { // a voice that has not played yet has nothing to ramp from
        dsp.gain[0] = left;
        dsp.gain[1] = right;
    }
}

void AXInitSpecifyMem(u32 voiceCount, void* memory) {
    OSInterruptLock lock;
    if (g_ax.initialised) {
        OSReport("AXInitSpecifyMem: AX is already set up\n");
        return;
    }
    if (voiceCount == 0 || voiceCount > AX_MAX_VOICES || !IsArenaBlock(memory)) {
        OSReport("AXInitSpecifyMem: %u voices in %p: need 1 to %u voices and %u aligned bytes "
                 "of an arena\n",
                 voiceCount, memory, AX_MAX_VOICES, AX_MEMORY_SIZE);
        return;
    }
    const AXUserCallback userCallback = g_ax.userCallback;
    const AXExceedCallback exceedCallback = g_ax.exceedCallback;
    g_ax = AXState{};
    g_ax.userCallback = userCallback;
    g_ax.exceedCallback = exceedCallback;
    g_ax.regions = OSPhysicalRegions();
    LayOut(voiceCount, static_cast<u8*>(memory));
    g_ax.nextOutput = 1; // block 0 (silence) is given to AI first
    g_ax.initialised = true;
    g_ax.displacedDmaCallback = AIRegisterDMACallback(AXDmaCallback);
    AIInitDMA(g_ax.outputPhysical[0], AI_FRAME_BYTES);
    AIStartDMA();
}

void AXQuit() {
    OSInterruptLock lock;
    if (!g_ax.initialised) {
        return;
    }
    const AIDCallback current = AIRegisterDMACallback(g_ax.displacedDmaCallback);
    if (current != AXDmaCallback) {
        AIRegisterDMACallback(current); // someone chained to AX: leave their callback
    }
    AIInitDMA(0, 0);
    g_ax = AXState{};
}

u32 AXGetMaxVoices() {
    OSInterruptLock lock;
    return g_ax.initialised ? g_ax.voiceCount : 0;
}

AXVPB* AXAcquireVoice(u32 priority, AXVoiceCallback dropCallback, void* userContext) {
    OSInterruptLock lock;
    if (!g_ax.initialised || priority < AX_PRIORITY_LOWEST || priority > AX_PRIORITY_HIGHEST) {
        OSReport("AXAcquireVoice: no voice at priority %u (AX set up: %d)\n", priority,
                 g_ax.initialised);
        return nullptr;
    }
    AXVPB* voice = FreeVoice();
    if (voice == nullptr) {
        voice = VoiceToDrop(priority);
        if (voice == nullptr) {
            return nullptr;
        }
        Drop(*voice);
    }
    voice->priority = priority;
    voice->callback = dropCallback;
    voice->userContext = userContext;
    AXDspOf(*voice).acquireOrder = ++g_ax.acquireCounter;
    return voice;
}

void AXFreeVoice(AXVPB* voice) {
    OSInterruptLock lock;
    if (Acquired(voice, "AXFreeVoice") != nullptr) {
        Clear(*voice);
    }
}

void AXSetVoiceType(AXVPB* voice, u16 type) {
    OSInterruptLock lock;
    if (Acquired(voice, "AXSetVoiceType") == nullptr) {
        return;
    }
    if (type != AX_PB_TYPE_NORMAL && type != AX_PB_TYPE_STREAM) {
        OSReport("AXSetVoiceType: unknown type %u\n", type);
        return;
    }
    voice->pb.type = type;
}

void AXSetVoiceAddr(AXVPB* voice, const AXPBADDR* addr) {
    OSInterruptLock lock;
    if (Acquired(voice, "AXSetVoiceAddr") != nullptr && addr != nullptr) {
        voice->pb.addr = *addr;
        AXRestartFetch(AXDspOf(*voice));
    }
}

void AXSetVoiceAdpcm(AXVPB* voice, const AXPBADPCM* adpcm) {
    OSInterruptLock lock;
    if (Acquired(voice, "AXSetVoiceAdpcm") != nullptr && adpcm != nullptr) {
        voice->pb.adpcm = *adpcm;
    }
}

void AXSetVoiceAdpcmLoop(AXVPB* voice, const AXPBADPCMLOOP* loop) {
    OSInterruptLock lock;
    if (Acquired(voice, "AXSetVoiceAdpcmLoop") != nullptr && loop != nullptr) {
        voice->pb.adpcmLoop = *loop;
    }
}

void AXSetVoiceSrcType(AXVPB* voice, u16 type) {
    OSInterruptLock lock;
    if (Acquired(voice, "AXSetVoiceSrcType") == nullptr) {
        return;
    }
    if (type != AX_SRC_TYPE_NONE && type != AX_SRC_TYPE_LINEAR) {
        OSReport("AXSetVoiceSrcType: unknown type %u\n", type);
        return;
    }
    voice->pb.srcType = type;
}

void AXSetVoiceSrc(AXVPB* voice, const AXPBSRC* src) {
    OSInterruptLock lock;
    if (Acquired(voice, "AXSetVoiceSrc") != nullptr && src != nullptr) {
        voice->pb.src = *src;
    }
}

void AXSetVoiceSrcRatio(AXVPB* voice, f32 ratio) {
    OSInterruptLock lock;
    if (Acquired(voice, "AXSetVoiceSrcRatio") == nullptr) {
        return;
    }
    if (!(ratio >= 0.0f)) {
        OSReport("AXSetVoiceSrcRatio: ratio %f is not a rate\n", static_cast<double>(ratio));
        return;
    }
    const f64 scaled = static_cast<f64>(ratio) * 65536.0;
    const u32 fixed = scaled >= kMaxRatio ? kMaxRatio : static_cast<u32>(scaled);
    voice->pb.src.ratioHi = static_cast<u16>(fixed >> 16);
    voice->pb.src.ratioLo = static_cast<u16>(fixed);
}

void AXSetVoiceState(AXVPB* voice, u16 state) {
    OSInterruptLock lock;
    if (Acquired(voice, "AXSetVoiceState") == nullptr) {
        return;
    }
    if (state != AX_PB_STATE_STOP && state != AX_PB_STATE_RUN) {
        OSReport("AXSetVoiceState: unknown state %u\n", state);
        return;
    }
    voice->pb.state = state;
}

AXUserCallback AXRegisterCallback(AXUserCallback callback) {
    OSInterruptLock lock;
    const AXUserCallback previous = g_ax.userCallback;
    g_ax.userCallback = callback;
    return previous;
}

AXExceedCallback AXRegisterExceedCallback(AXExceedCallback callback) {
    OSInterruptLock lock;
    const AXExceedCallback previous = g_ax.exceedCallback;
    g_ax.exceedCallback = callback;
    return previous;
}
