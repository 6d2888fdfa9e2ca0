// The log: kLogFmt and kLogSys (global, like kLog, kLogCHook and kLogBreak, so every layer
// reaches them) hand lines to the one manager kLog, which passes each to its chain of hooks,
// or to a temporary debug-stream hook while none is installed. The manager is constant-
// initialised and never destroyed, so it works before main and at exit. Hooks belong to their
// makers; the manager owns its C-function printers. Any thread may log (one recursive lock);
// a null format, system or text logs nothing.
#pragma once

#include <cstdarg>
#include <mutex>

namespace Kelvo_lib {

class kLogManager;

// Format flags of a hook.
enum : unsigned {
    K_LOG_FMT_DATE = 1u << 0,
    K_LOG_FMT_LEVEL = 1u << 1,
};

class kLogHook {
public:
    kLogHook() = default;
    kLogHook(const kLogHook&) = delete;
    kLogHook& operator=(const kLogHook&) = delete;
    // Unhooks from its owner.
    virtual ~kLogHook();

    virtual void Reset() = 0;
    // One line of a message, without its '\n'; newLine says whether it ended with one.
    virtual void Message(long time, int level, int indent, const char* sys, const char* text,
                         bool newLine) = 0;
    virtual void Print(const char* text) = 0;

    // Writes the prefixed line into out (at most outSize - 1 characters and a zero);
    // false when the level is filtered out or out cannot hold a line.
    bool FormatLogMessage(long time, int level, int indent, const char* sys, const char* text,
                          char* out, int outSize, bool newLine);

    // -1 lets every level through.
    void SetWarningLevel(int level) { m_warningLevel = level; }
    void SetFormatFlags(unsigned flags) { m_fmtFlags = flags; }

private:
    friend class kLogManager;

    kLogHook* m_nextHook = nullptr;
    kLogManager* m_owner = nullptr;
    int m_warningLevel = -1;
    unsigned m_fmtFlags = 0;
    bool m_bNewLine = true;
};

// Formats each line into a 1,024-byte buffer and prints it.
class kLogHookPrinter : public kLogHook {
public:
    void Message(long time, int level, int indent, const char* sys, const char* text,
                 bool newLine) override;
};

// Prints to the console's debug stream.
class kLogHookDebug : public kLogHookPrinter {
public:
    void Reset() override {}
    void Print(const char* text) override;
};

// Writes each line to a named file through the disc file layer and, with echo, to
// standard output. The disc opens no file for writing, so on this console the file stays
// untouched and only the echo shows; the program itself makes no such hook.
class kLogHookPosix : public kLogHookPrinter {
public:
    // The name is cut at 254 characters; null or empty writes no file.
    kLogHookPosix(const char* fileName, bool bEcho);

    // Creates the file anew (K_IO_OPEN_CREATE_NEW) and closes it.
    void Reset() override;
    // Appends the text to the file (K_IO_OPEN_ALWAYS), then echoes it.
    void Print(const char* text) override;

private:
    char m_fileName[255];
    bool m_echo;
};

using kLogPrinterFunction = void (*)(const char* text);

class kLogManager {
public:
    // Prints through a C function; created and owned by the manager.
    class CLogHookPrinter : public kLogHookPrinter {
    public:
        explicit CLogHookPrinter(kLogPrinterFunction printer) : m_logPrinter(printer) {}
        void Reset() override {}
        void Print(const char* text) override;

    private:
        friend class kLogManager;

        CLogHookPrinter* m_nextCHook = nullptr;
        kLogPrinterFunction m_logPrinter;
    };

    constexpr kLogManager() = default;
    kLogManager(const kLogManager&) = delete;
    kLogManager& operator=(const kLogManager&) = delete;
    // Unhooks every hook and frees the C-function printers.
    ~kLogManager();

    // Formatted messages are cut at 1,023 characters.
    void Fmt(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Sys(const char* system, const char* format, ...) __attribute__((format(printf, 3, 4)));
    // Formats and outputs at the current indentation; sys may be null (no system tag).
    void VOutput(const char* sys, const char* format, va_list args)
        __attribute__((format(printf, 3, 0)));
    // Splits text (cut at 2,047 characters) into lines and passes each to every hook.
    void Output(long time, int level, int indent, const char* sys, const char* text);

    // Appends at the tail of the chain; a hook that already has an owner is left alone.
    void Hook(kLogHook* hook);
    void Unhook(kLogHook* hook);
    // Installs a printer for the function unless one exists already.
    void CHook(kLogPrinterFunction function);

    // Keeps other threads' lines out while it lives, for a report whose lines belong
    // together. Hooks may allocate, so a caller that also takes the allocator's lock takes
    // this one first.
    class Hold {
    public:
        explicit Hold(kLogManager& manager) : m_guard(manager.m_lock) {}

    private:
        std::lock_guard<std::recursive_mutex> m_guard;
    };

private:
    using LockGuard = std::lock_guard<std::recursive_mutex>;

    void Dispatch(long time, int level, int indent, const char* sys, const char* line,
                  bool newLine);
    bool HasCHook(kLogPrinterFunction function);
    bool AdoptCHook(CLogHookPrinter* printer);
    CLogHookPrinter* FindCHook(kLogPrinterFunction function) const;
    static void DestroyCHook(CLogHookPrinter* printer);

    kLogHook* m_logHookChain = nullptr;
    int m_indentLevel = 0;
    CLogHookPrinter* m_ClogHookPrinterChain = nullptr;
    // Recursive, so that a hook may log; constant-initialised like the manager.
    std::recursive_mutex m_lock;
};

} // namespace Kelvo_lib

// The program's log manager.
extern Kelvo_lib::kLogManager* const kLog;

void kLogFmt(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A detail line (start-up facts: arenas, video mode): logged only while detail is on,
// which it is not by default.
void kLogDetail(const char* format, ...) __attribute__((format(printf, 1, 2)));
void kLogSetDetail(bool bDetail);
void kLogSys(const char* system, const char* format, ...) __attribute__((format(printf, 2, 3)));
void kLogCHook(Kelvo_lib::kLogPrinterFunction function);
// A line of 78 '-'.
void kLogBreak();
