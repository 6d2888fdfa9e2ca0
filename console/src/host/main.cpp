// The program's main: checks the host options, opens the window when the host has
// one, then runs the game's entry point. Exit code 2 for bad options, 1 when the
// window cannot open or a screenshot asked for was not written.
#include <console/host.h>
#include <console/os.h>

#include "host/retrace.h"
#include "host/screenshot.h"
#include "host/window.h"

extern const bool g_hostReadsCommandLine = true;

namespace {

void PrintUsage() {
    OSReport("usage: puzzles [--headless] [--frames N] [--tv ntsc|pal|eu60|mpal]"
             " [--screenshot N:FILE.png]... [--input FILE] [--disc DIR]"
             " [--fault TARGET:KIND@WHEN[xDURATION]]... [--audio-out FILE.wav] [--nand DIR]\n");
}

} // namespace

int main(int argc, char** argv) {
    HostOptions options;
    if (!HostParseOptions(argc, argv, &options)) {
        PrintUsage();
        return 2;
    }
    HostSetOptions(options);
    if (options.kind == HostKind::Window && !HostWindowStart()) {
        return 1;
    }
    if (options.kind == HostKind::Headless && options.frameLimit < 0) {
        OSReport("host: running headless until stopped (Ctrl-C) or --frames N ends it\n");
    }
    HostCatchStopSignals();
    int result = GameMain();
    HostWindowStop();
    OSReport("host: %u frames\n", HostFrameCount());
    if (!HostScreenshotsWritten() && result == 0) {
        result = 1;
    }
    return result;
}
