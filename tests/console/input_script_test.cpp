// Input scripts: checking, the --input option, and replay into the host's remotes.
#include "temporary_file.h"

#include <console/host.h>
#include <console/host_input.h>
#include <console/wpad.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

using test_support::TemporaryFile;

class InputScriptTest : public testing::Test {
protected:
    void SetUp() override { HostInputReset(); }
    void TearDown() override { HostInputReset(); }
};

TEST_F(InputScriptTest, AppliesEachLineAtTheStartOfItsFrame) {
    const TemporaryFile script("# a click, then remote 1 joins\n"
                               "0 pointer 0.25 0.75\n"
                               "\n"
                               "2 hold A   # press\n"
                               "2 remote 1 connect hold b,Home\n"
                               "4 hold none pointer 1 0\n"
                               "5 disconnect\n");
    ASSERT_TRUE(HostInputLoadScript(script.Path()));
    struct Expected {
        u32 frame;
        bool connected0;
        u32 held0;
        f32 nx;
        bool connected1;
        u32 held1;
    };
    const Expected frames[] = {
        {1, true, 0, 0.25f, false, 0},
        {2, true, WPAD_BUTTON_A, 0.25f, true, WPAD_BUTTON_B | WPAD_BUTTON_HOME},
        {3, true, WPAD_BUTTON_A, 0.25f, true, WPAD_BUTTON_B | WPAD_BUTTON_HOME},
        {4, true, 0, 1.0f, true, WPAD_BUTTON_B | WPAD_BUTTON_HOME},
        {5, false, 0, 1.0f, true, WPAD_BUTTON_B | WPAD_BUTTON_HOME},
    };
    EXPECT_FLOAT_EQ(HostInputGetRemote(0).ny, 0.75f) << "frame-0 lines hold from the start";
    for (const Expected& expected : frames) {
        HostInputBeginFrame(expected.frame);
        const HostRemote remote0 = HostInputGetRemote(0);
        const HostRemote remote1 = HostInputGetRemote(1);
        EXPECT_EQ(remote0.connected, expected.connected0) << expected.frame;
        EXPECT_EQ(remote0.held, expected.held0) << expected.frame;
        EXPECT_FLOAT_EQ(remote0.nx, expected.nx) << expected.frame;
        EXPECT_EQ(remote1.connected, expected.connected1) << expected.frame;
        EXPECT_EQ(remote1.held, expected.held1) << expected.frame;
    }
}

TEST_F(InputScriptTest, SkippedFramesStillApplyTheirLinesInOrder) {
    const TemporaryFile script("3 hold A\n"
                               "4 hold B\n"
                               "4 sync\n");
    ASSERT_TRUE(HostInputLoadScript(script.Path()));
    HostInputBeginFrame(10);
    EXPECT_EQ(HostInputGetRemote(0).held, WPAD_BUTTON_B);
    EXPECT_TRUE(HostInputTakeSyncPress());
    EXPECT_FALSE(HostInputTakeSyncPress());
}

TEST_F(InputScriptTest, RefusesMalformedLinesNamingTheLine) {
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"x hold A\n", "line 1: 'x' is not a frame"},
        {"1 hold A\n\n# fine\n2 hold Q\n", "line 4: 'Q' is not a button"},
        {"1 hold A,\n", "line 1: '' is not a button"},
        {"1 hold\n", "line 1: hold needs"},
        {"5 hold A\n4 hold B\n", "line 2: frame 4 comes after frame 5"},
        {"1 pointer 0.5\n", "line 1: pointer needs"},
        {"1 pointer 0.5 1.5\n", "line 1: pointer needs"},
        {"1 pointer nan 0.5\n", "line 1: pointer needs"},
        {"1 remote 4 connect\n", "line 1: remote needs"},
        {"1 remote 1 sync\n", "line 1: sync is the console's button"},
        {"1\n", "line 1: no event"},
        {"1 jump\n", "line 1: 'jump' is not an event"},
        {"-1 hold A\n", "line 1: '-1' is not a frame"},
        {"99999999999 hold A\n", "is not a frame"},
        {std::string("1 hold A\n2 hold B\0\n3 hold none\n", 31), "line 2: a NUL byte"},
    };
    for (const auto& [text, message] : bad) {
        const TemporaryFile script(text);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(HostInputCheckScript(script.Path())) << text;
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_NE(report.find(message), std::string::npos) << text << report;
    }
    EXPECT_FALSE(HostInputCheckScript("/nonexistent/script.txt"));
}

// A pipe or a folder would block the start or read as nothing: only a regular file is a script.
TEST_F(InputScriptTest, RefusesAnythingButARegularFile) {
    const std::string fifo = testing::TempDir() + "input_script_fifo_" + std::to_string(getpid());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, testing::TempDir()}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(HostInputCheckScript(path.c_str())) << path;
        EXPECT_NE(testing::internal::GetCapturedStderr().find("not a regular file"),
                  std::string::npos);
    }
    std::remove(fifo.c_str());
}

TEST_F(InputScriptTest, FailedLoadReplaysNothing) {
    const TemporaryFile script("0 hold A\n1 hold Z\n");
    EXPECT_FALSE(HostInputLoadScript(script.Path()));
    HostInputBeginFrame(1);
    EXPECT_EQ(HostInputGetRemote(0).held, 0u);
}

TEST_F(InputScriptTest, InputOptionKeepsThePathOfAGoodScriptOnly) {
    const TemporaryFile good("1 hold A\n");
    const TemporaryFile bad("1 hold A\nnonsense\n");
    HostOptions options{};
    const char* goodArgs[] = {"puzzles", "--input", good.Path()};
    ASSERT_TRUE(HostParseOptions(3, goodArgs, &options));
    EXPECT_STREQ(options.inputScript, good.Path());
    const char* badArgs[] = {"puzzles", "--input", bad.Path()};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(HostParseOptions(3, badArgs, &options));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("line 2"), std::string::npos);
    const std::string longPath(2000, 'a');
    const char* longArgs[] = {"puzzles", "--input", longPath.c_str()};
    EXPECT_FALSE(HostParseOptions(3, longArgs, &options));
}

} // namespace
