#include <kelvo/platform/kdebug.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The report printed once, then the panic at line 60: the report again, the frames header and
// only whole frame lines up to the end of the output.
std::string ReportPattern(const std::string& report, const char* frameCount) {
    return "Assert\n" + report + " in \".*\" on line 60\\.\n" + report +
           "\nAddress:    Back Chain LR Save\n(0x[0-9a-f]{16}: 0x[0-9a-f]{16} 0x[0-9a-f]{16}\n)" +
           frameCount + "$";
}

std::string Report(const std::string& exp, const std::string& file, const char* line,
                   const std::string& function) {
    return "Assertion : " + exp + "\nFile      : " + file + "\nLine      : " + line +
           "\nFunction  : " + function + "\n";
}

TEST(AssertDeathTest, ReportsTextsNullsAndCutsLongTextsToFitTheFrames) {
    const std::string longText(10000, 'e');
    const std::string cutExpression(2048, 'e');
    const std::string cutName(512, 'e');
    const struct {
        const char* function;
        const char* file;
        int line;
        const char* exp;
        std::string report;
    } cases[] = {
        {nullptr, nullptr, -5, nullptr, Report("NULL", "NULL", "-5", "NULL")},
        {"Load", "bank.cpp", 42, "size > 0", Report("size > 0", "bank.cpp", "42", "Load")},
        {"Grow", "array.h", 7, longText.c_str(), Report(cutExpression, "array.h", "7", "Grow")},
        {longText.c_str(), longText.c_str(), 1, longText.c_str(),
         Report(cutExpression, cutName, "1", cutName)},
    };
    for (const auto& testCase : cases) {
        EXPECT_DEATH(
            kPlatform_FailAssert(testCase.function, testCase.file, testCase.line, testCase.exp),
            ReportPattern(testCase.report, "{1,16}"));
    }
}

// Called through a volatile pointer, so the compiler sees a base case that returns.
void (*volatile s_failAssert)(const char*, const char*, int, const char*) = kPlatform_FailAssert;

__attribute__((noinline)) int FailAtDepth(int depth) {
    if (depth == 0) {
        s_failAssert("FailAtDepth", "deep.cpp", 1, "deep");
        return 0;
    }
    const int frames = FailAtDepth(depth - 1);
    asm volatile("" ::: "memory"); // keeps the recursion from becoming a loop
    return frames + 1;
}

TEST(AssertDeathTest, DeepStackPrintsSixteenFrames) {
    EXPECT_DEATH(FailAtDepth(40),
                 ReportPattern(Report("deep", "deep.cpp", "1", "FailAtDepth"), "{16}"));
}

TEST(AssertDebugStream, PrintsTextUnchangedAndNullAsNothing) {
    testing::internal::CaptureStderr();
    kPlatform_DebugStreamPrint("100% %s %d\n");
    kPlatform_DebugStreamPrint(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "100% %s %d\n");
}

} // namespace
