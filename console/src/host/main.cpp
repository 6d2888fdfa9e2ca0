// The program's main: checks the host options, then runs the game's entry point.
#include <console/host.h>
#include <console/os.h>

extern const bool g_hostReadsCommandLine = true;

namespace {

void PrintUsage() {
    OSReport("usage: puzzles [--headless] [--frames N] [--tv ntsc|pal|eu60|mpal]\n");
}

} // namespace

int main(int argc, char** argv) {
    HostOptions options;
    if (!HostParseOptions(argc, argv, &options)) {
        PrintUsage();
        return 2;
    }
    HostSetOptions(options);
    const int result = GameMain();
    OSReport("host: %u frames\n", HostFrameCount());
    return result;
}
