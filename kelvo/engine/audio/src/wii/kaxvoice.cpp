// An AX voice set up from a DSP ADPCM file's header.
#include <kelvo/audio/kaxvoice.h>
#include <kelvo/audio/kdspadpcm.h>

#include <console/ai.h>
#include <console/os.h>

namespace Kelvo_lib {

static_assert(K_AX_MAX_RATE == 4 * AI_SAMPLE_RATE, "four input samples to one output sample");

void kAX_SplitAddress(u32 value, u16* high, u16* low) {
    *high = static_cast<u16>(value >> 16);
    *low = static_cast<u16>(value);
}

AXPBSRC kAX_SourceFor(unsigned int sampleRate) {
    const double ratio = 65536.0 * sampleRate / AI_SAMPLE_RATE;
    const double limit = 65536.0 * K_AX_MAX_RATE / AI_SAMPLE_RATE;
    AXPBSRC src{};
    kAX_SplitAddress(static_cast<u32>(ratio < limit ? ratio : limit), &src.ratioHi, &src.ratioLo);
    return src;
}

void kAX_SetUpDSPVoice(AXVPB* voice, const unsigned char* dspFile, bool bLoop) {
    kDSPADPCMHeader header;
    kDSPADPCM_ReadHeader(dspFile, &header);
    // Addresses count nibbles from the first frame, which follows the header.
    const u32 base = (OSCachedToPhysical(dspFile) + K_DSP_HEADER_SIZE) * 2;
    AXPBADDR addr{};
    addr.loopFlag = bLoop ? 1 : 0;
    addr.format = header.format;
    kAX_SplitAddress(header.loopAddress + base, &addr.loopAddressHi, &addr.loopAddressLo);
    kAX_SplitAddress(header.endAddress + base, &addr.endAddressHi, &addr.endAddressLo);
    kAX_SplitAddress(header.currentAddress + base, &addr.currentAddressHi, &addr.currentAddressLo);
    AXPBADPCM adpcm{};
    for (int i = 0; i < 16; ++i) {
        adpcm.coefficients[i] = static_cast<u16>(header.coefficients[i]);
    }
    adpcm.gain = header.gain;
    adpcm.predScale = header.predScale;
    adpcm.history1 = static_cast<u16>(header.history1);
    adpcm.history2 = static_cast<u16>(header.history2);
    const AXPBADPCMLOOP loop{header.loopPredScale, static_cast<u16>(header.loopHistory1),
                             static_cast<u16>(header.loopHistory2)};
    const AXPBSRC src = kAX_SourceFor(header.sampleRate);
    AXSetVoiceType(voice, AX_PB_TYPE_NORMAL);
    AXSetVoiceAddr(voice, &addr);
    AXSetVoiceAdpcm(voice, &adpcm);
    AXSetVoiceAdpcmLoop(voice, &loop);
    AXSetVoiceSrcType(voice, AX_SRC_TYPE_LINEAR);
    AXSetVoiceSrc(voice, &src);
}

} // namespace Kelvo_lib
