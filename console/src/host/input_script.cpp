// Input scripts: a text file of timed remote events, read whole and checked line by line,
// then replayed into the host's remotes at the start of each main-loop frame. The remote
// library reads the remotes through the replay, which starts the script of --input first.
// Memory comes from malloc, never operator new, because options may be checked before main.
#include "host/host_input.h"

#include <console/host.h>
#include <console/host_input.h>
#include <console/os.h>
#include <console/wpad.h>

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kMaxScriptBytes = 16u << 20;
constexpr u32 kMaxFrame = 0x7FFFFFFF;

enum class EventKind : u8 { Pointer, Hold, Connect, Disconnect, Sync, Reset, Power };

struct ScriptEvent {
    u32 frame;
    int remote;
    EventKind kind;
    u32 held;
    f32 nx;
    f32 ny;
};

struct Script {
    ScriptEvent* events = nullptr;
    u32 count = 0;
    u32 capacity = 0;
};

void FreeScript(Script* script) {
    std::free(script->events);
    *script = Script{};
}

bool Append(Script* script, const ScriptEvent& event) {
    if (script->count == script->capacity) {
        const u32 capacity = script->capacity == 0 ? 64 : script->capacity * 2;
        void* grown = std::realloc(script->events, capacity * sizeof(ScriptEvent));
        if (grown == nullptr) {
            return false;
        }
        script->events = static_cast<ScriptEvent*>(grown);
        script->capacity = capacity;
    }
    script->events[script->count++] = event;
    return true;
}

long FileLength(FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    const long length = std::ftell(file);
    std::rewind(file);
    return length;
}

// The whole file with a terminating zero, or null (reported): only a regular file (a pipe
// would block the start), and no NUL byte (it would end the script unseen).
char* ReadWholeFile(const char* path) {
    const int descriptor = open(path, O_RDONLY | O_NONBLOCK);
    struct stat info;
    if (descriptor < 0 || fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        OSReport("input script '%s': %s\n", path,
                 descriptor < 0 ? "cannot be opened" : "not a regular file");
        if (descriptor >= 0) {
            close(descriptor);
        }
        return nullptr;
    }
    FILE* file = fdopen(descriptor, "rb");
    const long length = file != nullptr ? FileLength(file) : -1;
    const bool fits = length >= 0 && static_cast<size_t>(length) <= kMaxScriptBytes;
    char* text = fits ? static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1)) : nullptr;
    const bool read = text != nullptr && std::fread(text, 1, static_cast<size_t>(length), file) ==
                                             static_cast<size_t>(length);
    if (file != nullptr) {
        std::fclose(file);
    } else {
        close(descriptor);
    }
    if (!read) {
        OSReport("input script '%s': %s\n", path,
                 fits ? "cannot be read" : "not a file of at most 16 MiB");
        std::free(text);
        return nullptr;
    }
    const char* nul =
        static_cast<const char*>(std::memchr(text, '\0', static_cast<size_t>(length)));
    if (nul != nullptr) {
        OSReport("input script '%s' line %ld: a NUL byte\n", path,
                 1 + static_cast<long>(std::count(static_cast<const char*>(text), nul, '\n')));
        std::free(text);
        return nullptr;
    }
    text[length] = '\0';
    return text;
}

// One line being parsed: its words, and where to say what is wrong with it.
class LineParser {
public:
    LineParser(const char* path, u32 lineNumber, char* line)
        : m_path(path), m_lineNumber(lineNumber), m_next(line) {
        char* comment = std::strchr(line, '#');
        if (comment != nullptr) {
            *comment = '\0';
        }
    }

    // The next blank-separated word, or null at the end of the line.
    const char* Word() {
        while (std::isspace(static_cast<unsigned char>(*m_next))) {
            ++m_next;
        }
        if (*m_next == '\0') {
            return nullptr;
        }
        char* word = m_next;
        while (*m_next != '\0' && !std::isspace(static_cast<unsigned char>(*m_next))) {
            ++m_next;
        }
        if (*m_next != '\0') {
            *m_next++ = '\0';
        }
        return word;
    }

    bool Fail(const char* format, ...) const __attribute__((format(printf, 2, 3))) {
        char message[256];
        va_list args;
        va_start(args, format);
        std::vsnprintf(message, sizeof(message), format, args);
        va_end(args);
        OSReport("input script '%s' line %u: %s\n", m_path, m_lineNumber, message);
        return false;
    }

private:
    const char* m_path;
    u32 m_lineNumber;
    char* m_next;
};

bool ParseWhole(const char* word, u32 limit, u32* value) {
    if (word == nullptr || !std::isdigit(static_cast<unsigned char>(word[0]))) {
        return false;
    }
    char* end = nullptr;
    const unsigned long parsed = std::strtoul(word, &end, 10);
    if (*end != '\0' || parsed > limit) {
        return false;
    }
    *value = static_cast<u32>(parsed);
    return true;
}

bool ParseFraction(const char* word, f32* value) {
    if (word == nullptr) {
        return false;
    }
    char* end = nullptr;
    const f32 parsed = std::strtof(word, &end);
    if (end == word || *end != '\0' || !(parsed >= 0.0f && parsed <= 1.0f)) {
        return false;
    }
    *value = parsed;
    return true;
}

struct ButtonName {
    const char* name;
    u32 bit;
};
constexpr ButtonName kButtonNames[] = {
    {"A", WPAD_BUTTON_A},       {"B", WPAD_BUTTON_B},         {"1", WPAD_BUTTON_1},
    {"2", WPAD_BUTTON_2},       {"PLUS", WPAD_BUTTON_PLUS},   {"MINUS", WPAD_BUTTON_MINUS},
    {"HOME", WPAD_BUTTON_HOME}, {"UP", WPAD_BUTTON_UP},       {"DOWN", WPAD_BUTTON_DOWN},
    {"LEFT", WPAD_BUTTON_LEFT}, {"RIGHT", WPAD_BUTTON_RIGHT},
};

bool FindButton(const char* name, size_t length, u32* bit) {
    for (const ButtonName& button : kButtonNames) {
        if (std::strlen(button.name) == length && strncasecmp(button.name, name, length) == 0) {
            *bit = button.bit;
            return true;
        }
    }
    return false;
}

// "none", or button names joined by commas.
bool ParseButtons(const char* word, u32* held, const LineParser& line) {
    if (word == nullptr) {
        return line.Fail("hold needs the buttons held, or none");
    }
    *held = 0;
    if (strcasecmp(word, "none") == 0) {
        return true;
    }
    for (const char* name = word;; ++name) {
        const size_t length = std::strcspn(name, ",");
        u32 bit = 0;
        if (!FindButton(name, length, &bit)) {
            return line.Fail("'%.*s' is not a button (A B 1 2 PLUS MINUS HOME UP DOWN LEFT RIGHT)",
                             static_cast<int>(length), name);
        }
        *held |= bit;
        name += length;
        if (*name == '\0') {
            return true;
        }
    }
}

bool ParsePointer(LineParser& line, ScriptEvent* event) {
    const char* x = line.Word();
    const char* y = line.Word();
    if (!ParseFraction(x, &event->nx) || !ParseFraction(y, &event->ny)) {
        return line.Fail("pointer needs two fractions of the picture, 0 to 1 (x across, y down)");
    }
    return true;
}

bool ParseHold(LineParser& line, ScriptEvent* event) {
    return ParseButtons(line.Word(), &event->held, line);
}

bool ParseNothingMore(LineParser&, ScriptEvent*) {
    return true;
}

struct EventRow {
    const char* keyword;
    EventKind kind;
    bool (*parseArguments)(LineParser& line, ScriptEvent* event);
};
constexpr EventRow kEventRows[] = {
    {"pointer", EventKind::Pointer, ParsePointer},
    {"hold", EventKind::Hold, ParseHold},
    {"connect", EventKind::Connect, ParseNothingMore},
    {"disconnect", EventKind::Disconnect, ParseNothingMore},
    {"sync", EventKind::Sync, ParseNothingMore},
    {"reset", EventKind::Reset, ParseNothingMore},
    {"power", EventKind::Power, ParseNothingMore},
};

bool IsConsoleButton(EventKind kind) {
    return kind == EventKind::Sync || kind == EventKind::Reset || kind == EventKind::Power;
}

const EventRow* FindEvent(const char* keyword) {
    for (const EventRow& row : kEventRows) {
        if (std::strcmp(row.keyword, keyword) == 0) {
            return &row;
        }
    }
    return nullptr;
}

// Optional "remote N" after the frame; the next word is left in *word.
bool ParseRemote(LineParser& line, const char** word, int* remote, bool* given) {
    *remote = 0;
    *given = *word != nullptr && std::strcmp(*word, "remote") == 0;
    if (!*given) {
        return true;
    }
    u32 index = 0;
    const char* number = line.Word();
    if (!ParseWhole(number, HOST_REMOTE_COUNT - 1, &index)) {
        return line.Fail("remote needs a number from 0 to %d", HOST_REMOTE_COUNT - 1);
    }
    *remote = static_cast<int>(index);
    *word = line.Word();
    return true;
}

// FRAME [remote N] EVENT [EVENT ...]; a blank or comment line adds nothing.
bool ParseLine(LineParser& line, u32* lastFrame, Script* script) {
    const char* word = line.Word();
    if (word == nullptr) {
        return true;
    }
    ScriptEvent event{};
    if (!ParseWhole(word, kMaxFrame, &event.frame)) {
        return line.Fail("'%s' is not a frame number", word);
    }
    if (event.frame < *lastFrame) {
        return line.Fail("frame %u comes after frame %u; lines must be in frame order", event.frame,
                         *lastFrame);
    }
    *lastFrame = event.frame;
    word = line.Word();
    bool remoteGiven = false;
    if (!ParseRemote(line, &word, &event.remote, &remoteGiven)) {
        return false;
    }
    if (word == nullptr) {
        return line.Fail("no event after the frame number");
    }
    for (; word != nullptr; word = line.Word()) {
        const EventRow* row = FindEvent(word);
        if (row == nullptr) {
            return line.Fail(
                "'%s' is not an event (pointer, hold, connect, disconnect, sync, reset, power)",
                word);
        }
        if (IsConsoleButton(row->kind) && remoteGiven) {
            return line.Fail("%s is the console's button, not a remote's", word);
        }
        event.kind = row->kind;
        if (!row->parseArguments(line, &event)) {
            return false;
        }
        if (!Append(script, event)) {
            return line.Fail("out of memory");
        }
    }
    return true;
}

bool ParseScript(const char* path, char* text, Script* script) {
    u32 lastFrame = 0;
    u32 lineNumber = 1;
    for (char* line = text; line != nullptr; ++lineNumber) {
        char* end = std::strchr(line, '\n');
        if (end != nullptr) {
            *end = '\0';
        }
        LineParser parser(path, lineNumber, line);
        if (!ParseLine(parser, &lastFrame, script)) {
            return false;
        }
        line = end != nullptr ? end + 1 : nullptr;
    }
    return true;
}

// The script's events, or false (reported) with nothing kept.
bool ReadScript(const char* path, Script* script) {
    *script = Script{};
    char* text = ReadWholeFile(path);
    if (text == nullptr) {
        return false;
    }
    const bool parsed = ParseScript(path, text, script);
    std::free(text);
    if (!parsed) {
        FreeScript(script);
    }
    return parsed;
}

void Apply(const ScriptEvent& event) {
    switch (event.kind) {
    case EventKind::Pointer:
        HostInputSetPointer(event.remote, event.nx, event.ny);
        break;
    case EventKind::Hold:
        HostInputSetHeld(event.remote, event.held);
        break;
    case EventKind::Connect:
    case EventKind::Disconnect:
        HostInputSetConnected(event.remote, event.kind == EventKind::Connect);
        break;
    case EventKind::Sync:
        HostInputPressSyncButton();
        break;
    case EventKind::Reset:
        HostRaiseReset();
        break;
    case EventKind::Power:
        HostRaisePower();
        break;
    }
}

struct Replay {
    Script script;
    u32 next = 0;
    bool started = false;
};

Replay s_replay;

void ApplyUpTo(u32 frame) {
    while (s_replay.next < s_replay.script.count &&
           s_replay.script.events[s_replay.next].frame <= frame) {
        Apply(s_replay.script.events[s_replay.next++]);
    }
}

// A restarted program takes over the remotes as the script left them (pointers, held
// buttons, connections); the presses of the console's buttons and of sync were the
// program's before it and are not raised again.
void CatchUpTo(u32 frame) {
    while (s_replay.next < s_replay.script.count &&
           s_replay.script.events[s_replay.next].frame <= frame) {
        const ScriptEvent& event = s_replay.script.events[s_replay.next++];
        if (event.kind != EventKind::Reset && event.kind != EventKind::Power &&
            event.kind != EventKind::Sync) {
            Apply(event);
        }
    }
}

void StartReplay(const Script& script) {
    FreeScript(&s_replay.script);
    s_replay.script = script;
    s_replay.next = 0;
    s_replay.started = true;
    if (HostResumedFrame() > 0) {
        CatchUpTo(HostResumedFrame());
    } else {
        ApplyUpTo(0);
    }
}

// Loads the script of --input on first use and applies its frame-0 lines.
void EnsureReplayStarted() {
    if (s_replay.started) {
        return;
    }
    const char* path = HostGetOptions().inputScript;
    Script script;
    if (path[0] != '\0' && !ReadScript(path, &script)) {
        OSReport("input script '%s' is not replayed\n", path);
    }
    StartReplay(script);
}

// Drops the script; the next use loads the one of --input again.
void ForgetReplay() {
    FreeScript(&s_replay.script);
    s_replay = Replay{};
}

} // namespace

bool HostInputCheckScript(const char* path) {
    Script script;
    const bool good = ReadScript(path, &script);
    FreeScript(&script);
    return good;
}

bool HostInputLoadScript(const char* path) {
    Script script;
    const bool good = ReadScript(path, &script);
    StartReplay(script);
    return good;
}

void HostInputBeginFrame(u32 frame) {
    EnsureReplayStarted();
    HostInputStartFrameOfEdges();
    ApplyUpTo(frame);
}

HostRemote HostInputGetRemote(int remote) {
    EnsureReplayStarted();
    return HostInputReadRemote(remote);
}

void HostInputReset() {
    HostInputResetRemotes();
    ForgetReplay();
}
