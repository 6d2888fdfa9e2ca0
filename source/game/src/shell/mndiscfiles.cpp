#include <shell/mndiscfiles.h>

#include <services/mnprofilemanager.h>
#include <services/mnresourcemanager.h>
#include <services/puzzlebank.h>

#include <console/dvd.h>

namespace Kelvo_lib {

namespace {

// The banks the game reads from the disc, in the order it first does; the asset check holds
// every bank the sources ask for to this list.
constexpr const char* kDiscBanks[] = {
    "wii_font_30", "wii_font_20", "wii_font_20b", "ptr",           "splash",  "bg",           "fe",
    "keyboard",    "title",       "puzzles",      "wii_grid_font", "font14b", "wii_font_11a",
};
constexpr int kBankCount = sizeof(kDiscBanks) / sizeof(kDiscBanks[0]);
// The banks, then the first start's texts and puzzle bank.
constexpr int kFileCount = kBankCount + 2;
constexpr int kMaxPath = 64;

struct FileList {
    char paths[kFileCount][kMaxPath] = {};
    const char* pointers[kFileCount] = {};
};

const FileList& Files() {
    static const FileList list = [] {
        FileList made;
        for (int i = 0; i < kBankCount; ++i) {
            MNResourceManager::GetBankFileName(kDiscBanks[i], made.paths[i], kMaxPath);
        }
        MNProfileManager::GetTextFileName(LANGUAGE_UK_ENGLISH, made.paths[kBankCount], kMaxPath);
        PuzzleBank::GetFileName(LANGUAGE_UK_ENGLISH, made.paths[kBankCount + 1], kMaxPath);
        for (int i = 0; i < kFileCount; ++i) {
            made.pointers[i] = made.paths[i];
        }
        return made;
    }();
    return list;
}

} // namespace

int MNDiscFiles::GetCount() {
    return kFileCount;
}

const char* MNDiscFiles::GetPath(int index) {
    return index >= 0 && index < kFileCount ? Files().pointers[index] : nullptr;
}

const char* MNDiscFiles::Check() {
    return DVDHostCheckFiles(Files().pointers, kFileCount);
}

} // namespace Kelvo_lib
