// datatool dump FILE: what a data file holds, for every kind of file the tool writes. The
// kind is told by the file itself; a picture or a music stream is refused at once, and so is
// a file cut short of the length its header gives; anything else is read as a sound file.
#include "banner/save_files_dump.h"
#include "commands.h"
#include "file_kinds.h"
#include "host_files.h"
#include "movies/movie_dump.h"
#include "puzzles/puzzle_bank_dump.h"
#include "sound/sound_file_dump.h"
#include "sprites/sprite_bank_dump.h"
#include "text/language_file_dump.h"

#include <string>
#include <vector>

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
        const std::vector<unsigned char> start = FileStart(argv[0]);
        if (ForeignFileKind(start) != nullptr) {
            ReportUnreadableFile(argv[0], start);
            return 1;
        }
        if (ReportIfTruncated(argv[0], start)) {
            return 1;
        }
        for (const FileDump& dump : kFileDumps) {
            if (dump.matches(argv[0])) {
                return dump.run(argc, argv);
            }
        }
    }
    return RunSoundFileDump(argc, argv);
}

} // namespace datatool
