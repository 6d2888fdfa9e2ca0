#include <console/hbm.h>

#include <console/os.h>

namespace {

constexpr f32 kBarHeight = 0.16f;

constexpr HBMButton kButtons[HBM_BUTTON_COUNT] = {
    {0.74f, 0.03f, 0.22f, 0.10f, "Close"},
    {0.10f, 0.42f, 0.36f, 0.20f, "Reset"},
    {0.54f, 0.42f, 0.36f, 0.20f, "Wii Menu"},
};

bool s_bOpen = false;
HBMSelect s_hot = HBM_SELECT_NONE;

HBMSelect ButtonAt(f32 nx, f32 ny) {
    for (s32 i = 0; i < HBM_BUTTON_COUNT; ++i) {
        const HBMButton& b = kButtons[i];
        if (nx >= b.x && nx < b.x + b.w && ny >= b.y && ny < b.y + b.h) {
            return static_cast<HBMSelect>(i);
        }
    }
    return HBM_SELECT_NONE;
}

} // namespace

void HBMOpen() {
    s_bOpen = true;
    s_hot = HBM_SELECT_NONE;
}

void HBMClose() {
    s_bOpen = false;
    s_hot = HBM_SELECT_NONE;
}

bool HBMIsOpen() {
    return s_bOpen;
}

HBMSelect HBMCalc(f32 nx, f32 ny, bool bAPressed) {
    if (!s_bOpen) {
        return HBM_SELECT_NONE;
    }
    s_hot = ButtonAt(nx, ny);
    if (!bAPressed || s_hot == HBM_SELECT_NONE) {
        return HBM_SELECT_NONE;
    }
    const HBMSelect chosen = s_hot;
    HBMClose();
    return chosen;
}

HBMSelect HBMGetHotButton() {
    return s_hot;
}

const HBMButton& HBMGetButton(s32 button) {
    if (button < 0 || button >= HBM_BUTTON_COUNT) {
        OSReport("HBMGetButton: no button %d\n", static_cast<int>(button));
        return kButtons[HBM_SELECT_CLOSE];
    }
    return kButtons[button];
}

f32 HBMGetBarHeight() {
    return kBarHeight;
}

const char* HBMGetTitle() {
    return "HOME Menu";
}
