// LZSSDecode: expands a sprite bank's page stream (LZSS with a 4,096-byte ring whose
// positions 0 to 4,077 start as 0xFF, writing from 4,078; groups of a flag byte, bit 0
// first, and eight items: a set bit is one literal byte, a clear bit a two-byte reference
// b0, b1 to ring position b0 | (b1 & 0xF0) << 4 of length (b1 & 0x0F) + 3). The stream has
// no header or end marker: it ends with the input. Stateless, any thread. It never
// writes more than destinationSize bytes nor reads more than inputSize: a stream that
// runs past either bound (or ends inside an item) stops there; nothing is reported.
#pragma once

namespace Kelvo_lib {

constexpr unsigned int kLZSSRingSize = 4096;
constexpr unsigned int kLZSSRingStart = 4078; // the first write position; 0 to 4,077 hold 0xFF
constexpr unsigned int kLZSSMinMatch = 3;
constexpr unsigned int kLZSSMaxMatch = 18;

void LZSSDecode(void* destination, unsigned int destinationSize, const void* source,
                unsigned int inputSize);

} // namespace Kelvo_lib
