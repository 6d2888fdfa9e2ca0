// The program's main: checks the host options (--help prints them), opens the window
// when the host has one, then runs the game's entry point. Exit code 2 for bad options
// or an --audio-out file that cannot be created, each said in a line and followed by one
// saying that the game does not start; 1 when the window cannot open or a screenshot or
// the sound asked for was not written.
#include <console/host.h>
#include <console/os.h>

#include "host/audio_host.h"
#include "host/frame_clock.h"
#include "host/screenshot.h"
#include "host/window.h"

#include <cstdio>
#include <cstring>

extern const bool g_hostReadsCommandLine = true;

namespace {

constexpr const char* kUsage =
    "usage: puzzles [option]...\n"
    "Runs the game in a window when a display is present, else headless.\n"
    "  --headless               no window and no sound device; time moves one field a frame\n"
    "  --frames N               end the run after N frames (exit code 0)\n"
    "  --tv ntsc|pal|eu60|mpal  the TV format (default pal)\n"
    "  --screenshot N:FILE.png  write the picture shown after N frames (up to 8)\n"
    "  --input FILE             replay a script of remote events\n"
    "  --disc DIR               the disc's directory (default: disc/ beside bin/)\n"
    "  --fault RULES            inject drive and flash errors: TARGET:KIND@WHEN[xDURATION],...\n"
    "  --nand DIR               the flash memory's directory\n"
    "  --audio-out FILE.wav     capture the sound to a WAV file\n"
    "  --verbose                log start-up details too (arenas, video mode)\n"
    "  --help                   show this text\n"
    "Ctrl-C (SIGINT) or SIGTERM ends the run as closing the window does.\n";

bool AsksForHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (AsksForHelp(argc, argv)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    HostOptions options;
    if (!HostParseOptions(argc, argv, &options)) {
        std::fputs("host: the game does not start (--help lists the options)\n", stderr);
        return 2;
    }
    HostSetOptions(options);
    if (!HostAudioCaptureBegin()) {
        std::fputs("host: the game does not start\n", stderr);
        return 2;
    }
    if (options.kind == HostKind::Window && !HostWindowStart()) {
        return 1;
    }
    HostCatchStopSignals();
    if (options.kind == HostKind::Headless && options.frameLimit < 0) {
        OSReport("host: running headless until stopped (Ctrl-C) or --frames N ends it\n");
    }
    int result = GameMain();
    HostWindowStop();
    OSReport("host: %u frames\n", HostFrameCount());
    if ((!HostScreenshotsWritten() || HostAudioCaptureFailed()) && result == 0) {
        result = 1;
    }
    return result;
}
