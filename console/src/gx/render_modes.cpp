// The console's standard render modes and their overscan adjustment. The modes are
// constant-initialised: start-up reads them from inside the first allocation,
// before dynamic initialisers have run.
#include <console/gx.h>

namespace {

constexpr GXRenderModeObj MakeInterlacedDoubleField(VITVMode tvMode, u16 height, u16 yOrigin) {
    GXRenderModeObj mode{tvMode,
                         640,
                         height,
                         height,
                         40,
                         yOrigin,
                         640,
                         height,
                         VI_XFBMODE_DF,
                         GX_FALSE,
                         GX_FALSE,
                         {},
                         {8, 8, 10, 12, 10, 8, 8}};
    for (auto& sample : mode.sample_pattern) {
        sample[0] = 6; // every sample at the pixel centre
        sample[1] = 6;
    }
    return mode;
}

} // namespace

constinit GXRenderModeObj GXNtsc480IntDf = MakeInterlacedDoubleField(VI_TVMODE_NTSC_INT, 480, 0);
constinit GXRenderModeObj GXPal528IntDf = MakeInterlacedDoubleField(VI_TVMODE_PAL_INT, 528, 23);

void GXAdjustForOverscan(const GXRenderModeObj* in, GXRenderModeObj* out, u16 horizontal,
                         u16 vertical) {
    const GXRenderModeObj source = *in;
    *out = source;
    const u16 xfbTrim = source.xFBmode == VI_XFBMODE_SF ? vertical : vertical * 2;
    out->fbWidth = source.fbWidth - horizontal * 2;
    out->efbHeight = source.efbHeight - vertical * 2;
    out->xfbHeight = source.xfbHeight - xfbTrim;
    out->viXOrigin = source.viXOrigin + horizontal;
    out->viYOrigin = source.viYOrigin + vertical;
    out->viWidth = source.viWidth - horizontal * 2;
    out->viHeight = source.viHeight - vertical * 2;
}
