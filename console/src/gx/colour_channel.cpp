// GXSetNumChans, GXSetChanCtrl and the rasterised colours.
#include "gx/colour_channel.h"

#include "gx/vertex_route.h"

#include <console/gx.h>
#include <console/os.h>

namespace {

// Where one component of a rasterised colour comes from.
enum class Source : u8 { Off, Vertex, Material };

struct ChannelState {
    u32 count;
    // [channel][0 colour, 1 alpha]: take the vertex colour (else the material register)
    bool fromVertex[kGXColourCount][2];
    bool lightingReported;
    // [channel][red, green, blue, alpha], decoded from the above whenever they change
    Source sources[kGXColourCount][4];
};

constinit ChannelState s_channels{};

void DecodeSources() {
    for (u32 channel = 0; channel < kGXColourCount; ++channel) {
        for (u32 component = 0; component < 4; ++component) {
            const bool fromVertex = s_channels.fromVertex[channel][component == 3 ? 1 : 0];
            Source& source = s_channels.sources[channel][component];
            if (channel >= s_channels.count) {
                source = Source::Off;
            } else {
                source = fromVertex ? Source::Vertex : Source::Material;
            }
        }
    }
}

void Control(u32 channel, u32 part, GXColorSrc source) {
    s_channels.fromVertex[channel][part] = source == GX_SRC_VTX;
}

} // namespace

void GXResetColourChannels() {
    s_channels = ChannelState{};
    GXSetChanCtrl(GX_COLOR0A0, GX_DISABLE, GX_SRC_REG, GX_SRC_VTX, GX_LIGHT_NULL, GX_DF_NONE,
                  GX_AF_NONE);
    GXSetChanCtrl(GX_COLOR1A1, GX_DISABLE, GX_SRC_REG, GX_SRC_VTX, GX_LIGHT_NULL, GX_DF_NONE,
                  GX_AF_NONE);
}

void GXRasterisedColours(const GXVertexInput& vertex, f32* attributes) {
    for (u32 channel = 0; channel < kGXColourCount; ++channel) {
        f32* out = attributes + kGXColourSlot + 4 * channel;
        const bool given = vertex.hasColour[channel];
        for (u32 component = 0; component < 4; ++component) {
            const Source source = s_channels.sources[channel][component];
            if (source == Source::Off) {
                out[component] = 0.0f;
            } else if (source == Source::Vertex && given) {
                out[component] = vertex.colour[channel][component];
            } else {
                out[component] = 255.0f;
            }
        }
    }
}

bool GXChannelsAreVertexColour0() {
    return s_channels.count == 1 && s_channels.fromVertex[0][0] && s_channels.fromVertex[0][1];
}

void GXSetNumChans(u8 count) {
    if (count > kGXColourCount) {
        OSReport("GXSetNumChans: %u channels; 2 used\n", count);
        count = kGXColourCount;
    }
    s_channels.count = count;
    DecodeSources();
    GXVertexStateChanged();
}

void GXSetChanCtrl(GXChannelID channel, GXBool lightingEnable, GXColorSrc,
                   GXColorSrc materialSource, u32, GXDiffuseFn, GXAttnFn) {
    if (channel > GX_COLOR1A1) {
        OSReport("GXSetChanCtrl: unknown channel %u; ignored\n", channel);
        return;
    }
    if (lightingEnable && !s_channels.lightingReported) {
        OSReport("GXSetChanCtrl: lighting is not modelled; channels are drawn unlit\n");
        s_channels.lightingReported = true;
    }
    const u32 index = channel % 2; // GX_COLOR0, GX_ALPHA0 and GX_COLOR0A0 are even
    const bool colour = channel != GX_ALPHA0 && channel != GX_ALPHA1;
    const bool alpha = channel != GX_COLOR0 && channel != GX_COLOR1;
    if (colour) {
        Control(index, 0, materialSource);
    }
    if (alpha) {
        Control(index, 1, materialSource);
    }
    DecodeSources();
    GXVertexStateChanged();
}
