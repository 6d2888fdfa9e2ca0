// Reads the four remotes through KPAD into the input table, and answers their status
// and type from the last sample read.
#include <kelvo/input/kinputsystemwii.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>

#include <console/mem.h>
#include <console/wpad.h>

namespace Kelvo_lib {

bool kInputSystemWII::s_bInit = false;
KPADStatus kInputSystemWII::s_lastStatus[kInputSystemWII::kNumRemotes] = {};

namespace {

constexpr const char* kLogSystem = "KPAD";
constexpr float kPlayRadius = 0.015f;
constexpr float kSensitivity = 1.0f;
constexpr u8 kAutoSleepMinutes = 5;

struct ButtonCodes {
    u32 bit;
    kInputType code;
    kInputType alias; // KI_NONE when the button has one code only
};
constexpr ButtonCodes kButtonCodes[] = {
    {WPAD_BUTTON_UP, KI_PAD1_UP, KI_PAD1_DPAD_UP},
    {WPAD_BUTTON_DOWN, KI_PAD1_DOWN, KI_PAD1_DPAD_DOWN},
    {WPAD_BUTTON_LEFT, KI_PAD1_LEFT, KI_PAD1_DPAD_LEFT},
    {WPAD_BUTTON_RIGHT, KI_PAD1_RIGHT, KI_PAD1_DPAD_RIGHT},
    {WPAD_BUTTON_A, KI_WII_PAD1_BUTTON_A, KI_NONE},
    {WPAD_BUTTON_B, KI_WII_PAD1_BUTTON_B, KI_NONE},
    {WPAD_BUTTON_HOME, KI_WII_PAD1_BUTTON_HOME, KI_NONE},
    {WPAD_BUTTON_PLUS, KI_WII_PAD1_BUTTON_PLUS, KI_NONE},
    {WPAD_BUTTON_MINUS, KI_WII_PAD1_BUTTON_MINUS, KI_NONE},
    {WPAD_BUTTON_1, KI_WII_PAD1_BUTTON_1, KI_NONE},
    {WPAD_BUTTON_2, KI_WII_PAD1_BUTTON_2, KI_NONE},
    {WPAD_BUTTON_Z, KI_WII_PAD1_BUTTON_Z, KI_NONE},
    {WPAD_BUTTON_C, KI_WII_PAD1_BUTTON_C, KI_NONE},
};

struct DeviceKind {
    u8 devType;
    kInputDeviceType type;
};
// The device types a remote may report while it works.
constexpr DeviceKind kDeviceKinds[] = {
    {WPAD_DEV_CORE, KI_WII_DEVICE_WIIMOTE},
    {WPAD_DEV_NUNCHUK, KI_WII_DEVICE_WIIMOTE_NUNCHUK},
    {WPAD_DEV_CLASSIC, KI_WII_DEVICE_WIIMOTE_CLASSIC},
    {WPAD_DEV_FUTURE, KI_WII_DEVICE_WIIMOTE_FUTURE},
    {WPAD_DEV_NOT_SUPPORTED, KI_DEVICE_UNKNOWN},
    {WPAD_DEV_UNKNOWN, KI_WII_DEVICE_WIIMOTE_UNKNOWN},
};

const DeviceKind* FindDeviceKind(u8 devType) {
    for (const DeviceKind& kind : kDeviceKinds) {
        if (kind.devType == devType) {
            return &kind;
        }
    }
    return nullptr;
}

template <typename Call>
void ForEachRemote(Call call) {
    for (s32 channel = 0; channel < static_cast<s32>(kInputSystemWII::kNumRemotes); ++channel) {
        call(channel);
    }
}

// A keyboard buffer the remotes never fill.
template <typename Key>
const Key* NoKeys(int* count) {
    if (count != nullptr) {
        *count = 0;
    }
    return nullptr;
}

void* alloc32(u32 size) {
    return MEMAllocFromAllocator(&MyDemoAllocator2, size);
}

BOOL free32(void* block) {
    MEMFreeToAllocator(&MyDemoAllocator2, block);
    return TRUE;
}

} // namespace

bool kInputSystemWII::Init(void*) {
    if (s_bInit) {
        return true;
    }
    kLogSys(kLogSystem, "Init KPAD\n");
    WPADRegisterAllocator(alloc32, free32);
    WPADSetSyncDeviceCallback(SyncCallback);
    KPADInit();
    ForEachRemote(KPADEnableDPD);
    ForEachRemote(KPADEnableAimingMode);
    ForEachRemote([](s32 channel) { KPADSetPosParam(channel, kPlayRadius, kSensitivity); });
    WPADSetAutoSleepTime(kAutoSleepMinutes);
    kLogSys(kLogSystem, "KPAD inited\n");
    s_bInit = true;
    return true;
}

void kInputSystemWII::Deinit() {
    kLogSys(kLogSystem, "Deinit\n");
}

void kInputSystemWII::SyncCallback(s32 result, s32 count) {
    if (result == WPAD_SYNC_EVT_START) {
        kLogFmt("SyncCallback: Sync button pressed\n");
        WPADStartSyncDevice();
    } else if (result == WPAD_SYNC_EVT_DONE) {
        kLogFmt("SyncCallback: Sync complete: %d controllers connected\n", count);
    }
}

// Channels in order; an absent or unusable remote ends the frame's reading.
void kInputSystemWII::Update() {
    for (unsigned int channel = 0; channel < kNumRemotes; ++channel) {
        KPADStatus status{};
        if (KPADRead(static_cast<s32>(channel), &status, 1) <= 0) {
            return;
        }
        if (status.dev_type == WPAD_DEV_NOT_FOUND || FindDeviceKind(status.dev_type) == nullptr) {
            kLogSys(kLogSystem, status.dev_type == WPAD_DEV_NOT_FOUND ? "No controller found\n"
                                                                      : "Unknown device!\n");
            // The table keeps the buttons as they were, so the stored hold must say the
            // same: the first reading after the remote returns then releases them.
            status.hold = s_lastStatus[channel].hold;
            s_lastStatus[channel] = status;
            return;
        }
        WriteButtonChanges(channel, s_lastStatus[channel].hold, status.hold);
        WriteMotionAndPointer(channel, status);
        s_lastStatus[channel] = status;
    }
}

void kInputSystemWII::WriteButtonChanges(unsigned int channel, u32 before, u32 now) {
    for (const ButtonCodes& button : kButtonCodes) {
        if (((before ^ now) & button.bit) == 0) {
            continue;
        }
        const float value = (now & button.bit) != 0 ? 1.0f : 0.0f;
        SetInputState(button.code, value, channel);
        if (button.alias != KI_NONE) {
            SetInputState(button.alias, value, channel);
        }
    }
}

void kInputSystemWII::WriteMotionAndPointer(unsigned int channel, const KPADStatus& status) {
    SetInputState(KI_WII_PAD1_ACCEL_X, status.acc.x, channel);
    SetInputState(KI_WII_PAD1_ACCEL_Y, status.acc.y, channel);
    SetInputState(KI_WII_PAD1_ACCEL_Z, status.acc.z, channel);
    SetInputState(KI_WII_PAD1_VERTICAL_X, status.acc_vertical.x, channel);
    SetInputState(KI_WII_PAD1_VERTICAL_Y, status.acc_vertical.y, channel);
    SetInputState(KI_WII_PAD1_HORIZON_X, status.horizon.x, channel);
    SetInputState(KI_WII_PAD1_HORIZON_Y, status.horizon.y, channel);
    SetInputState(KI_WII_PAD1_DISTANCE, status.dist, channel);
    SetInputState(KI_MOUSE_X_AXIS, status.pos.x, channel);
    SetInputState(KI_MOUSE_Y_AXIS, status.pos.y, channel);
}

kInputStatus kInputSystemWII::CheckStatus(unsigned int channel) {
    if (channel >= kNumRemotes) {
        return KI_STATUS_DISCONNECTED;
    }
    const u8 devType = s_lastStatus[channel].dev_type;
    if (devType == WPAD_DEV_NOT_FOUND) {
        return KI_STATUS_DISCONNECTED;
    }
    if (FindDeviceKind(devType) == nullptr) {
        return KI_STATUS_ERROR;
    }
    const bool present = WPADProbe(static_cast<s32>(channel), nullptr) != WPAD_ERR_NO_CONTROLLER;
    return present ? KI_STATUS_OK : KI_STATUS_DISCONNECTED;
}

kInputDeviceType kInputSystemWII::CheckType(unsigned int channel) {
    if (channel >= kNumRemotes) {
        return KI_DEVICE_UNKNOWN;
    }
    const DeviceKind* kind = FindDeviceKind(s_lastStatus[channel].dev_type);
    return kind != nullptr ? kind->type : KI_DEVICE_UNKNOWN;
}

const unsigned char* kInputSystemWII::GetKeyScanCodeBuffer(int* count) {
    return NoKeys<unsigned char>(count);
}

const char* kInputSystemWII::GetKeyAsciiBuffer(int* count) {
    return NoKeys<char>(count);
}

} // namespace Kelvo_lib
