// Loads any bytes as a WAV sound file.
#include "fuzz_sound_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzSoundLoader(Kelvo_lib::kSound_WAVLoad, data, size);
}
