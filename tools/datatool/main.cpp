// datatool: the host program that writes the game's data files, one subcommand per kind
// of file. Adding a subcommand takes one row below and one source file. It runs on the
// host's heap; the engine's log (of the readers the dumps use) is shown with --verbose
// only, and --quiet drops standard output (the lines a writer prints about what it
// wrote) for builds, leaving errors on stderr. A failure that escapes a command (an
// input too large for memory, say) ends it with a message and exit code 1.
#include "commands.h"

#include <kelvo/platform/klog.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

namespace datatool {
namespace {

constexpr Command kCommands[] = {
    {"sound", "IN.wav OUT.dsp [--loop]",
     "encodes a WAV file's 16-bit PCM (stereo is mixed down) as a mono DSP ADPCM sound",
     RunSoundCommand},
    {"synth", "DESCRIPTION.txt OUTDIR",
     "synthesises the described effects (OUTDIR/NAME.dsp) and looping music cues"
     " (OUTDIR/NAME.ogg, Ogg Vorbis)",
     RunSynthCommand},
    {"dump", "FILE [ID] [--block-size N]",
     "prints what a data file holds: a sound file's header (.dsp .wav .vag .ads .vb .swav),"
     " or a puzzle bank (with ID: that puzzle alone), sprite bank, language file, save file"
     " (--block-size: the block it frames, default 5972 bytes), banner or movie",
     RunDumpCommand},
    {"puzzles", kPuzzlesArguments,
     "writes a puzzle bank of generated sudokus, wordsearches, crosswords and fitwords;"
     " 'dump OUT.kmn [ID]' shows it",
     RunPuzzlesCommand},
    {"text", "IN.txt OUT.txz [--compressed]",
     "writes a language file from a text table (id and text per line); 'dump OUT.txz' shows it",
     RunTextCommand},
    {"bank", "OUT.KSB [--layout current|wide-cells|old] [--page-size N] SPRITE...",
     "writes a sprite bank; SPRITE is --sprite NAME [--mask] [--hotspot NAME X Y] IMAGE.png|svg..."
     " ('@FILE' reads words from FILE); 'dump OUT.KSB' shows it",
     RunBankCommand},
    {"font", "OUT.KSB --sprite NAME --size PIXELS [--weight PIXELS] [--face FILE.ttf]",
     "writes a sprite bank of one font's 256 glyphs rendered from a TrueType face (DejaVu Sans"
     " by default), white with coverage in alpha",
     RunFontCommand},
    {"banner", "OUTDIR BANNER.svg|png ICONS.svg|png",
     "writes the save banner (192 x 64) and its 8 icon frames (48 x 48, side by side in ICONS) as"
     " tiled RGB5A3 files; 'dump save.dat' and 'dump banner.bin' show the saved files",
     RunBannerCommand},
    {"movie", kMovieArguments,
     "writes one of the start-up movies, drawn and scored here, as a THP file", RunMovieCommand},
};

void PrintCommand(std::FILE* out, const Command& command) {
    std::fprintf(out, "  datatool %s %s\n      %s\n", command.name, command.arguments,
                 command.summary);
}

int PrintUsage(std::FILE* out, int exitCode) {
    std::fprintf(out,
                 "usage: datatool [--verbose] [--quiet] COMMAND [ARGUMENTS]   (COMMAND --help: its "
                 "own)\n");
    for (const Command& command : kCommands) {
        PrintCommand(out, command);
    }
    return exitCode;
}

bool IsHelp(const char* argument) {
    return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0;
}

// Drops the engine's log lines.
class QuietLog : public Kelvo_lib::kLogHook {
public:
    void Reset() override {}
    void Message(long, int, int, const char*, const char*, bool) override {}
    void Print(const char*) override {}
};

void DropStandardOutput() {
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {
        std::fprintf(stderr, "datatool: --quiet cannot drop standard output\n");
    }
}

int Run(const Command& command, int argc, char** argv) {
    for (int i = 0; i < argc; ++i) {
        if (IsHelp(argv[i])) {
            std::printf("usage:\n");
            PrintCommand(stdout, command);
            return 0;
        }
    }
    try {
        return command.run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "datatool %s: out of memory (is an input too large?)\n", command.name);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "datatool %s: %s\n", command.name, error.what());
    }
    return 1;
}

} // namespace
} // namespace datatool

int main(int argc, char** argv) {
    datatool::QuietLog quiet;
    bool bVerbose = false;
    int first = 1;
    for (; first < argc; ++first) {
        if (std::strcmp(argv[first], "--verbose") == 0) {
            bVerbose = true;
        } else if (std::strcmp(argv[first], "--quiet") == 0) {
            datatool::DropStandardOutput();
        } else {
            break;
        }
    }
    if (!bVerbose) {
        kLog->Hook(&quiet);
    }
    if (argc <= first) {
        return datatool::PrintUsage(stderr, 2);
    }
    if (datatool::IsHelp(argv[first])) {
        return datatool::PrintUsage(stdout, 0);
    }
    for (const datatool::Command& command : datatool::kCommands) {
        if (std::strcmp(command.name, argv[first]) == 0) {
            return datatool::Run(command, argc - first - 1, argv + first + 1);
        }
    }
    std::fprintf(stderr, "datatool: unknown command '%s'\n", argv[first]);
    return datatool::PrintUsage(stderr, 2);
}
