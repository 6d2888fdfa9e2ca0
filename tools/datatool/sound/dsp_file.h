// A whole DSP ADPCM sound file of mono 16-bit samples, encoded and written by the engine's
// own encoder and writer; empty when there is nothing to encode.
#pragma once

#include <span>
#include <vector>

namespace datatool {

std::vector<unsigned char> EncodeDspFile(std::span<const short> samples, unsigned int rate,
                                         bool bLoop);

} // namespace datatool
