// Texel rows of textures decoded to 0xAARRGGBB for the sprite span loop. Each part of
// a row is decoded when first asked for. Texture memory does not change while a
// primitive is drawn, so what one primitive decodes serves it to the end; the rows of
// the last few textures drawn serve later primitives too, where the image bytes they
// were decoded from are found unchanged. A row carries one texel either side, texel -1
// and texel width, as the texture's horizontal wrap gives them, so that neighbours are
// always adjacent. One static store; main thread only.
#pragma once

#include "gx/texture.h"

// A new primitive samples this texture (its image must not be null).
void GXStartTextureRows(const GXTextureSampler& sampler);

// Row y (0 <= y < height) with at least texels first to last decoded (-1 <= first and
// last <= width); element i + 1 holds texel i, and reading up to four elements past
// element width + 1 stays inside the store.
const u32* GXTextureRow(s32 y, s32 first, s32 last);

// GXTextureRow of rows ys[0] to ys[count - 1], to rows[0] on: a rectangle's lines at once.
void GXTextureRows(const s32* ys, u32 count, s32 first, s32 last, const u32** rows);

// Texels first to last of row y (0 <= first <= last < width) decoded straight to out[0]
// on, past the rows kept: for texels read once.
void GXDecodeTexels(s32 y, s32 first, s32 last, u32* out);
