// The host the console layer runs on: its options (read from the command line on
// first use, before main if a static initialiser needs them), the frame limit, and
// the game's entry point, which the console layer's main calls. Nothing here
// allocates through operator new.
#pragma once

#include <console/types.h>

enum class HostKind { Headless, Window };

struct HostOptions {
    HostKind kind;
    s32 frameLimit; // -1: run until the program ends itself
    u32 tvFormat;   // VI_NTSC, VI_PAL, VI_MPAL or VI_EURGB60
};

// Parsed options; reports and ignores nothing silently: a bad option is an error.
const HostOptions& HostGetOptions();
// Parses argv into the options; returns false (after reporting why) on a bad option.
bool HostParseOptions(int argc, const char* const* argv, HostOptions* options);
void HostSetOptions(const HostOptions& options);

// Counts a frame of the main loop; false once the frame limit is reached.
bool HostBeginFrame();
u32 HostFrameCount();

// The headless host's clock, in time-base ticks; it moves only when advanced.
bool HostUsesVirtualClock();
s64 HostVirtualClock();
void HostAdvanceClock(s64 ticks);

// The game's entry point, called by the console layer's main.
int GameMain();
