// The log manager, its hooks and printers, and the global logging functions.
#include <kelvo/platform/klog.h>

#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/kfile.h>
#include <kelvo/platform/kmemory.h>
#include <kelvo/platform/kplatform.h>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>

namespace Kelvo_lib {

namespace {

constexpr int kMessageSize = 1024; // formatted messages and hook lines: 1,023 characters
constexpr int kOutputSize = 2048;  // text split by Output: 2,047 characters
constexpr int kPrefixSize = 64;

// "YYYY-MM-DD hh:mm:ss: " in local time; empty for a time the calendar cannot show.
void FormatDate(char (&date)[kPrefixSize], long time) {
    const std::time_t seconds = time;
    // Hooks format under the log lock, so the shared result of localtime is not raced by us.
    if (const std::tm* calendar = std::localtime(&seconds)) {
        kPlatform_snprintf(date, sizeof(date),
                           "%04d-%02d-%02d %02d:%02d:%02d: ", calendar->tm_year + 1900,
                           calendar->tm_mon + 1, calendar->tm_mday, calendar->tm_hour,
                           calendar->tm_min, calendar->tm_sec);
    }
}

// Never destroyed, so logging from static destructors and other threads stays safe at exit.
union StaticLogStorage {
    constexpr StaticLogStorage() : manager() {}
    ~StaticLogStorage() {}

    kLogManager manager;
};

constinit StaticLogStorage staticLog;

} // namespace

// ---------------------------------------------------------------------------------------
// Hooks

kLogHook::~kLogHook() {
    if (m_owner != nullptr) {
        m_owner->Unhook(this);
    }
}

bool kLogHook::FormatLogMessage(long time, int level, int indent, const char* sys, const char* text,
                                char* out, int outSize, bool newLine) {
    if ((m_warningLevel != -1 && level > m_warningLevel) || text == nullptr || out == nullptr ||
        outSize < 2) {
        return false;
    }
    const char* lineEnd = newLine ? "\n" : "";
    const bool continuation = !m_bNewLine && sys == nullptr;
    m_bNewLine = newLine;
    if (continuation) {
        kPlatform_snprintf(out, outSize, "%.*s%s", outSize - 2, text, lineEnd);
        return true;
    }

    char date[kPrefixSize] = "";
    if (m_fmtFlags & K_LOG_FMT_DATE) {
        FormatDate(date, time);
    }
    char levelText[kPrefixSize] = "";
    if (m_fmtFlags & K_LOG_FMT_LEVEL) {
        kPlatform_snprintf(levelText, sizeof(levelText), "%02d : ", level);
    }
    // Two blanks a level; a width beyond the buffer would be cut anyway.
    const int indentWidth = std::clamp(indent, 0, outSize / 2) * 2;
    if (sys != nullptr) {
        kPlatform_snprintf(out, outSize, "%s%s%-8s: %*s%s%s", date, levelText, sys, indentWidth, "",
                           text, lineEnd);
    } else {
        kPlatform_snprintf(out, outSize, "%s%s%*s%s%s", date, levelText, indentWidth, "", text,
                           lineEnd);
    }
    return true;
}

void kLogHookPrinter::Message(long time, int level, int indent, const char* sys, const char* text,
                              bool newLine) {
    char line[kMessageSize];
    if (FormatLogMessage(time, level, indent, sys, text, line, sizeof(line), newLine)) {
        Print(line);
    }
}

void kLogHookDebug::Print(const char* text) {
    kPlatform_DebugStreamPrint(text);
}

kLogHookPosix::kLogHookPosix(const char* fileName, bool bEcho) : m_echo(bEcho) {
    kPlatform_snprintf(m_fileName, sizeof(m_fileName), "%s", fileName != nullptr ? fileName : "");
}

void kLogHookPosix::Reset() {
    if (m_fileName[0] == '\0') {
        return;
    }
    if (SysFileHandle* file =
            kPlatform_FileOpen(m_fileName, K_IO_ACCESS_WRITE, K_IO_OPEN_CREATE_NEW)) {
        kPlatform_FileClose(file);
    }
}

void kLogHookPosix::Print(const char* text) {
    if (m_fileName[0] != '\0') {
        if (SysFileHandle* file =
                kPlatform_FileOpen(m_fileName, K_IO_ACCESS_WRITE, K_IO_OPEN_ALWAYS)) {
            kPlatform_FileWrite(file, text, static_cast<u32>(std::strlen(text)));
            kPlatform_FileClose(file);
        }
    }
    if (m_echo) {
        std::printf("%s", text);
    }
}

void kLogManager::CLogHookPrinter::Print(const char* text) {
    if (m_logPrinter != nullptr) {
        m_logPrinter(text);
    }
}

// ---------------------------------------------------------------------------------------
// Manager

kLogManager::~kLogManager() {
    {
        LockGuard guard(m_lock);
        while (m_logHookChain != nullptr) {
            Unhook(m_logHookChain);
        }
    }
    while (m_ClogHookPrinterChain != nullptr) {
        CLogHookPrinter* printer = m_ClogHookPrinterChain;
        m_ClogHookPrinterChain = printer->m_nextCHook;
        DestroyCHook(printer);
    }
}

void kLogManager::Fmt(const char* format, ...) {
    va_list args;
    va_start(args, format);
    VOutput(nullptr, format, args);
    va_end(args);
}

void kLogManager::Sys(const char* system, const char* format, ...) {
    if (system == nullptr) {
        return;
    }
    va_list args;
    va_start(args, format);
    VOutput(system, format, args);
    va_end(args);
}

void kLogManager::VOutput(const char* sys, const char* format, va_list args) {
    if (format == nullptr) {
        return;
    }
    char buffer[kMessageSize];
    std::vsnprintf(buffer, sizeof(buffer), format, args);
    Output(std::time(nullptr), 0, m_indentLevel, sys, buffer);
}

void kLogManager::Output(long time, int level, int indent, const char* sys, const char* text) {
    if (text == nullptr) {
        return;
    }
    char copy[kOutputSize];
    kPlatform_snprintf(copy, sizeof(copy), "%s", text);

    LockGuard guard(m_lock);
    char* line = copy;
    while (*line != '\0') {
        char* lineEnd = std::strchr(line, '\n');
        const bool newLine = lineEnd != nullptr;
        if (newLine) {
            *lineEnd = '\0';
        }
        Dispatch(time, level, indent, sys, line, newLine);
        line = newLine ? lineEnd + 1 : line + std::strlen(line);
    }
}

void kLogManager::Dispatch(long time, int level, int indent, const char* sys, const char* line,
                           bool newLine) {
    if (m_logHookChain == nullptr) {
        kLogHookDebug temporary;
        temporary.Message(time, level, indent, sys, line, newLine);
        return;
    }
    for (kLogHook* hook = m_logHookChain; hook != nullptr;) {
        kLogHook* next = hook->m_nextHook; // the hook may unhook itself
        hook->Message(time, level, indent, sys, line, newLine);
        hook = next;
    }
}

void kLogManager::Hook(kLogHook* hook) {
    if (hook == nullptr) {
        return;
    }
    LockGuard guard(m_lock);
    if (hook->m_owner != nullptr) {
        return;
    }
    kLogHook** tail = &m_logHookChain;
    while (*tail != nullptr) {
        tail = &(*tail)->m_nextHook;
    }
    hook->m_nextHook = nullptr;
    hook->m_owner = this;
    *tail = hook;
}

void kLogManager::Unhook(kLogHook* hook) {
    if (hook == nullptr) {
        return;
    }
    LockGuard guard(m_lock);
    if (hook->m_owner != this) {
        return;
    }
    for (kLogHook** link = &m_logHookChain; *link != nullptr; link = &(*link)->m_nextHook) {
        if (*link == hook) {
            *link = hook->m_nextHook;
            hook->m_nextHook = nullptr;
            hook->m_owner = nullptr;
            return;
        }
    }
}

void kLogManager::CHook(kLogPrinterFunction function) {
    if (function == nullptr || HasCHook(function)) {
        return;
    }
    // Allocated outside the lock: the allocator may log itself.
    void* memory = kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, sizeof(CLogHookPrinter));
    auto* printer = new (memory) CLogHookPrinter(function);
    if (!AdoptCHook(printer)) {
        DestroyCHook(printer);
    }
}

bool kLogManager::HasCHook(kLogPrinterFunction function) {
    LockGuard guard(m_lock);
    return FindCHook(function) != nullptr;
}

// Appends the printer and hooks it; false when another thread installed the function first.
bool kLogManager::AdoptCHook(CLogHookPrinter* printer) {
    LockGuard guard(m_lock);
    if (FindCHook(printer->m_logPrinter) != nullptr) {
        return false;
    }
    CLogHookPrinter** tail = &m_ClogHookPrinterChain;
    while (*tail != nullptr) {
        tail = &(*tail)->m_nextCHook;
    }
    *tail = printer;
    Hook(printer);
    return true;
}

kLogManager::CLogHookPrinter* kLogManager::FindCHook(kLogPrinterFunction function) const {
    for (CLogHookPrinter* printer = m_ClogHookPrinterChain; printer != nullptr;
         printer = printer->m_nextCHook) {
        if (printer->m_logPrinter == function) {
            return printer;
        }
    }
    return nullptr;
}

void kLogManager::DestroyCHook(CLogHookPrinter* printer) {
    printer->~CLogHookPrinter();
    kPlatform_ReleaseFree(printer);
}

} // namespace Kelvo_lib

// ---------------------------------------------------------------------------------------
// Free functions

using Kelvo_lib::kLogManager;

constinit kLogManager* const kLog = &Kelvo_lib::staticLog.manager;

void kLogFmt(const char* format, ...) {
    va_list args;
    va_start(args, format);
    kLog->VOutput(nullptr, format, args);
    va_end(args);
}

namespace {
std::atomic<bool> s_bLogDetail{false};
} // namespace

void kLogDetail(const char* format, ...) {
    if (!s_bLogDetail.load(std::memory_order_relaxed)) {
        return;
    }
    va_list args;
    va_start(args, format);
    kLog->VOutput(nullptr, format, args);
    va_end(args);
}

void kLogSetDetail(bool bDetail) {
    s_bLogDetail.store(bDetail, std::memory_order_relaxed);
}

void kLogSys(const char* system, const char* format, ...) {
    if (system == nullptr) {
        return;
    }
    va_list args;
    va_start(args, format);
    kLog->VOutput(system, format, args);
    va_end(args);
}

void kLogCHook(Kelvo_lib::kLogPrinterFunction function) {
    kLog->CHook(function);
}

void kLogBreak() {
    char separator[80];
    std::memset(separator, '-', 78);
    separator[78] = '\n';
    separator[79] = '\0';
    kLog->Output(std::time(nullptr), 0, 0, nullptr, separator);
}
