// LZSSEncode: packs bytes into the stream that the engine's LZSSDecode expands (see
// framework/lzssdecode.h): greedy matching with a one-byte lazy look-ahead over hash
// chains, references reaching back at most 4,078 bytes, into the ring's initial 0xFF
// bytes too. Pure function.
#pragma once

#include <vector>

namespace datatool {

std::vector<unsigned char> LZSSEncode(const std::vector<unsigned char>& input);

} // namespace datatool
