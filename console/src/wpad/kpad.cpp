// KPAD: turns the host's remotes into status samples. The pointer is the remote's aim
// at the picture with the sensor bar above the screen, so that a program mapping
// x from -1.35..1.35 and y from -1.0..0.6 onto the picture finds the host's pointer.
#include "wpad/remote_library.h"

#include <console/host_input.h>
#include <console/kpad.h>
#include <console/os.h>

#include <cmath>

namespace {

// A remote held level and still, two metres from the screen.
constexpr KPADVec3 kRestingAcceleration{0.0f, -1.0f, 0.0f};
constexpr KPADVec2 kLevel{1.0f, 0.0f};
constexpr f32 kRestingDistance = 2.0f;

KPADVec2 AimAt(const HostRemote& remote) {
    return {2.7f * remote.nx - 1.35f, 1.6f * remote.ny - 1.0f};
}

// A move shorter than the play radius is not reported; a longer one moves the
// reported position by the sensitivity's share of the way.
void FollowPointer(RemoteChannel& channel, const KPADVec2& aim) {
    const f32 dx = aim.x - channel.pos.x;
    const f32 dy = aim.y - channel.pos.y;
    if (dx * dx + dy * dy < channel.playRadius * channel.playRadius) {
        return;
    }
    const f32 keep = 1.0f - channel.sensitivity;
    channel.pos = {channel.pos.x * keep + aim.x * channel.sensitivity,
                   channel.pos.y * keep + aim.y * channel.sensitivity};
}

// A remote connected since KPADInit has its camera going; one that connects later takes a
// read to start it. The first position reported after a connection is taken as it is, later
// ones followed.
void TakePointer(RemoteChannel& channel, const KPADVec2& aim, bool bConnecting) {
    if (!channel.dpdEnabled) {
        return;
    }
    if (channel.camera == Camera::Off) {
        channel.camera = Camera::Starting;
    } else if (channel.camera == Camera::Starting || bConnecting) {
        channel.camera = Camera::On;
        channel.pos = aim;
    } else {
        FollowPointer(channel, aim);
    }
}

KPADStatus FarewellSample() {
    KPADStatus status{};
    status.dev_type = WPAD_DEV_NOT_FOUND;
    return status;
}

KPADStatus RemoteSample(const HostRemote& remote, const RemoteChannel& channel) {
    KPADStatus status{};
    status.hold = remote.held;
    status.acc = kRestingAcceleration;
    status.pos = channel.pos;
    status.horizon = kLevel;
    status.dist = kRestingDistance;
    status.acc_vertical = kLevel;
    status.dev_type = WPAD_DEV_CORE;
    return status;
}

// The channel's record, or null (reported) before KPADInit or for a bad channel.
RemoteChannel* FindChannel(s32 channel, const char* caller) {
    RemoteLibrary* library = remote_library::Get();
    if (library == nullptr) {
        OSReport("%s: called before KPADInit\n", caller);
        return nullptr;
    }
    return remote_library::IsChannel(channel, caller) ? &library->channels[channel] : nullptr;
}

} // namespace

void KPADInit() {
    if (remote_library::Get() != nullptr || !remote_library::Start()) {
        return;
    }
    for (s32 channel = 0; channel < WPAD_MAX_CONTROLLERS; ++channel) {
        if (HostInputGetRemote(channel).connected) {
            remote_library::Get()->channels[channel].camera = Camera::On;
        }
    }
}

void KPADEnableDPD(s32 channel) {
    if (RemoteChannel* record = FindChannel(channel, "KPADEnableDPD")) {
        record->dpdEnabled = true;
    }
}

void KPADDisableDPD(s32 channel) {
    if (remote_library::Get() == nullptr) {
        remote_library::IsChannel(channel, "KPADDisableDPD");
        return;
    }
    if (RemoteChannel* record = FindChannel(channel, "KPADDisableDPD")) {
        record->dpdEnabled = false;
    }
}

void KPADEnableAimingMode(s32 channel) {
    FindChannel(channel, "KPADEnableAimingMode");
}

void KPADSetPosParam(s32 channel, f32 playRadius, f32 sensitivity) {
    RemoteChannel* record = FindChannel(channel, "KPADSetPosParam");
    if (record == nullptr) {
        return;
    }
    if (!(playRadius >= 0.0f && std::isfinite(playRadius)) ||
        !(sensitivity > 0.0f && sensitivity <= 1.0f)) {
        OSReport("KPADSetPosParam: play radius %g or sensitivity %g out of range\n",
                 static_cast<double>(playRadius), static_cast<double>(sensitivity));
        return;
    }
    record->playRadius = playRadius;
    record->sensitivity = sensitivity;
}

s32 KPADRead(s32 channel, KPADStatus samples[], u32 length) {
    remote_library::DeliverCallbacks();
    RemoteChannel* record = FindChannel(channel, "KPADRead");
    if (record == nullptr || samples == nullptr || length == 0) {
        return 0;
    }
    const HostRemote remote = HostInputGetRemote(channel);
    if (!remote.connected) {
        if (!record->reportedConnected) {
            return 0;
        }
        record->reportedConnected = false;
        record->camera = Camera::Off;
        samples[0] = FarewellSample();
        return 1;
    }
    TakePointer(*record, AimAt(remote), !record->reportedConnected);
    record->reportedConnected = true;
    samples[0] = RemoteSample(remote, *record);
    return 1;
}
