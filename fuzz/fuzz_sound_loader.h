// The body of each sound loader's fuzz target: loads any bytes from memory and reads all
// the data the loader kept, so a size beyond what it read shows under the sanitizers.
#pragma once

#include <kelvo/audio/ksound.h>
#include <kelvo/io/kmemoryiostream.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

// The loaders log on every run.
volatile unsigned int s_dataChecksum = 0;

int FuzzSoundLoader(Kelvo_lib::kSound* (*loader)(Kelvo_lib::kIOStreamSeekable*),
                    const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    Kelvo_lib::kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()),
                                      K_IO_ACCESS_READ);
    const std::unique_ptr<Kelvo_lib::kSound> sound(loader(&stream));
    if (sound != nullptr) {
        const uint8_t* loaded = static_cast<const uint8_t*>(sound->GetData());
        unsigned int checksum = static_cast<unsigned int>(sound->Length());
        for (unsigned int i = 0; i < sound->DataSize(); ++i) {
            checksum = checksum * 31 + loaded[i];
        }
        s_dataChecksum = checksum;
    }
    return 0;
}

} // namespace
