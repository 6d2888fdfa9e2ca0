// Screenshots through libpng's simplified writer, from one static RGB buffer.
#include "host/screenshot.h"

#include <console/host.h>
#include <console/os.h>
#include <console/vi.h>

#include <png.h>

namespace {

// Largest picture VI can show.
constexpr u32 kMaxWidth = 720;
constexpr u32 kMaxHeight = 576;

u8 s_rgb[kMaxWidth * kMaxHeight * 3];
enum class ShotState : u8 { Pending, Written, Failed };
ShotState s_states[kHostMaxScreenshots];

bool WritePng(const char* path, u32 width, u32 height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGB;
    const png_int_32 rowStride = static_cast<png_int_32>(width * 3);
    if (png_image_write_to_file(&image, path, 0, s_rgb, rowStride, nullptr) == 0) {
        OSReport("host: cannot write screenshot %s: %s\n", path, image.message);
        return false;
    }
    return true;
}

bool TakeScreenshot(const HostScreenshot& screenshot) {
    const VIFrameSize size = VIGetShownFrameSize();
    if (size.width == 0 || size.height == 0 || size.width > kMaxWidth || size.height > kMaxHeight) {
        OSReport("host: no screenshot %s: the shown picture is %u x %u\n", screenshot.path,
                 size.width, size.height);
        return false;
    }
    if (!VIConvertShownFrameToRGB(s_rgb, size.width * 3, sizeof(s_rgb)) ||
        !WritePng(screenshot.path, size.width, size.height)) {
        return false;
    }
    OSReport("host: frame %u written to %s\n", screenshot.frame, screenshot.path);
    return true;
}

} // namespace

void HostTakeDueScreenshots(u32 framesDone) {
    const HostOptions& options = HostGetOptions();
    for (u32 i = 0; i < options.screenshotCount; ++i) {
        if (s_states[i] == ShotState::Pending && options.screenshots[i].frame == framesDone) {
            s_states[i] =
                TakeScreenshot(options.screenshots[i]) ? ShotState::Written : ShotState::Failed;
        }
    }
}

bool HostScreenshotsWritten() {
    const HostOptions& options = HostGetOptions();
    bool all = true;
    for (u32 i = 0; i < options.screenshotCount; ++i) {
        // Frames before a restart were the program's before it, which wrote them.
        const bool bBeforeRestart = options.screenshots[i].frame < HostResumedFrame();
        if (s_states[i] != ShotState::Written && !bBeforeRestart) {
            OSReport("host: screenshot %s of frame %u was not written\n",
                     options.screenshots[i].path, options.screenshots[i].frame);
            all = false;
        }
    }
    return all;
}
