// The host the console layer runs on: its options (read from the command line on
// first use, before main if a static initialiser needs them), the frame limit, and
// the game's entry point, which the console layer's main calls. Nothing here
// allocates through operator new.
#pragma once

#include <console/types.h>

enum class HostKind { Headless, Window };

constexpr u32 kHostMaxScreenshots = 8;
constexpr u32 kHostPathCapacity = 1024;

// A PNG file to write with the picture VI shows once `frame` frames have run.
struct HostScreenshot {
    u32 frame;
    char path[kHostPathCapacity];
};

struct HostOptions {
    HostKind kind;  // the game's default: a window when a display is present
    s32 frameLimit; // -1: run until the program ends itself
    u32 tvFormat;   // VI_NTSC, VI_PAL, VI_MPAL or VI_EURGB60
    u32 screenshotCount;
    HostScreenshot screenshots[kHostMaxScreenshots];
    char inputScript[kHostPathCapacity]; // --input: replayed remote events, or empty
    char discDir[kHostPathCapacity];     // --disc: the disc's directory, or empty: bin/../disc
    char faults[kHostPathCapacity];      // --fault: injected failure rules, joined by commas
    char audioOut[kHostPathCapacity];    // --audio-out: WAV file capturing the sound, or empty
    char nandDir[kHostPathCapacity];     // --nand: the flash memory's directory, or empty: the
                                         // user's data directory (console/nand.h)
    bool bLogDetail;                     // --verbose: the log's detail lines too
};

// Parsed options; reports and ignores nothing silently: a bad option is an error.
const HostOptions& HostGetOptions();
// Parses argv into the options; returns false (after reporting why) on a bad option.
bool HostParseOptions(int argc, const char* const* argv, HostOptions* options);
void HostSetOptions(const HostOptions& options);

// Counts a frame of the main loop, after writing the screenshots due once the frames
// so far have run; false once the frame limit is reached or a close was asked for.
bool HostBeginFrame();
// True once the user closed the window or stopped the program (SIGINT, SIGTERM) while it
// did not listen for POWER; the main loop then ends.
bool HostCloseRequested();
u32 HostFrameCount();
// A restart (os.h) starts the program again where the run stands: the restarted program's
// frame count carries on from the frame it was restarted in (0 for a first start), so the
// frame limit, the screenshots and the input script keep the run's own numbering.
u32 HostResumedFrame();
// Hands the frame count over to the program that a restart starts next.
void HostHandOverFrameCount();

// The headless host's clock, in time-base ticks; it moves only when advanced. Whether it is
// in use may be asked on any thread.
bool HostUsesVirtualClock();
s64 HostVirtualClock();
void HostAdvanceClock(s64 ticks);

// Presses the console's RESET or POWER button (the window's keys, the input script,
// tests); any thread.
void HostRaiseReset();
void HostRaisePower();
// Runs the callbacks of the presses raised so far (os.h) on the calling thread, which is
// the main thread: VI's retrace wait calls it.
void HostDeliverButtonPresses();

// The game's entry point, called by the console layer's main.
int GameMain();
