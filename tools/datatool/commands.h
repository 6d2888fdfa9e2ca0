// datatool's subcommands. Each is one function in its own source file and one row of the
// table in main.cpp. A command gets the arguments after its name and returns the exit
// code: 0 done, 1 failed (after saying why on stderr), 2 bad arguments.
#pragma once

namespace datatool {

struct Command {
    const char* name;
    const char* arguments; // for the usage text
    const char* summary;
    int (*run)(int argc, char** argv);
};

// sound IN.wav OUT.dsp [--loop]
int RunSoundCommand(int argc, char** argv);
// synth DESCRIPTION.txt OUTDIR
int RunSynthCommand(int argc, char** argv);
// dump FILE [ID] [--block-size N]
int RunDumpCommand(int argc, char** argv);
// puzzles kPuzzlesArguments
inline constexpr const char* kPuzzlesArguments =
    "OUT.kmn --exclude FILE --blocklist FILE --spellings FILE --sensitive FILE --clues FILE"
    " [--everyday FILE] [--words FILE] [--wordnet DIR] [--counts DIR] [--seed N] [--mini N]"
    " [--per-difficulty N]";
int RunPuzzlesCommand(int argc, char** argv);
// text IN.txt OUT.txz [--compressed]
int RunTextCommand(int argc, char** argv);
// bank OUT.KSB [--layout current|wide-cells|old] [--page-size N] SPRITE...
int RunBankCommand(int argc, char** argv);
// font OUT.KSB --sprite NAME --size PIXELS [--weight PIXELS] [--face FILE.ttf]
int RunFontCommand(int argc, char** argv);
// banner OUTDIR BANNER.svg|png ICONS.svg|png
int RunBannerCommand(int argc, char** argv);

// movie kMovieArguments
inline constexpr const char* kMovieArguments = "OUT.thp --style 0..4 --seconds 1..60";
int RunMovieCommand(int argc, char** argv);

} // namespace datatool
