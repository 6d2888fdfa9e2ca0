// Loads any bytes as a VAG sound file.
#include "fuzz_sound_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzSoundLoader(Kelvo_lib::kSound_VAGLoad, data, size);
}
