// Matrix library: the 3 x 4 position matrices and 4 x 4 projections that GX loads,
// row-major, for column vectors (p' = M p, translation in the last column). The
// caller owns every matrix; any thread. A projection whose planes coincide is
// reported and left as the identity.
#pragma once

#include <console/types.h>

using Mtx = f32[3][4];
using Mtx44 = f32[4][4];
using MtxPtr = f32 (*)[4];

void MTXIdentity(Mtx m);
// Maps x from left..right to -1..1, y from top..bottom to 1..-1 and depth (-z, the
// eye looking down -z) from near..far to -1..0, the clip volume GX takes.
void MTXOrtho(Mtx44 m, f32 top, f32 bottom, f32 left, f32 right, f32 nearZ, f32 farZ);
void MTXTrans(Mtx m, f32 x, f32 y, f32 z);
void MTXScale(Mtx m, f32 x, f32 y, f32 z);
// ab = a x b (b applied first); ab may be a or b.
void MTXConcat(const Mtx a, const Mtx b, Mtx ab);
