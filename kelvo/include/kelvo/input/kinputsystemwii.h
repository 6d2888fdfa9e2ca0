// The input system of the console's four remotes: Init sets the remote libraries up once
// per run (their memory from the second arena's allocator), Update reads each remote once
// per frame into device rows 0 to 3 (buttons on change, pointer and motion every frame).
// Main thread only, including the library's sync callback. A remote that is absent ends
// that frame's reading and leaves its row as it was.
#pragma once

#include <kelvo/input/kinputsystem.h>

#include <console/kpad.h>

namespace Kelvo_lib {

class kInputSystemWII : public kInputSystemBase {
public:
    static constexpr unsigned int kNumRemotes = 4;

    kInputSystemWII() = default;

    bool Init(void* param) override;
    void Deinit() override;
    void Update() override;
    void GlobalFocus(bool) override {}
    unsigned int NumDevices() override { return kNumRemotes; }
    kInputDevice* GetDevice(unsigned int) override { return nullptr; }
    kInputStatus CheckStatus(unsigned int channel) override;
    kInputDeviceType CheckType(unsigned int channel) override;
    const unsigned char* GetKeyScanCodeBuffer(int* count) override;
    const char* GetKeyAsciiBuffer(int* count) override;
    char ScanToAscii(unsigned char, bool) override { return 0; }
    void ClearKeyBuffers() override {}
    void Vibrate(unsigned char, unsigned char) override {}

private:
    static void SyncCallback(s32 result, s32 count);
    // Writes the button codes of every bit that differs between the two hold words.
    void WriteButtonChanges(unsigned int channel, u32 before, u32 now);
    void WriteMotionAndPointer(unsigned int channel, const KPADStatus& status);

    static bool s_bInit;
    static KPADStatus s_lastStatus[kNumRemotes];
};

} // namespace Kelvo_lib
