#include "sound/dsp_file.h"

#include <kelvo/audio/kdspadpcm.h>
#include <kelvo/audio/ksoundwriter.h>
#include <kelvo/io/kmemoryiostream.h>

#include <memory>

namespace datatool {

std::vector<unsigned char> EncodeDspFile(std::span<const short> samples, unsigned int rate,
                                         bool bLoop) {
    const std::unique_ptr<Kelvo_lib::kSound> dsp(Kelvo_lib::kSound_DSPEncode(
        samples.data(), static_cast<unsigned int>(samples.size()), rate, bLoop, 0));
    if (dsp == nullptr) {
        return {};
    }
    std::vector<unsigned char> file(dsp->DataSize() + Kelvo_lib::K_SOUND_WRITER_MAX_HEADER);
    Kelvo_lib::kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()),
                                      K_IO_ACCESS_WRITE);
    if (!Kelvo_lib::kSound_DSPWrite(*dsp, &stream)) {
        return {};
    }
    file.resize(stream.Tell());
    return file;
}

} // namespace datatool
