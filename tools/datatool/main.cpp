// datatool: the host program that writes the game's data files, one subcommand per kind
// of file. Adding a subcommand takes one row below and one source file.
#include "commands.h"

#include <cstdio>
#include <cstring>

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
    {"dump", "FILE", "prints the header of a sound file (.dsp .wav .vag .ads .vb .swav)",
     RunDumpCommand},
    {"puzzles",
     "OUT.kmn --exclude FILE [--words FILE] [--wordnet DIR] [--seed N] [--mini N]"
     " [--per-difficulty N]",
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
    {"movie", "OUT.thp --style 0..4 --seconds S",
     "writes one of the start-up movies, drawn and scored here, as a THP file", RunMovieCommand},
};

int PrintUsage() {
    std::fprintf(stderr, "usage: datatool COMMAND [ARGUMENTS]\n");
    for (const Command& command : kCommands) {
        std::fprintf(stderr, "  datatool %s %s\n      %s\n", command.name, command.arguments,
                     command.summary);
    }
    return 2;
}

} // namespace
} // namespace datatool

int main(int argc, char** argv) {
    if (argc < 2) {
        return datatool::PrintUsage();
    }
    for (const datatool::Command& command : datatool::kCommands) {
        if (std::strcmp(command.name, argv[1]) == 0) {
            return command.run(argc - 2, argv + 2);
        }
    }
    std::fprintf(stderr, "datatool: unknown command '%s'\n", argv[1]);
    return datatool::PrintUsage();
}
