#include <shell/mnremotes.h>

#include <console/kpad.h>
#include <console/wpad.h>

namespace Kelvo_lib {

namespace {
constexpr s32 kPlayerOneChannel = WPAD_CHAN0;
} // namespace

void MNRemotes::TurnPointersOff() {
    for (s32 channel = WPAD_CHAN0; channel < WPAD_MAX_CONTROLLERS; ++channel) {
        KPADDisableDPD(channel);
    }
}

void MNRemotes::DisconnectAllButPlayerOne() {
    for (s32 channel = WPAD_CHAN0; channel < WPAD_MAX_CONTROLLERS; ++channel) {
        if (channel != kPlayerOneChannel) {
            WPADDisconnect(channel);
        }
    }
}

} // namespace Kelvo_lib
