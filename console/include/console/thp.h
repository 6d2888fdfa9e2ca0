// THP decoding: a movie frame's picture and sound, for the movie player. A picture is a
// baseline JPEG in YCbCr 4:2:0 whose width and height are multiples of 16; it decodes into
// three 8-bit intensity textures in the graphics processor's tiled layout (GX_TF_I8): Y at
// full size, U and V at half width and height. A sound track is a big-endian u32 sample
// count n and u32 channel count c (1 or 2), then n x c big-endian 16-bit samples,
// interleaved; it decodes into interleaved stereo in host byte order. Any thread; every call
// checks its input against the sizes given and reports bad data instead of reading past it.
#pragma once

#include <console/types.h>

constexpr u32 THP_AUDIO_TRACK_HEADER_SIZE = 8;
constexpr u32 THP_WORK_SIZE = 4096;

BOOL THPInit();

// Decodes the JPEG of `size` bytes into the planes of a width x height picture (Y takes
// width * height bytes, U and V a quarter each). 0 on success; otherwise non-zero, reported,
// with the planes undefined: data that is not such a JPEG, or of another size.
s32 THPVideoDecode(const void* data, u32 size, u32 width, u32 height, void* tileY, void* tileU,
                   void* tileV, void* work);

// Decodes one sound track of `size` bytes into at most maxSamples stereo samples of
// `buffer`; returns the stereo samples written (0, reported, for a bad track). The flag is
// kept for the console's sake.
u32 THPAudioDecode(s16* buffer, u32 maxSamples, const void* data, u32 size, u32 flag);
