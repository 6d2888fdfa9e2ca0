// The return to the console's menu: the program ends there, as on the console, with the
// host shut down the way the end of a run shuts it down.
#include <console/host.h>
#include <console/os.h>

#include "host/window.h"

#include <cstdio>
#include <unistd.h>

void OSReturnToMenu() {
    OSReport("OS: return to the console menu after %u frames\n", HostFrameCount());
    HostWindowStop();
    std::fflush(nullptr);
    // Other threads (audio, disc) still run: end without running static destructors.
    _exit(0);
}
