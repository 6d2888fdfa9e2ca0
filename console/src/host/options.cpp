// Host options. The game executable's options are read from the process's own
// command line on first use, because start-up runs inside the first allocation,
// before main; other programs (tests, tools) get the defaults.
#include <console/host.h>
#include <console/os.h>
#include <console/vi.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

// Defined by the console layer's main, so only the game reads its command line.
extern const bool g_hostReadsCommandLine __attribute__((weak));

namespace {

constexpr HostOptions kDefaultOptions{HostKind::Headless, -1, VI_PAL};

struct TvFormatName {
    const char* name;
    u32 format;
};
constexpr TvFormatName kTvFormats[] = {
    {"ntsc", VI_NTSC}, {"pal", VI_PAL}, {"eu60", VI_EURGB60}, {"mpal", VI_MPAL}};

constinit HostOptions s_options = kDefaultOptions;
bool s_optionsRead = false;

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

bool ParseFrameLimit(const char* text, s32* limit) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 0x7FFFFFFF) {
        OSReport("--frames takes a whole number of frames, not '%s'\n", text);
        return false;
    }
    *limit = static_cast<s32>(value);
    return true;
}

// The process's arguments, split from /proc/self/cmdline into static storage.
int ReadOwnCommandLine(const char** argv, int maxArgs) {
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

bool SetHeadless(const char*, HostOptions* options) {
    options->kind = HostKind::Headless;
    return true;
}

bool SetFrameLimit(const char* value, HostOptions* options) {
    return ParseFrameLimit(value, &options->frameLimit);
}

bool SetTvFormat(const char* value, HostOptions* options) {
    return ParseTvFormat(value, &options->tvFormat);
}

// One row per option; a row with a value takes the next argument.
struct OptionRow {
    const char* name;
    bool takesValue;
    bool (*apply)(const char* value, HostOptions* options);
};
constexpr OptionRow kOptionRows[] = {
    {"--headless", false, SetHeadless},
    {"--frames", true, SetFrameLimit},
    {"--tv", true, SetTvFormat},
};

const OptionRow* FindOption(const char* name) {
    for (const OptionRow& row : kOptionRows) {
        if (std::strcmp(row.name, name) == 0) {
            return &row;
        }
    }
    return nullptr;
}

} // namespace

bool HostParseOptions(int argc, const char* const* argv, HostOptions* options) {
    *options = kDefaultOptions;
    for (int i = 1; i < argc; ++i) {
        const OptionRow* row = FindOption(argv[i]);
        if (row == nullptr || (row->takesValue && i + 1 >= argc)) {
            OSReport("unknown or incomplete host option '%s'\n", argv[i]);
            return false;
        }
        const char* value = row->takesValue ? argv[++i] : nullptr;
        if (!row->apply(value, options)) {
            return false;
        }
    }
    return true;
}

const HostOptions& HostGetOptions() {
    if (!s_optionsRead) {
        s_optionsRead = true;
        if (&g_hostReadsCommandLine != nullptr && g_hostReadsCommandLine) {
            const char* argv[256];
            const int argc = ReadOwnCommandLine(argv, 256);
            if (!HostParseOptions(argc, argv, &s_options)) {
                s_options = kDefaultOptions;
            }
        }
    }
    return s_options;
}

void HostSetOptions(const HostOptions& options) {
    s_options = options;
    s_optionsRead = true;
}
