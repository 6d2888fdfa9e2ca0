// datatool dump FILE: what a data file holds, for every kind of file the tool writes. The
// kind is told by the file itself; anything else is read as a sound file.
#include "banner/save_files_dump.h"
#include "commands.h"
#include "host_files.h"
#include "movies/movie_dump.h"
#include "puzzles/puzzle_bank_dump.h"
#include "sound/sound_file_dump.h"
#include "sprites/sprite_bank_dump.h"
#include "text/language_file_dump.h"

#include <string>

namespace datatool {
namespace {

struct FileDump {
    bool (*matches)(const std::string& path);
    int (*run)(int argc, char** argv);
};

constexpr FileDump kFileDumps[] = {
    {IsPuzzleBankFile, RunPuzzleBankDump}, {IsSpriteBankFile, RunSpriteBankDump},
    {IsLanguageFile, RunLanguageFileDump}, {IsSaveFile, RunSaveFileDump},
    {IsBannerFile, RunBannerFileDump},     {IsMovieFile, RunMovieDump},
};

} // namespace

int RunDumpCommand(int argc, char** argv) {
    if (argc >= 1 && !IsInputFile(argv[0])) {
        return 1;
    }
    if (argc >= 1) {
        for (const FileDump& dump : kFileDumps) {
            if (dump.matches(argv[0])) {
                return dump.run(argc, argv);
            }
        }
    }
    return RunSoundFileDump(argc, argv);
}

} // namespace datatool
