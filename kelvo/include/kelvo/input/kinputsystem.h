// The input table and the current input system. A platform system fills one float per
// input code for each of 8 device slots once per frame; everything else reads it through
// kInput, the system made current with Select (owned by whoever created it, never by
// kInput). Main thread only. A code or device slot outside the table is refused and
// logged: a read gives 0.0, a write changes nothing.
#pragma once

#include <kelvo/input/kinputtypes.h>

#include <console/types.h>

namespace Kelvo_lib {

class kInputDevice;

class kInputSystemBase {
public:
    static constexpr u32 kNumDeviceSlots = 8;

    kInputSystemBase();
    kInputSystemBase(const kInputSystemBase&) = delete;
    kInputSystemBase& operator=(const kInputSystemBase&) = delete;
    virtual ~kInputSystemBase() = default;

    virtual bool Init(void* param) = 0;
    virtual void Deinit() = 0;
    virtual void Update() = 0;
    virtual void GlobalFocus(bool focus) = 0;
    virtual unsigned int NumDevices() = 0;
    virtual kInputDevice* GetDevice(unsigned int index) = 0;
    virtual kInputStatus CheckStatus(unsigned int channel) = 0;
    virtual kInputDeviceType CheckType(unsigned int channel) = 0;
    // Keyboard systems only: the keys seen this frame, count in *count.
    virtual const unsigned char* GetKeyScanCodeBuffer(int* count) = 0;
    virtual const char* GetKeyAsciiBuffer(int* count) = 0;
    virtual char ScanToAscii(unsigned char scanCode, bool shift) = 0;
    virtual void ClearKeyBuffers() = 0;
    virtual void Vibrate(unsigned char channel, unsigned char strength) = 0;

    float GetInputState(kInputType type, unsigned int device) const;
    void SetInputState(kInputType type, float value, unsigned int device);

    // Makes dev current (null: none). The system losing the place gets GlobalFocus(false)
    // and dev GlobalFocus(true); selecting the current system again does nothing.
    static void Select(kInputSystemBase* dev);

protected:
    unsigned int _keyRepeatDelay;
    unsigned int _keyRepeatRate;
    bool _extendedAsciiState;

private:
    float _inputStateTable[kNumDeviceSlots * KI_NUM_INPUT_TYPES];
};

} // namespace Kelvo_lib

// The current input system; null until one is selected.
extern Kelvo_lib::kInputSystemBase* kInput;
