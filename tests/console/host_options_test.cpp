// Host options as the command line gives them.
#include <console/host.h>
#include <console/vi.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

bool Parse(std::vector<const char*> arguments, HostOptions* options) {
    arguments.insert(arguments.begin(), "puzzles");
    return HostParseOptions(static_cast<int>(arguments.size()), arguments.data(), options);
}

// The default host depends on the display (host_window_options_test.cpp).
TEST(HostOptionsTest, DefaultsToPalWithoutFrameLimit) {
    HostOptions options{};
    ASSERT_TRUE(Parse({}, &options));
    EXPECT_EQ(options.frameLimit, -1);
    EXPECT_EQ(options.tvFormat, VI_PAL);
}

TEST(HostOptionsTest, ReadsEveryOption) {
    HostOptions options{};
    ASSERT_TRUE(Parse({"--headless", "--frames", "120", "--tv", "ntsc"}, &options));
    EXPECT_EQ(options.frameLimit, 120);
    EXPECT_EQ(options.tvFormat, VI_NTSC);
    const std::pair<const char*, u32> formats[] = {
        {"pal", VI_PAL}, {"eu60", VI_EURGB60}, {"mpal", VI_MPAL}, {"ntsc", VI_NTSC}};
    for (const auto& [name, format] : formats) {
        ASSERT_TRUE(Parse({"--tv", name}, &options));
        EXPECT_EQ(options.tvFormat, format) << name;
    }
}

TEST(HostOptionsTest, RefusesBadOptions) {
    const std::vector<std::vector<const char*>> bad = {
        {"--frames"},     {"--frames", "-1"}, {"--frames", "12x"},
        {"--frames", ""}, {"--tv", "secam"},  {"--tv"},
        {"--window"},     {"frames"},         {"--frames", "99999999999"}};
    for (const auto& arguments : bad) {
        HostOptions options{};
        EXPECT_FALSE(Parse(arguments, &options)) << arguments[0];
    }
}

} // namespace
