// Host options. The game executable's options are read from the process's own
// command line on first use, because start-up runs inside the first allocation,
// before main; other programs (tests, tools) get the defaults, headless.
#include <console/fault.h>
#include <console/host.h>
#include <console/host_input.h>
#include <console/nand.h>
#include <console/os.h>
#include <console/vi.h>

#include "host/command_line.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

// Defined by the console layer's main, so only the game reads its command line.
extern const bool g_hostReadsCommandLine __attribute__((weak));

namespace {

constexpr HostOptions kDefaultOptions{
    HostKind::Headless, -1, VI_PAL, 0, {}, {}, {}, {}, {}, {}, false};

struct TvFormatName {
    const char* name;
    u32 format;
};
constexpr TvFormatName kTvFormats[] = {
    {"ntsc", VI_NTSC}, {"pal", VI_PAL}, {"eu60", VI_EURGB60}, {"mpal", VI_MPAL}};

constinit HostOptions s_options = kDefaultOptions;
std::atomic<bool> s_optionsRead{false};
// Whether the options ask for the headless host, kept apart from them: the drive's thread
// asks while the main thread may set new options (tests do).
std::atomic<bool> s_headless{true};

bool ParseTvFormat(const char* text, u32* format) {
    for (const TvFormatName& entry : kTvFormats) {
        if (std::strcmp(text, entry.name) == 0) {
            *format = entry.format;
            return true;
        }
    }
    OSReport("unknown TV format '%s' (ntsc, pal, eu60 or mpal)\n", text);
    return false;
}

bool ParseFrameCount(const char* option, const char* text, s32* count) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!std::isdigit(static_cast<unsigned char>(text[0])) || *end != '\0' || value > 0x7FFFFFFF) {
        OSReport("%s takes a whole number of frames, not '%s'\n", option, text);
        return false;
    }
    *count = static_cast<s32>(value);
    return true;
}

bool EndsWithPng(const char* path, size_t length) {
    constexpr size_t kSuffixLength = 4;
    return length > kSuffixLength && strcasecmp(path + length - kSuffixLength, ".png") == 0;
}

// "N:FILE.png": the frame count, then the file.
bool ParseScreenshot(const char* text, HostScreenshot* screenshot) {
    const char* colon = std::strchr(text, ':');
    char frame[16] = {};
    if (colon == nullptr || static_cast<size_t>(colon - text) >= sizeof(frame)) {
        OSReport("--screenshot takes FRAME:FILE.png, not '%s'\n", text);
        return false;
    }
    std::memcpy(frame, text, static_cast<size_t>(colon - text));
    s32 count = 0;
    if (!ParseFrameCount("--screenshot", frame, &count)) {
        return false;
    }
    const char* path = colon + 1;
    const size_t length = std::strlen(path);
    if (!EndsWithPng(path, length) || length >= sizeof(screenshot->path)) {
        OSReport("--screenshot needs a file name ending in .png, shorter than %zu characters, "
                 "not '%s'\n",
                 sizeof(screenshot->path), path);
        return false;
    }
    screenshot->frame = static_cast<u32>(count);
    std::memcpy(screenshot->path, path, length + 1);
    return true;
}

bool DisplayPresent() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && x11[0] != '\0') || (wayland != nullptr && wayland[0] != '\0');
}

// A screenshot after the last frame would never be written.
bool ScreenshotsWithinFrameLimit(const HostOptions& options) {
    for (u32 i = 0; i < options.screenshotCount; ++i) {
        const HostScreenshot& screenshot = options.screenshots[i];
        if (options.frameLimit >= 0 && screenshot.frame > static_cast<u32>(options.frameLimit)) {
            OSReport("--screenshot %u:%s comes after the last frame (--frames %d)\n",
                     screenshot.frame, screenshot.path, options.frameLimit);
            return false;
        }
    }
    return true;
}

bool SetHeadless(const char*, HostOptions* options) {
    options->kind = HostKind::Headless;
    return true;
}

bool SetFrameLimit(const char* value, HostOptions* options) {
    return ParseFrameCount("--frames", value, &options->frameLimit);
}

bool SetTvFormat(const char* value, HostOptions* options) {
    return ParseTvFormat(value, &options->tvFormat);
}

bool AddScreenshot(const char* value, HostOptions* options) {
    if (options->screenshotCount >= kHostMaxScreenshots) {
        OSReport("at most %u --screenshot options\n", kHostMaxScreenshots);
        return false;
    }
    if (!ParseScreenshot(value, &options->screenshots[options->screenshotCount])) {
        return false;
    }
    ++options->screenshotCount;
    return true;
}

// The script is checked here, so that a bad one stops the program before it starts.
bool SetInputScript(const char* value, HostOptions* options) {
    if (std::strlen(value) >= kHostPathCapacity) {
        OSReport("--input: the path is longer than %u characters\n", kHostPathCapacity - 1);
        return false;
    }
    std::strcpy(options->inputScript, value);
    return HostInputCheckScript(value);
}

bool SetDiscDir(const char* value, HostOptions* options) {
    struct stat info;
    if (std::strlen(value) >= kHostPathCapacity || stat(value, &info) != 0 ||
        !S_ISDIR(info.st_mode)) {
        OSReport("--disc: '%s' is not a directory\n", value);
        return false;
    }
    std::strcpy(options->discDir, value);
    return true;
}

// Each --fault adds its rules to the list; the whole list is checked here, so that
// rules beyond the table's room are refused at start.
bool AddFaults(const char* value, HostOptions* options) {
    FaultRule rules[kFaultMaxRules];
    u32 count = 0;
    char combined[kHostPathCapacity];
    const size_t used = std::strlen(options->faults);
    const size_t length = std::strlen(value);
    if (used + 1 + length >= kHostPathCapacity) {
        OSReport("--fault: the rules are longer than %u characters\n", kHostPathCapacity - 1);
        return false;
    }
    std::memcpy(combined, options->faults, used);
    combined[used] = ',';
    const size_t start = used > 0 ? used + 1 : 0;
    std::memcpy(combined + start, value, length + 1);
    if (!FaultParse(combined, rules, kFaultMaxRules, &count)) {
        return false;
    }
    std::memcpy(options->faults, combined, sizeof(combined));
    return true;
}

// Whether path can be created or written: a writable file other than a folder (/dev/null
// included), or a new name in a folder that takes files. Sets errno when not.
bool CanCreateFile(const char* path) {
    struct stat info;
    if (stat(path, &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            errno = EISDIR;
            return false;
        }
        return access(path, W_OK) == 0;
    }
    if (errno != ENOENT) {
        return false;
    }
    char folder[kHostPathCapacity];
    std::strcpy(folder, path);
    char* slash = std::strrchr(folder, '/');
    if (slash == nullptr) {
        std::strcpy(folder, ".");
    } else {
        slash[slash == folder ? 1 : 0] = '\0';
    }
    return access(folder, W_OK | X_OK) == 0;
}

// The file is created when the run starts; one that cannot be is refused here.
bool SetAudioOut(const char* value, HostOptions* options) {
    const size_t length = std::strlen(value);
    if (length == 0 || length >= kHostPathCapacity) {
        OSReport("--audio-out needs a file name shorter than %u characters\n", kHostPathCapacity);
        return false;
    }
    if (!CanCreateFile(value)) {
        OSReport("--audio-out: cannot create '%s': %s\n", value, std::strerror(errno));
        return false;
    }
    std::memcpy(options->audioOut, value, length + 1);
    return true;
}

// The directory is created on first use. Something else by that name is refused, and so is
// a folder holding other things than the flash memory, whose working folder the console
// would empty.
bool SetNandDir(const char* value, HostOptions* options) {
    struct stat info;
    const size_t length = std::strlen(value);
    if (length == 0 || length >= kHostPathCapacity ||
        (stat(value, &info) == 0 && !S_ISDIR(info.st_mode))) {
        OSReport("--nand: '%s' cannot be the flash memory's directory\n", value);
        return false;
    }
    char stranger[256];
    if (!NANDHostMayUseFolder(value, stranger, sizeof(stranger))) {
        OSReport("--nand: '%s' holds '%s', so it is not a flash memory folder the game made; "
                 "name a new or empty folder\n",
                 value, stranger);
        return false;
    }
    std::memcpy(options->nandDir, value, length + 1);
    return true;
}

bool SetLogDetail(const char*, HostOptions* options) {
    options->bLogDetail = true;
    return true;
}

// One row per option; a row with a value takes the next argument.
struct OptionRow {
    const char* name;
    bool takesValue;
    bool (*apply)(const char* value, HostOptions* options);
};
constexpr OptionRow kOptionRows[] = {
    {"--headless", false, SetHeadless}, {"--frames", true, SetFrameLimit},
    {"--tv", true, SetTvFormat},        {"--screenshot", true, AddScreenshot},
    {"--input", true, SetInputScript},  {"--disc", true, SetDiscDir},
    {"--fault", true, AddFaults},       {"--audio-out", true, SetAudioOut},
    {"--nand", true, SetNandDir},       {"--verbose", false, SetLogDetail},
};

const OptionRow* FindOption(const char* name) {
    for (const OptionRow& row : kOptionRows) {
        if (std::strcmp(row.name, name) == 0) {
            return &row;
        }
    }
    return nullptr;
}

// Whether the option at argv[i] is followed by its value. No value begins with "--": that
// is the next option, the value forgotten (as in "--nand --headless").
bool HasValue(int argc, const char* const* argv, int i) {
    if (i + 1 >= argc) {
        OSReport("%s needs a value\n", argv[i]);
        return false;
    }
    if (std::strncmp(argv[i + 1], "--", 2) == 0) {
        OSReport("%s needs a value, not the option '%s'\n", argv[i], argv[i + 1]);
        return false;
    }
    return true;
}

} // namespace

// The process's arguments, split from /proc/self/cmdline into static storage.
int HostReadOwnCommandLine(const char** argv, int maxArgs) {
    static char buffer[65536];
    const int file = open("/proc/self/cmdline", O_RDONLY);
    if (file < 0) {
        return 0;
    }
    const ssize_t length = read(file, buffer, sizeof(buffer) - 1);
    close(file);
    if (length <= 0) {
        return 0;
    }
    buffer[length] = '\0';
    int argc = 0;
    for (ssize_t at = 0; at < length && argc < maxArgs; at += std::strlen(buffer + at) + 1) {
        argv[argc++] = buffer + at;
    }
    return argc;
}

bool HostParseOptions(int argc, const char* const* argv, HostOptions* options) {
    *options = kDefaultOptions;
    options->kind = DisplayPresent() ? HostKind::Window : HostKind::Headless;
    for (int i = 1; i < argc; ++i) {
        const OptionRow* row = FindOption(argv[i]);
        if (row == nullptr) {
            OSReport("unknown host option '%s'\n", argv[i]);
            return false;
        }
        if (row->takesValue && !HasValue(argc, argv, i)) {
            return false;
        }
        const char* value = row->takesValue ? argv[++i] : nullptr;
        if (!row->apply(value, options)) {
            return false;
        }
    }
    return ScreenshotsWithinFrameLimit(*options);
}

const HostOptions& HostGetOptions() {
    if (!s_optionsRead.exchange(true)) { // marked first: a report while parsing may ask again
        if (&g_hostReadsCommandLine != nullptr && g_hostReadsCommandLine) {
            const char* argv[256];
            const int argc = HostReadOwnCommandLine(argv, 256);
            if (!HostParseOptions(argc, argv, &s_options)) {
                s_options = kDefaultOptions;
            }
        }
        s_headless = s_options.kind == HostKind::Headless;
    }
    return s_options;
}

void HostSetOptions(const HostOptions& options) {
    s_options = options;
    s_optionsRead = true;
    s_headless = options.kind == HostKind::Headless;
}

bool HostUsesVirtualClock() {
    HostGetOptions(); // read on first use
    return s_headless;
}
