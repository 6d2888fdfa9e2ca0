// LZSSDecode: expands a sprite bank's page stream: a 4,096-byte ring (0 to 4,077 start as
// 0xFF, writes from 4,078), groups of a flag byte (bit 0 first; set: a literal byte, clear:
// reference b0, b1 to ring position b0 | (b1 & 0xF0) << 4, length (b1 & 0x0F) + 3); the
// input's end ends it. Stateless, any thread. It never writes more than destinationSize
// bytes nor reads more than inputSize: a stream that runs past either bound stops there.
#pragma once

namespace Kelvo_lib {

constexpr unsigned int kLZSSRingSize = 4096;
constexpr unsigned int kLZSSRingStart = 4078; // the first write position; 0 to 4,077 hold 0xFF
constexpr unsigned int kLZSSMinMatch = 3;
constexpr unsigned int kLZSSMaxMatch = 18;

void LZSSDecode(void* destination, unsigned int destinationSize, const void* source,
                unsigned int inputSize);

} // namespace Kelvo_lib
