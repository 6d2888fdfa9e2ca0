// DrawSlicedSprite: draws a sprite's art over a rectangle of any size in nine pieces, so that
// rounded corners keep their shape: the art's corners are drawn at their own size (less when
// the rectangle is smaller than two corners), its edges stretch along the rectangle's sides
// and its middle both ways. The sprite's drawn size must be its art's size when called, and is
// again afterwards. Art no bigger than two corners is not drawn. Main thread only.
#pragma once

namespace Kelvo_lib {

class kSprite;

// artCorner: the size of the art's corners, in the art's pixels.
void DrawSlicedSprite(kSprite* sprite, float x, float y, float width, float height,
                      float artCorner);

} // namespace Kelvo_lib
