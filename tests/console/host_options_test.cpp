// Host options as the command line gives them: the host kind (which depends on the
// display), frames and TV format, screenshots, the disc and flash-memory directories,
// injected faults and the captured sound.
#include <console/host.h>
#include <console/vi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool Parse(std::vector<const char*> arguments, HostOptions* options) {
    arguments.insert(arguments.begin(), "puzzles");
    return HostParseOptions(static_cast<int>(arguments.size()), arguments.data(), options);
}

// Sets the display variables for one test and puts the old values back after it.
class DisplayVariables {
public:
    DisplayVariables(const char* x11, const char* wayland) {
        Save("DISPLAY", x11, &m_x11);
        Save("WAYLAND_DISPLAY", wayland, &m_wayland);
    }
    ~DisplayVariables() {
        Restore("DISPLAY", m_x11);
        Restore("WAYLAND_DISPLAY", m_wayland);
    }

private:
    struct Saved {
        bool present = false;
        std::string value;
    };
    static void Save(const char* name, const char* value, Saved* saved) {
        const char* old = std::getenv(name);
        saved->present = old != nullptr;
        saved->value = old != nullptr ? old : "";
        Restore(name, {value != nullptr, value != nullptr ? value : ""});
    }
    static void Restore(const char* name, const Saved& saved) {
        if (saved.present) {
            setenv(name, saved.value.c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    Saved m_x11;
    Saved m_wayland;
};

TEST(HostOptionsTest, DefaultsToPalWithoutFrameLimitOnTheBuildsDisc) {
    HostOptions options{};
    ASSERT_TRUE(Parse({}, &options));
    EXPECT_EQ(options.frameLimit, -1);
    EXPECT_EQ(options.tvFormat, VI_PAL);
    EXPECT_STREQ(options.discDir, "");
    EXPECT_STREQ(options.faults, "");
}

TEST(HostOptionsTest, OpensAWindowWhenADisplayIsPresentUnlessHeadless) {
    struct Case {
        const char* x11;
        const char* wayland;
        std::vector<const char*> arguments;
        HostKind kind;
    };
    const Case cases[] = {
        {":0", nullptr, {}, HostKind::Window},
        {nullptr, "wayland-0", {}, HostKind::Window},
        {nullptr, nullptr, {}, HostKind::Headless},
        {"", "", {}, HostKind::Headless},
        {":0", "wayland-0", {"--headless"}, HostKind::Headless},
    };
    for (const Case& c : cases) {
        const DisplayVariables display(c.x11, c.wayland);
        HostOptions options{};
        ASSERT_TRUE(Parse(c.arguments, &options));
        EXPECT_EQ(options.kind, c.kind) << (c.x11 ? c.x11 : "-") << (c.wayland ? c.wayland : "-");
    }
}

TEST(HostOptionsTest, ReadsEveryOption) {
    HostOptions options{};
    ASSERT_TRUE(Parse({"--headless", "--frames", "120", "--tv", "ntsc", "--disc", "/tmp", "--nand",
                       "/tmp/some/new/dir", "--fault", "dvd-read:retry@3x20", "--fault",
                       "dvd-read:no-disc@5", "--audio-out", "/tmp/out.wav"},
                      &options));
    EXPECT_EQ(options.frameLimit, 120);
    EXPECT_EQ(options.tvFormat, VI_NTSC);
    EXPECT_STREQ(options.discDir, "/tmp");
    EXPECT_STREQ(options.nandDir, "/tmp/some/new/dir");
    EXPECT_STREQ(options.faults, "dvd-read:retry@3x20,dvd-read:no-disc@5");
    EXPECT_STREQ(options.audioOut, "/tmp/out.wav");
    const std::pair<const char*, u32> formats[] = {
        {"pal", VI_PAL}, {"eu60", VI_EURGB60}, {"mpal", VI_MPAL}, {"ntsc", VI_NTSC}};
    for (const auto& [name, format] : formats) {
        ASSERT_TRUE(Parse({"--tv", name}, &options));
        EXPECT_EQ(options.tvFormat, format) << name;
    }
}

TEST(HostOptionsTest, ReadsEachScreenshotFrameAndFile) {
    HostOptions options{};
    ASSERT_TRUE(Parse({"--frames", "60", "--screenshot", "60:out/shot.png", "--screenshot",
                       "0:dir:with:colons/start.PNG"},
                      &options));
    ASSERT_EQ(options.screenshotCount, 2u);
    EXPECT_EQ(options.screenshots[0].frame, 60u);
    EXPECT_STREQ(options.screenshots[0].path, "out/shot.png");
    EXPECT_EQ(options.screenshots[1].frame, 0u);
    EXPECT_STREQ(options.screenshots[1].path, "dir:with:colons/start.PNG");
}

TEST(HostOptionsTest, RefusesBadOptions) {
    const std::string tooLong = "1:" + std::string(kHostPathCapacity, 'a') + ".png";
    std::string eightRules = "dvd-read:retry@1";
    for (int i = 2; i <= 8; ++i) {
        eightRules += ",dvd-read:retry@" + std::to_string(i);
    }
    const std::vector<std::vector<const char*>> bad = {
        {"--frames"},
        {"--frames", "-1"},
        {"--frames", "12x"},
        {"--frames", ""},
        {"--frames", "99999999999"},
        {"--tv", "secam"},
        {"--tv"},
        {"--window"},
        {"frames"},
        {"--screenshot"},
        {"--screenshot", "60"},
        {"--screenshot", "60:"},
        {"--screenshot", ":shot.png"},
        {"--screenshot", "x:shot.png"},
        {"--screenshot", "-1:shot.png"},
        {"--screenshot", "+5:shot.png"},
        {"--screenshot", " 5:shot.png"},
        {"--screenshot", "99999999999:shot.png"},
        {"--screenshot", "60:shot.jpg"},
        {"--screenshot", "60:.png"},
        {"--screenshot", tooLong.c_str()},
        {"--frames", "10", "--screenshot", "11:late.png"},
        {"--screenshot", "11:late.png", "--frames", "10"},
        {"--disc", "/nonexistent/disc"},
        {"--disc"},
        {"--nand", "/proc/self/cmdline"},
        {"--nand", ""},
        {"--fault", "dvd-read:melt@1"},
        {"--fault", eightRules.c_str(), "--fault", eightRules.c_str(), "--fault",
         "nand-open:busy@1"},
        {"--audio-out"},
        {"--audio-out", ""},
        {"--audio-out", "/nonexistent/dir/sound.wav"},
        {"--audio-out", "/tmp"},
        {"--nand", "--headless"},
        {"--frames", "--headless"},
        {"--input", "--frames", "10"},
        {"--fault", "dvd-read:retry@0"},
        {"--fault", "nand-write:busy@2x0"},
    };
    for (const auto& arguments : bad) {
        HostOptions options{};
        EXPECT_FALSE(Parse(arguments, &options)) << arguments.front() << " " << arguments.back();
    }
}

TEST(HostOptionsTest, TakesAtMostEightScreenshots) {
    std::vector<const char*> arguments;
    for (u32 i = 0; i < kHostMaxScreenshots; ++i) {
        arguments.push_back("--screenshot");
        arguments.push_back("1:shot.png");
    }
    HostOptions options{};
    EXPECT_TRUE(Parse(arguments, &options));
    EXPECT_EQ(options.screenshotCount, kHostMaxScreenshots);
    arguments.push_back("--screenshot");
    arguments.push_back("1:shot.png");
    EXPECT_FALSE(Parse(arguments, &options));
}

} // namespace
