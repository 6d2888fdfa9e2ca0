// THP decoding: pictures that are not the JPEG the movie says are refused, and sound
// tracks are read within their bytes and the buffer given (mono doubled to stereo).
#include <console/thp.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(THPDecodeTest, BadPicturesAndTracksAreRefusedWithinTheirBytes) {
    std::vector<u8> y(32 * 16), u(32 * 4), v(32 * 4);
    const u8 notJpeg[64] = {0xFF, 0xD8, 0xFF, 0xE0};
    EXPECT_NE(
        THPVideoDecode(notJpeg, sizeof(notJpeg), 32, 16, y.data(), u.data(), v.data(), nullptr), 0);
    EXPECT_NE(
        THPVideoDecode(notJpeg, sizeof(notJpeg), 30, 16, y.data(), u.data(), v.data(), nullptr), 0)
        << "a width that is no multiple of 16";

    const struct {
        const char* what;
        std::vector<u8> track;
        u32 samples;
    } tracks[] = {
        {"mono doubled", {0, 0, 0, 2, 0, 0, 0, 1, 0x12, 0x34, 0xFF, 0xFE}, 2},
        {"stereo", {0, 0, 0, 1, 0, 0, 0, 2, 0x00, 0x10, 0x00, 0x20}, 1},
        {"samples past the end", {0, 0, 0, 9, 0, 0, 0, 2, 0, 1}, 0},
        {"three channels", {0, 0, 0, 1, 0, 0, 0, 3, 0, 1, 0, 2, 0, 3}, 0},
        {"more than the buffer holds", {0, 0, 1, 0, 0, 0, 0, 1}, 0},
        {"no header", {0, 0, 0}, 0},
    };
    for (const auto& test : tracks) {
        SCOPED_TRACE(test.what);
        s16 out[8] = {};
        EXPECT_EQ(THPAudioDecode(out, 4, test.track.data(), static_cast<u32>(test.track.size()), 0),
                  test.samples);
    }
    s16 out[4] = {};
    const u8 mono[] = {0, 0, 0, 1, 0, 0, 0, 1, 0xFF, 0xFE};
    ASSERT_EQ(THPAudioDecode(out, 4, mono, sizeof(mono), 0), 1u);
    EXPECT_EQ(out[0], -2);
    EXPECT_EQ(out[1], -2);
}

} // namespace
