// Disc paths to host files, and the table of entry numbers handed out for them.
#include "dvd/disc_directory.h"

#include <console/dvd.h>
#include <console/host.h>
#include <console/os.h>

#include "host/window.h"

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <mutex>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

// Set by the program's own main (console/host), not by tests.
extern const bool g_hostReadsCommandLine __attribute__((weak));

namespace {

constexpr s32 kMaxEntries = 512;
// As for a bad host option.
constexpr int kNotTheDiscExitCode = 2;

struct EntryTable {
    char root[kDiscMaxHostPath];
    char paths[kMaxEntries][kDiscMaxHostPath];
    bool reported[kMaxEntries]; // the host could not read the file, and the user was told
    s32 count;
};

constinit std::mutex s_lock;
constinit EntryTable s_table{};

// Appends "/name" to path; false when it does not fit.
bool AppendComponent(char* path, const char* name, size_t length) {
    const size_t used = std::strlen(path);
    if (used + 1 + length + 1 > kDiscMaxHostPath) {
        return false;
    }
    path[used] = '/';
    std::memcpy(path + used + 1, name, length);
    path[used + 1 + length] = '\0';
    return true;
}

// <directory of the executable>/../disc
void DefaultRoot(char* out) {
    char exe[kDiscMaxHostPath];
    const ssize_t length = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    out[0] = '\0';
    if (length <= 0) {
        return;
    }
    exe[length] = '\0';
    char* slash = std::strrchr(exe, '/');
    if (slash != nullptr) {
        *slash = '\0';
    }
    std::memcpy(out, exe, std::strlen(exe) + 1);
    AppendComponent(out, "..", 2);
    AppendComponent(out, "disc", 4);
}

void CurrentRoot(char* out) {
    const char* option = HostGetOptions().discDir;
    if (option[0] == '\0') {
        DefaultRoot(out);
        return;
    }
    std::memcpy(out, option, kDiscMaxHostPath);
}

void SwitchRootLocked() {
    char root[kDiscMaxHostPath];
    CurrentRoot(root);
    if (std::strcmp(root, s_table.root) != 0) {
        std::memcpy(s_table.root, root, sizeof(root));
        s_table.count = 0;
    }
}

// Finds the directory entry named like `name` (length bytes) and appends its real name.
bool AppendMatching(char* directory, const char* name, size_t length) {
    DIR* dir = opendir(directory);
    if (dir == nullptr) {
        return false;
    }
    char best[256] = {};
    bool exact = false;
    while (const dirent* entry = readdir(dir)) {
        const char* candidate = entry->d_name;
        if (std::strlen(candidate) != length || strncasecmp(candidate, name, length) != 0) {
            continue;
        }
        const bool same = std::strncmp(candidate, name, length) == 0;
        if (same || (!exact && (best[0] == '\0' || std::strcmp(candidate, best) < 0))) {
            std::memcpy(best, candidate, length + 1);
            exact = same;
        }
    }
    closedir(dir);
    return best[0] != '\0' && AppendComponent(directory, best, length);
}

// The host path of a regular file at the disc path; "." components are skipped and
// ".." is refused, so a path never leaves the disc.
bool Resolve(const char* discPath, char* hostPath) {
    if (s_table.root[0] == '\0') {
        return false;
    }
    std::memcpy(hostPath, s_table.root, kDiscMaxHostPath);
    for (const char* at = discPath; *at != '\0';) {
        const size_t length = std::strcspn(at, "/");
        const bool dot = length == 1 && at[0] == '.';
        if (length == 2 && at[0] == '.' && at[1] == '.') {
            return false;
        }
        if (length > 0 && !dot && !AppendMatching(hostPath, at, length)) {
            return false;
        }
        at += length;
        at += *at == '/' ? 1 : 0;
    }
    struct stat info;
    return stat(hostPath, &info) == 0 && S_ISREG(info.st_mode);
}

s32 InternLocked(const char* hostPath) {
    for (s32 entry = 0; entry < s_table.count; ++entry) {
        if (std::strcmp(s_table.paths[entry], hostPath) == 0) {
            return entry;
        }
    }
    if (s_table.count == kMaxEntries) {
        OSReport("DVD: more than %d files opened on the disc\n", kMaxEntries);
        return -1;
    }
    std::memcpy(s_table.paths[s_table.count], hostPath, kDiscMaxHostPath);
    s_table.reported[s_table.count] = false;
    return s_table.count++;
}

// A directory that lacks a file the program cannot run without does not hold the disc: a
// --disc given by mistake, a disc never built or one copied in part. The program says which
// file it needed from which directory and ends at once, as a bad option ends it; a file that
// goes missing later is the game's to deal with. Tests, which check partial discs on purpose,
// run on.
void RefuseDirectoryWithoutTheDisc(const char* discPath, const char* root) {
    if (&g_hostReadsCommandLine == nullptr || !g_hostReadsCommandLine) {
        return;
    }
    OSReport("disc: the folder '%s' does not hold the game's disc (it has no %s)\n", root,
             discPath);
    HostWindowStop();
    std::fflush(nullptr);
    // Other threads (audio) still run: end without running static destructors.
    _exit(kNotTheDiscExitCode);
}

} // namespace

s32 DiscLookUp(const char* discPath) {
    char hostPath[kDiscMaxHostPath];
    std::lock_guard<std::mutex> guard(s_lock);
    SwitchRootLocked();
    return Resolve(discPath, hostPath) ? InternLocked(hostPath) : -1;
}

const char* DVDHostCheckFiles(const char* const* paths, u32 count) {
    for (u32 i = 0; i < count; ++i) {
        if (DiscLookUp(paths[i]) < 0) {
            char root[kDiscMaxHostPath];
            {
                std::lock_guard<std::mutex> guard(s_lock);
                std::memcpy(root, s_table.root, sizeof(root));
            }
            RefuseDirectoryWithoutTheDisc(paths[i], root);
            return paths[i];
        }
    }
    return nullptr;
}

bool DiscHostPath(s32 entry, char* out, size_t capacity) {
    std::lock_guard<std::mutex> guard(s_lock);
    if (entry < 0 || entry >= s_table.count || capacity < kDiscMaxHostPath) {
        return false;
    }
    std::memcpy(out, s_table.paths[entry], kDiscMaxHostPath);
    return true;
}

void DiscReportUnreadable(s32 entry, int error) {
    std::lock_guard<std::mutex> guard(s_lock);
    if (entry < 0 || entry >= s_table.count) {
        OSReport("DVD: entry %d is not on the disc\n", entry);
        return;
    }
    if (!s_table.reported[entry]) {
        s_table.reported[entry] = true;
        OSReport("DVD: cannot read '%s' on the disc: %s\n", s_table.paths[entry],
                 std::strerror(error));
    }
}
