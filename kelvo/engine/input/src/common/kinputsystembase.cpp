// The input table's storage and bounds, and the choice of the current system.
#include <kelvo/input/kinputsystem.h>
#include <kelvo/platform/klog.h>

Kelvo_lib::kInputSystemBase* kInput = nullptr;

namespace Kelvo_lib {

namespace {

bool IsInTable(kInputType type, unsigned int device, const char* caller) {
    const unsigned int code = static_cast<unsigned int>(type);
    if (code < KI_NUM_INPUT_TYPES && device < kInputSystemBase::kNumDeviceSlots) {
        return true;
    }
    kLogSys("kInput", "%s: code %u of device %u is outside the input table\n", caller, code,
            device);
    return false;
}

} // namespace

kInputSystemBase::kInputSystemBase()
    : _keyRepeatDelay(250), _keyRepeatRate(90), _extendedAsciiState(true), _inputStateTable{} {}

float kInputSystemBase::GetInputState(kInputType type, unsigned int device) const {
    if (!IsInTable(type, device, "GetInputState")) {
        return 0.0f;
    }
    return _inputStateTable[device * KI_NUM_INPUT_TYPES + type];
}

void kInputSystemBase::SetInputState(kInputType type, float value, unsigned int device) {
    if (IsInTable(type, device, "SetInputState")) {
        _inputStateTable[device * KI_NUM_INPUT_TYPES + type] = value;
    }
}

void kInputSystemBase::Select(kInputSystemBase* dev) {
    if (dev == kInput) {
        return;
    }
    if (kInput != nullptr) {
        kInput->GlobalFocus(false);
    }
    kInput = dev;
    if (dev != nullptr) {
        dev->GlobalFocus(true);
    }
}

} // namespace Kelvo_lib
