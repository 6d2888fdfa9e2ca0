// The restart: the program is executed again with its own command line, the host shut
// down first the way the end of a run shuts it down.
#include <console/host.h>
#include <console/os.h>

#include "host/command_line.h"
#include "host/window.h"

#include <cstdio>
#include <unistd.h>

void OSRestart() {
    OSReport("OS: restart after %u frames\n", HostFrameCount());
    HostWindowStop();
    HostHandOverFrameCount();
    std::fflush(nullptr);
    constexpr int kMaxArguments = 256;
    const char* argv[kMaxArguments + 1] = {};
    if (HostReadOwnCommandLine(argv, kMaxArguments) > 0) {
        execv("/proc/self/exe", const_cast<char* const*>(argv));
    }
    OSReport("OS: the program could not be started again\n");
    std::fflush(nullptr);
    // Other threads (audio, disc) still run: end without running static destructors.
    _exit(1);
}
