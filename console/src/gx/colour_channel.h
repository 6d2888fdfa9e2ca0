// Colour channels: how many there are and where each channel's colour and alpha come
// from (the vertex or the material register, which holds white). Lighting is not
// modelled; a channel with lighting on is reported once and drawn unlit. Main thread only.
#pragma once

#include "gx/vertex_types.h"

// GXInit's state: no channel, both channels unlit with colour from the vertex.
void GXResetColourChannels();

// Writes the two rasterised colours into their attribute slots (0 to 255 per channel);
// a channel beyond the count is black with alpha 0, a vertex colour that is absent
// reads as opaque white.
void GXRasterisedColours(const GXVertexInput& vertex, f32* attributes);

// True when channel 0 alone is on, its colour and alpha from the vertex.
bool GXChannelsAreVertexColour0();
