// The pointer: the remote's aiming coordinates turned into display fractions and surface
// pixels, and, end to end in NTSC and PAL, a mouse position on the shown picture naming
// the surface pixel the picture shows there.
#include "log_capture.h"
#include "ui_test_support.h"

#include <ui/kuimouse.h>

#include <kelvo/platform/kplatform.h>

#include <console/gx.h>
#include <console/host.h>
#include <console/vi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;

struct AimCase {
    const char* name;
    float x, y;   // the table's pointer axes
    float nx, ny; // the display fractions they give
};

class PointerTest : public ui_test::ScriptedInputTest {
protected:
    void Aim(float x, float y) {
        m_input.SetInputState(KI_MOUSE_X_AXIS, x, 0);
        m_input.SetInputState(KI_MOUSE_Y_AXIS, y, 0);
    }
};

TEST_F(PointerTest, AimingCoordinatesMapOntoTheDisplayAndStayOnIt) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const AimCase cases[] = {
        {"top left", -1.35f, -1.0f, 0.0f, 0.0f},
        {"bottom right", 1.35f, 0.6f, 1.0f, 1.0f},
        {"centre", 0.0f, -0.2f, 0.5f, 0.5f},
        {"beyond the right and bottom", 2.0f, 3.0f, 1.0f, 1.0f},
        {"beyond the left and top", -2.0f, -3.0f, 0.0f, 0.0f},
        {"not a number", nan, nan, 0.0f, 0.0f},
    };
    for (const AimCase& c : cases) {
        SCOPED_TRACE(c.name);
        Aim(c.x, c.y);
        EXPECT_NEAR(kUIMouse::GetX(), c.nx, 1e-6);
        EXPECT_NEAR(kUIMouse::GetY(), c.ny, 1e-6);
        const int pixelX = kUIMouse::GetPixelX();
        EXPECT_EQ(pixelX, static_cast<int>(c.nx * DisplayWidth()));
        EXPECT_EQ(kUIMouse::GetIntX(), pixelX);
        EXPECT_EQ(kUIMouse::GetPixelY(), static_cast<int>(c.ny * DisplayHeight()));
    }
}

TEST_F(PointerTest, PixelsTruncateSoOnlyTheVeryEdgeReachesTheSurfaceSize) {
    Aim(0.0f, 0.0f);
    EXPECT_EQ(kUIMouse::GetPixelX(), static_cast<int>(DisplayWidth()) / 2);
    EXPECT_EQ(kUIMouse::GetIntY(), static_cast<int>(0.625f * DisplayHeight()));
    Aim(0.9999f * 2.7f - 1.35f, 0.0f);
    EXPECT_EQ(kUIMouse::GetPixelX(), static_cast<int>(DisplayWidth()) - 1);
    Aim(1.35f, 0.0f);
    EXPECT_EQ(kUIMouse::GetPixelX(), static_cast<int>(DisplayWidth()));
}

TEST_F(PointerTest, WithoutAnInputSystemThePointerStaysWhereItWas) {
    Aim(0.0f, -0.2f);
    const int x = kUIMouse::GetPixelX();
    test_support::LogCapture log;
    kInputSystemBase::Select(nullptr);
    EXPECT_EQ(kUIMouse::GetPixelX(), x);
    EXPECT_EQ(kUIMouse::GetPixelX(), x);
    EXPECT_EQ(log.Count("No input system selected: the pointer stays where it was"), 1);
}

// A whole run of the picture path: the console shows the surface in the given TV
// format, and the window maps mouse pixels on that picture to the remote's pointer.
class PicturePointerTest : public ui_test::InTvFormat<ui_test::ScriptedInputTest> {
protected:
    // Paints every row of the surface in a colour that names it, and shows the frame.
    void ShowRowNumbers() {
        const krSurfaceDesc& desc = m_surface->GetDesc();
        for (u32 y = 0; y < desc.yRes; ++y) {
            const GXColor colour{static_cast<u8>(8 * (y % 32)), static_cast<u8>(16 * (y / 32)), 128,
                                 255};
            for (u32 x = 0; x < desc.xRes; ++x) {
                GXPokeEFBColorForTest(x, y, colour);
            }
        }
        kRender::BufferSwap();
        const VIFrameSize picture = VIGetShownFrameSize();
        m_picture.assign(picture.width * picture.height * 3, 0);
        ASSERT_TRUE(VIConvertShownFrameToRGB(m_picture.data(), picture.width * 3,
                                             static_cast<u32>(m_picture.size())));
    }

    // The surface row the picture shows at (x, y).
    int SurfaceRowShownAt(u32 x, u32 y) const {
        const u8* pixel = &m_picture[(y * VIGetShownFrameSize().width + x) * 3];
        return (pixel[0] + 4) / 8 + 32 * ((pixel[1] + 8) / 16);
    }

    // The mouse at pixel (x, y) of the picture, as the window reports it, read through
    // the input system as the game's frame does.
    void MouseAt(u32 x, u32 y) {
        const VIFrameSize picture = VIGetShownFrameSize();
        HostInputSetPointer(0, (x + 0.5f) / picture.width, (y + 0.5f) / picture.height);
        m_input.Update();
    }

    std::vector<u8> m_picture;
};

// Whether surface row `row` holds the centre of picture row y in its share of the
// picture; a centre on the line between two rows belongs to both.
bool RowHoldsCentreOf(int row, u32 y, u32 pictureHeight, u32 surfaceHeight) {
    const u64 centre = (2ull * y + 1) * surfaceHeight; // in units of 1 / (2 pictureHeight)
    const u64 rowTop = 2ull * pictureHeight * static_cast<u64>(row);
    return row >= 0 && rowTop <= centre && centre <= rowTop + 2ull * pictureHeight;
}

TEST_P(PicturePointerTest, MousePixelOnThePictureNamesTheSurfacePixelShownThere) {
    ShowRowNumbers();
    const VIFrameSize picture = VIGetShownFrameSize();
    const u32 surfaceHeight = m_surface->GetDesc().yRes;
    ASSERT_EQ(picture.width, m_surface->GetDesc().xRes) << "columns are shown one to one";
    // NTSC shows every surface row once; PAL stretches 496 rows over 526, each picture
    // row showing the surface row under its centre, as the pointer names it.
    int failures = 0;
    for (u32 y = 0; y < picture.height && failures < 10; ++y) {
        for (u32 x : {0u, 1u, picture.width / 2, picture.width - 2, picture.width - 1}) {
            // Away first: the remote ignores moves shorter than its play radius.
            MouseAt(x < picture.width / 2 ? picture.width - 1 : 0,
                    y < picture.height / 2 ? picture.height - 1 : 0);
            MouseAt(x, y);
            const int pointerX = kUIMouse::GetPixelX();
            const int pointerY = kUIMouse::GetPixelY();
            const int shownRow = SurfaceRowShownAt(x, y);
            const bool bRight = pointerX == static_cast<int>(x) &&
                                RowHoldsCentreOf(pointerY, y, picture.height, surfaceHeight) &&
                                RowHoldsCentreOf(shownRow, y, picture.height, surfaceHeight);
            if (!bRight) {
                ++failures;
                ADD_FAILURE() << "picture " << x << ", " << y << " shows surface row " << shownRow
                              << "; the pointer says " << pointerX << ", " << pointerY;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(TvFormats, PicturePointerTest, ui_test::kTvFormats, ui_test::TvName);

} // namespace
