// A stand-in for the game's entry point that runs the platform's frame loop with one
// non-black clear colour, so scenarios can check the picture the host shows and writes.
#include <kelvo/platform/kplatform.h>

#include <console/gx.h>

namespace {

// Keep in step with screenshot.sh.
constexpr GXColor kClearColour{200, 120, 40, 0};

} // namespace

int GameMain() {
    kPlatform_Init();
    GXSetCopyClear(kClearColour, 0xFFFFFF);
    MyDemoBeforeRender();
    while (kPlatform_Process() != 0) {
        MyDemoDoneRender();
        MyDemoBeforeRender();
    }
    return 0;
}
