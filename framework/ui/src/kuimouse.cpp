// The pointer's position: the remote's aiming coordinates (x -1.35 to 1.35 across the
// picture; y -1.0 to 0.6 down it with the sensor bar above the screen, -0.6 to 1.0 with
// it below) scaled to the display.
#include <ui/kuimouse.h>

#include <framework/kspritemanager.h>

#include <kelvo/input/kinputsystem.h>
#include <kelvo/platform/klog.h>
#include <kelvo/render/krender.h>

#include <console/wpad.h>

namespace Kelvo_lib {

namespace {

constexpr float kRange = 0.5f;

float s_fMouseX = 0.0f;
float s_fMouseY = 0.0f;
int s_mouseX = 0;
int s_mouseY = 0;

// Whether a missing input system or surface has been reported since one was last seen.
bool s_bReportedNoInput = false;
bool s_bReportedNoSurface = false;

// Clamps to 0 to upper, upper bound first; a value that is not a number becomes 0.
float ClampToDisplay(float value, float upper) {
    if (value > upper) {
        value = upper;
    }
    return value >= 0.0f ? value : 0.0f;
}

bool HasInputSystem() {
    if (kInput == nullptr && !s_bReportedNoInput) {
        kLogSys("kUIMouse", "No input system selected: the pointer stays where it was\n");
    }
    s_bReportedNoInput = kInput == nullptr;
    return kInput != nullptr;
}

// The current render surface, or null (reported).
const krSurface* CurrentSurface() {
    const krSurface* surface = kRender::SurfaceGetCurrent();
    if (surface == nullptr && !s_bReportedNoSurface) {
        kLogSys("kUIMouse", "No current render surface: the pointer has no pixel position\n");
    }
    s_bReportedNoSurface = surface == nullptr;
    return surface;
}

} // namespace

void UpdateMouse() {
    if (!HasInputSystem()) {
        return;
    }
    const float x = kInput->GetInputState(KI_MOUSE_X_AXIS, 0);
    const float y = kInput->GetInputState(KI_MOUSE_Y_AXIS, 0);
    const bool bSensorBarAbove = (WPADGetSensorBarPosition() & 0xFF) != 0;
    const float yOffset = bSensorBarAbove ? 2.0f * kRange : 1.2f * kRange;
    s_fMouseX = ClampToDisplay((x + 2.7f * kRange) / (5.4f * kRange), 1.0f);
    s_fMouseY = ClampToDisplay((y + yOffset) / (3.2f * kRange),
                               1.0f / kSpriteManager::GetHackScaleNTSCValue());
    const krSurface* surface = CurrentSurface();
    const float width = surface != nullptr ? static_cast<float>(surface->GetDesc().xRes) : 0.0f;
    const float height = surface != nullptr ? static_cast<float>(surface->GetDesc().yRes) : 0.0f;
    s_mouseX = static_cast<int>(s_fMouseX * width);
    s_mouseY = static_cast<int>(s_fMouseY * height);
}

int kUIMouse::GetPixelX() {
    UpdateMouse();
    return s_mouseX;
}

int kUIMouse::GetPixelY() {
    UpdateMouse();
    return s_mouseY;
}

float kUIMouse::GetX() {
    UpdateMouse();
    return s_fMouseX;
}

float kUIMouse::GetY() {
    UpdateMouse();
    return s_fMouseY * kSpriteManager::GetHackScaleNTSCValue();
}

} // namespace Kelvo_lib
