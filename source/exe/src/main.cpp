// The game's entry point: starts the platform, silences the log and shows frames
// until the host ends the run.
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>

#include <console/host.h>

namespace {

constexpr const char* kBuildName = "1.0";

void DiscardLogText(const char*) {}

} // namespace

int GameMain() {
    kPlatform_Init();
    kLogCHook(DiscardLogText);
    kLogFmt("Build: %s\n", kBuildName);
    MyDemoBeforeRender();
    while (kPlatform_Process() != 0) {
        MyDemoDoneRender();
        MyDemoBeforeRender();
    }
    return 0;
}
