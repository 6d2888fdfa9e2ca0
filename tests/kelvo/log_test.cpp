#include "temporary_host_directory.h"

#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using Kelvo_lib::K_LOG_FMT_DATE;
using Kelvo_lib::K_LOG_FMT_LEVEL;
using Kelvo_lib::kLogHook;
using Kelvo_lib::kLogHookPosix;
using Kelvo_lib::kLogHookPrinter;
using Kelvo_lib::kLogManager;

namespace {

struct Line {
    std::string text;
    bool newLine;
    bool operator==(const Line&) const = default;
};

// Records the lines a manager hands to its hooks, before any formatting.
class LineHook : public kLogHook {
public:
    void Reset() override {}
    void Message(long, int, int, const char*, const char* text, bool newLine) override {
        lines.push_back({text, newLine});
    }
    void Print(const char*) override {}

    std::vector<Line> lines;
};

// Records what a printer prints, after formatting.
class PrintHook : public kLogHookPrinter {
public:
    void Reset() override {}
    void Print(const char* text) override { printed.emplace_back(text); }

    std::vector<std::string> printed;
};

std::vector<Line> LinesLoggedBeforeMain() {
    // The first allocation brings the platform up, which logs: let that happen before the
    // recording hook (which allocates) is installed.
    kPlatform_Init();
    LineHook hook;
    kLog->Hook(&hook);
    kLogSys("static", "logged before main %d\n", 1);
    return hook.lines;
}

const std::vector<Line> s_linesLoggedBeforeMain = LinesLoggedBeforeMain();

TEST(Log, ReachesHooksFromStaticInitialisers) {
    EXPECT_EQ(s_linesLoggedBeforeMain, (std::vector<Line>{{"logged before main 1", true}}));
}

std::string LocalDatePrefix(std::time_t when) {
    char text[64];
    std::strftime(text, sizeof(text), "%Y-%m-%d %H:%M:%S: ", std::localtime(&when));
    return text;
}

TEST(Log, FormatsDateLevelTagIndentAndContinuations) {
    const long when = 1700000000;
    using Message = std::pair<const char*, const char*>; // system tag, text
    const struct {
        const char* name;
        unsigned flags;
        int indent;
        std::vector<Message> messages;
        std::vector<std::string> expected;
    } cases[] = {
        {"tag padded to 8", 0, 0, {{"KPAD", "error 3\n"}}, {"KPAD    : error 3\n"}},
        {"long tag whole", 0, 0, {{"kUIManager", "x\n"}}, {"kUIManager: x\n"}},
        {"two blanks per level", 0, 2, {{nullptr, "x\n"}}, {"    x\n"}},
        {"indent after tag", 0, 1, {{"AB", "x"}}, {"AB      :   x"}},
        {"level prefix", K_LOG_FMT_LEVEL, 0, {{"KPAD", "x\n"}}, {"00 : KPAD    : x\n"}},
        {"continuation alone",
         K_LOG_FMT_LEVEL,
         1,
         {{nullptr, "a\nb"}, {nullptr, "c\n"}, {nullptr, "d\n"}},
         {"00 :   a\n", "00 :   b", "c\n", "00 :   d\n"}},
        {"tag ends continuation", 0, 0, {{nullptr, "a"}, {"T", "b\n"}}, {"a", "T       : b\n"}},
        {"empty line", 0, 0, {{nullptr, "\n\n"}}, {"\n", "\n"}},
        {"date prefix", K_LOG_FMT_DATE, 0, {{nullptr, "x\n"}}, {LocalDatePrefix(when) + "x\n"}},
    };
    for (const auto& testCase : cases) {
        kLogManager manager;
        PrintHook hook;
        hook.SetFormatFlags(testCase.flags);
        manager.Hook(&hook);
        for (const auto& [sys, text] : testCase.messages) {
            manager.Output(when, 0, testCase.indent, sys, text);
        }
        EXPECT_EQ(hook.printed, testCase.expected) << testCase.name;
    }
}

TEST(Log, SplitsLinesCutsLongTextsAndIgnoresNulls) {
    const std::string longText(3000, 'y');
    const std::vector<Line> cut{{std::string(1023, 'y'), false}};
    const char* const none = nullptr;
    const struct {
        std::function<void()> call;
        std::vector<Line> expected;
    } cases[] = {
        {[] { kLog->Output(0, 0, 0, nullptr, "a\nb"); }, {{"a", true}, {"b", false}}},
        {[] { kLog->Output(0, 0, 0, nullptr, "a\n"); }, {{"a", true}}},
        {[] { kLog->Output(0, 0, 0, nullptr, "\n\n"); }, {{"", true}, {"", true}}},
        {[] { kLog->Output(0, 0, 0, nullptr, ""); }, {}},
        {[&] { kLog->Output(0, 0, 0, nullptr, longText.c_str()); },
         {{longText.substr(0, 2047), false}}},
        {[&] { kLogFmt("%s", longText.c_str()); }, cut},
        {[&] { kLogSys("T", "%s", longText.c_str()); }, cut},
        {[&] { kLog->Fmt("%s", longText.c_str()); }, cut},
        {[&] { kLog->Sys("T", "%s", longText.c_str()); }, cut},
        {[&] { kLogFmt(none); }, {}},
        {[&] { kLogSys("T", none); }, {}},
        {[&] { kLogSys(none, "x"); }, {}},
        {[&] { kLog->Sys(none, "x"); }, {}},
        {[&] { kLog->Output(0, 0, 0, nullptr, none); }, {}},
        {[] { kLogBreak(); }, {{std::string(78, '-'), true}}},
    };
    for (const auto& testCase : cases) {
        LineHook hook;
        kLog->Hook(&hook);
        testCase.call();
        EXPECT_EQ(hook.lines, testCase.expected);
    }
}

TEST(Log, WithoutHookLineReachesDebugStreamUnprefixed) {
    LineHook ownedElsewhere;
    kLogManager owner, manager;
    owner.Hook(&ownedElsewhere);
    manager.Hook(&ownedElsewhere);
    testing::internal::CaptureStderr();
    manager.Sys("KPAD", "error %d\n", 3);
    manager.Fmt("a\nb");
    manager.Fmt("c\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "KPAD    : error 3\na\nbc\n");
    EXPECT_TRUE(ownedElsewhere.lines.empty());
}

TEST(Log, HooksReceiveLinesOnceInInstallationOrderUntilDestroyed) {
    std::vector<std::string> order;
    struct NamedHook : LineHook {
        NamedHook(std::vector<std::string>& order, const char* name) : order(order), name(name) {}
        void Message(long, int, int, const char*, const char*, bool) override {
            order.emplace_back(name);
        }
        std::vector<std::string>& order;
        const char* name;
    } first(order, "first"), second(order, "second");
    kLogManager manager;
    manager.Hook(&first);
    {
        NamedHook destroyed(order, "destroyed");
        manager.Hook(&destroyed);
        manager.Hook(&second);
        manager.Hook(&first);
    }
    manager.Output(0, 0, 0, nullptr, "x\n");
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second"}));
}

std::string s_cPrinted;
template <char Tag>
void PrintTagged(const char* text) {
    s_cPrinted += std::string(1, Tag) + text;
}

TEST(Log, InstallsOneCPrinterPerFunction) {
    s_cPrinted.clear();
    kLogManager manager;
    manager.CHook(PrintTagged<'1'>);
    manager.CHook(nullptr);
    manager.CHook(PrintTagged<'1'>);
    manager.CHook(PrintTagged<'2'>);
    manager.Fmt("x\n");
    EXPECT_EQ(s_cPrinted, "1x\n2x\n");
}

TEST(Log, HookMayLogFromItsPrint) {
    struct EchoHook : PrintHook {
        void Print(const char* text) override {
            PrintHook::Print(text);
            if (printed.size() == 1) {
                kLogFmt("echo\n");
            }
        }
    } hook;
    kLog->Hook(&hook);
    kLogFmt("first\n");
    EXPECT_EQ(hook.printed, (std::vector<std::string>{"first\n", "echo\n"}));
}

TEST(Log, ConcurrentThreadsKeepLinesWhole) {
    constexpr int kLinesPerThread = 2000;
    PrintHook hook;
    kLog->Hook(&hook);
    auto logLines = [](const char* tag) {
        for (int i = 0; i < kLinesPerThread; ++i) {
            kLogSys(tag, "line\n");
        }
    };
    std::thread audio(logLines, "audio");
    logLines("main");
    audio.join();
    for (const char* line : {"audio   : line\n", "main    : line\n"}) {
        EXPECT_EQ(std::count(hook.printed.begin(), hook.printed.end(), line), kLinesPerThread);
    }
}

// The disc opens nothing for writing: a file hook leaves its file as it was and only echoes.
TEST(Log, FileHookLeavesTheDiscFileAndEchoesWhenAsked) {
    kPlatform_Init();
    const test_support::TemporaryDisc disc;
    disc.Write("log.txt", std::string("kept\n"));
    const struct {
        const char* fileName;
        bool bEcho;
        const char* echoed;
    } cases[] = {
        {"log.txt", true, "KPAD    : error 3\nnext\n"},
        {"log.txt", false, ""},
        {"", true, "KPAD    : error 3\nnext\n"},
        {nullptr, false, ""},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.fileName != nullptr ? testCase.fileName : "(null)");
        kLogManager manager;
        kLogHookPosix hook(testCase.fileName, testCase.bEcho);
        manager.Hook(&hook);
        testing::internal::CaptureStdout();
        hook.Reset();
        manager.Sys("KPAD", "error %d\n", 3);
        manager.Fmt("next\n");
        EXPECT_EQ(testing::internal::GetCapturedStdout(), testCase.echoed);
        std::ifstream file(disc.Root() / "log.txt", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "kept\n");
    }
}

} // namespace
