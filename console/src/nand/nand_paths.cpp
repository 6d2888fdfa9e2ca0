// Where the flash memory lies on the host, and console paths to host paths. The root is
// the --nand option or the user's data directory; it is prepared on first use and again
// whenever the option changes (tests change it). A console path never leaves the root:
// names are 1 to 12 characters of letters, digits, '.', '_' and '-', and "." and ".."
// are refused.
#include "nand/nand_state.h"

#include <console/os.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nand {
namespace {

constinit State s_state{};

bool Fits(int written, size_t capacity) {
    return written > 0 && static_cast<size_t>(written) < capacity;
}

// $XDG_DATA_HOME/puzzles/nand when that is an absolute path, else
// $HOME/.local/share/puzzles/nand.
bool DefaultRoot(char* out) {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        return Fits(std::snprintf(out, kHostPathCapacity, "%s/puzzles/nand", dataHome),
                    kHostPathCapacity);
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return Fits(std::snprintf(out, kHostPathCapacity, "%s/.local/share/puzzles/nand", home),
                    kHostPathCapacity);
    }
    return false;
}

bool WantedRoot(char* out) {
    const char* option = HostGetOptions().nandDir;
    if (option[0] == '\0') {
        return DefaultRoot(out);
    }
    std::memcpy(out, option, kHostPathCapacity);
    return true;
}

// mkdir -p.
bool MakeDirectories(const char* path) {
    char prefix[kHostPathMax];
    const size_t length = std::strlen(path);
    if (length >= sizeof(prefix)) {
        return false;
    }
    for (size_t end = 1; end <= length; ++end) {
        if (end == length || path[end] == '/') {
            std::memcpy(prefix, path, end);
            prefix[end] = '\0';
            if (mkdir(prefix, 0755) != 0 && errno != EEXIST) {
                return false;
            }
        }
    }
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeUnderRoot(const char* root, const char* consolePath, char* hostPath) {
    return Fits(std::snprintf(hostPath, kHostPathMax, "%s%s", root, consolePath), kHostPathMax) &&
           MakeDirectories(hostPath);
}

int RemoveEntry(const char* path, const struct stat*, int, FTW*) {
    remove(path);
    return 0;
}

// The console empties its directory of working copies at start-up, folders and all: a
// copy left there by a power cut is never committed.
void EmptyDirectory(const char* directory) {
    DIR* dir = opendir(directory);
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        char path[kHostPathMax];
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0 &&
            Fits(std::snprintf(path, sizeof(path), "%s/%s", directory, entry->d_name),
                 sizeof(path))) {
            nftw(path, RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
        }
    }
    closedir(dir);
}

bool PrepareRoot(const char* root) {
    char home[kHostPathMax];
    char work[kHostPathMax];
    if (!MakeDirectories(root) || !MakeUnderRoot(root, kHomeDir, home) ||
        !MakeUnderRoot(root, kWorkDir, work)) {
        OSReport("NAND: cannot make the flash memory's directories under '%s'\n", root);
        return false;
    }
    EmptyDirectory(work);
    return true;
}

// The console's own folders at the top of the flash memory: "title" and "tmp".
bool IsTopFolder(const char* name, const char* consoleDir) {
    const size_t length = std::strcspn(consoleDir + 1, "/");
    return std::strlen(name) == length && std::strncmp(name, consoleDir + 1, length) == 0;
}

bool IsDirectoryIn(const char* folder, const char* name) {
    char path[kHostPathMax];
    struct stat info;
    return Fits(std::snprintf(path, sizeof(path), "%s/%s", folder, name), sizeof(path)) &&
           lstat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

bool IsValidAbsolutePath(const char* path) {
    if (path[0] != '/') {
        return false;
    }
    for (const char* at = path + 1; *at != '\0';) {
        const size_t length = std::strcspn(at, "/");
        const bool dots =
            (length == 1 && at[0] == '.') || (length == 2 && at[0] == '.' && at[1] == '.');
        if (length == 0 || length > NAND_MAX_NAME || dots) {
            return false;
        }
        for (size_t i = 0; i < length; ++i) {
            if (!IsNameCharacter(at[i])) {
                return false;
            }
        }
        at += length;
        if (*at == '/' && *++at == '\0') {
            return false; // a trailing '/'
        }
    }
    return true;
}

bool Absolute(const char* path, char* consolePath) {
    const char* directory = s_state.currentDir;
    const char* separator = std::strcmp(directory, "/") == 0 ? "" : "/";
    const int written = path[0] == '/' ? std::snprintf(consolePath, NAND_MAX_PATH, "%s", path)
                                       : std::snprintf(consolePath, NAND_MAX_PATH, "%s%s%s",
                                                       directory, separator, path);
    return path[0] != '\0' && Fits(written, NAND_MAX_PATH);
}

} // namespace

State& TheState() {
    return s_state;
}

bool ReadyRoot() {
    char root[kHostPathCapacity];
    if (!WantedRoot(root)) {
        OSReport("NAND: no --nand directory, XDG_DATA_HOME or HOME; no flash memory\n");
        return false;
    }
    if (s_state.bRootReady && std::strcmp(root, s_state.root) == 0) {
        return true;
    }
    for (OpenFile& file : s_state.files) {
        Release(&file);
    }
    s_state.bRootReady = PrepareRoot(root);
    std::memcpy(s_state.root, root, sizeof(root));
    std::memcpy(s_state.currentDir, kHomeDir, std::strlen(kHomeDir) + 1);
    return s_state.bRootReady;
}

s32 Resolve(const char* path, char* consolePath, char* hostPath) {
    if (path == nullptr) {
        return NAND_RESULT_INVALID;
    }
    if (!ReadyRoot()) {
        return NAND_RESULT_FATAL_ERROR;
    }
    if (!Absolute(path, consolePath) || !IsValidAbsolutePath(consolePath)) {
        OSReport("NAND: '%s' is not a valid path\n", path);
        return NAND_RESULT_INVALID;
    }
    const bool fits = Fits(std::snprintf(hostPath, kHostPathMax, "%s%s", s_state.root, consolePath),
                           kHostPathMax);
    return fits ? NAND_RESULT_OK : NAND_RESULT_INVALID;
}

unsigned HostMode(u8 permission) {
    unsigned mode = 0;
    mode |= (permission & NAND_PERM_OWNER_READ) != 0 ? S_IRUSR : 0;
    mode |= (permission & NAND_PERM_OWNER_WRITE) != 0 ? S_IWUSR : 0;
    mode |= (permission & NAND_PERM_OTHERS_READ) != 0 ? S_IRGRP | S_IROTH : 0;
    mode |= (permission & NAND_PERM_OTHERS_WRITE) != 0 ? S_IWGRP | S_IWOTH : 0;
    return mode;
}

bool OwnerMay(unsigned hostMode, u8 access) {
    const bool readOk = (access & NAND_ACCESS_READ) == 0 || (hostMode & S_IRUSR) != 0;
    const bool writeOk = (access & NAND_ACCESS_WRITE) == 0 || (hostMode & S_IWUSR) != 0;
    return readOk && writeOk;
}

} // namespace nand

s32 NANDGetHomeDir(char* path) {
    if (path == nullptr) {
        return NAND_RESULT_INVALID;
    }
    if (!nand::ReadyRoot()) {
        return NAND_RESULT_FATAL_ERROR;
    }
    std::memcpy(path, nand::kHomeDir, std::strlen(nand::kHomeDir) + 1);
    return NAND_RESULT_OK;
}

s32 NANDChangeDir(const char* path) {
    char consolePath[NAND_MAX_PATH];
    char hostPath[nand::kHostPathMax];
    const s32 result = nand::Resolve(path, consolePath, hostPath);
    if (result != NAND_RESULT_OK) {
        return result;
    }
    struct stat info;
    if (stat(hostPath, &info) != 0 || !S_ISDIR(info.st_mode)) {
        return NAND_RESULT_NOEXISTS;
    }
    std::memcpy(nand::TheState().currentDir, consolePath, sizeof(consolePath));
    return NAND_RESULT_OK;
}

bool NANDHostMayUseFolder(const char* folder, char* stranger, u32 capacity) {
    DIR* dir = opendir(folder);
    if (dir == nullptr) {
        return true; // made on first use, or refused then
    }
    bool hasTitle = false;
    bool hasWork = false;
    const char* foreign = nullptr;
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
            continue;
        }
        const bool title = nand::IsTopFolder(name, nand::kHomeDir);
        const bool work = nand::IsTopFolder(name, nand::kWorkDir);
        if ((!title && !work) || !nand::IsDirectoryIn(folder, name)) {
            foreign = name;
            break;
        }
        hasTitle = hasTitle || title;
        hasWork = hasWork || work;
    }
    // A working folder without the title folder beside it is not one the console made.
    if (foreign == nullptr && hasWork && !hasTitle) {
        foreign = nand::kWorkDir + 1;
    }
    if (foreign != nullptr) {
        std::snprintf(stranger, capacity, "%s", foreign);
    }
    closedir(dir);
    return foreign == nullptr;
}

const char* NANDHostRoot() {
    return nand::ReadyRoot() ? nand::TheState().root : "";
}
