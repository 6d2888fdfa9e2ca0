// VB files: mono VAG ADPCM data without a header, played at 25,000 Hz.
#include <kelvo/audio/ksoundwriter.h>
#include <kelvo/platform/klog.h>

#include "ksoundfile.h"

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "VB";
constexpr unsigned int kRate = 25000;

using namespace kSoundFile;

} // namespace

kSound* kSound_VBLoad(kIOStreamSeekable* iostream) {
    const unsigned int size = Remaining(iostream);
    kLogFmt("Data (from file size): %d\n", static_cast<int>(size));
    void* data = ReadData(iostream, size, kSystem, "Failed to read data.\n");
    if (data == nullptr) {
        return nullptr;
    }
    kSound* sound = new kSound;
    sound->SetHeader(K_SAMPLE_VAG_ADPCM_1CH, kRate, data, size, 0);
    return sound;
}

bool kSound_VBWrite(const kSound& sound, kIOStream* stream) {
    if (sound.Format() != K_SAMPLE_VAG_ADPCM_1CH) {
        kLogSys(kSystem, "Write: not a mono VAG ADPCM sound.\n");
        return false;
    }
    return WriteAll(stream, sound.GetData(), sound.DataSize());
}

} // namespace Kelvo_lib
