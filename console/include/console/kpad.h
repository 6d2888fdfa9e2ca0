// Remote reader: one status sample per read for each connected remote, with its held
// buttons, pointer and motion. A remote that drops gives one last sample with the
// device type WPAD_DEV_NOT_FOUND and nothing held; after that, and on a channel that
// never had a remote, a read delivers no sample. The pointer comes from the remote's
// camera: while it is off, and at the read at which a remote connects after KPADInit (its
// camera starting), the pointer stays where it was last reported. Main thread only; calls
// before KPADInit, or with a bad channel or buffer, deliver nothing.
#pragma once

#include <console/types.h>
#include <console/wpad.h>

struct KPADVec2 {
    f32 x;
    f32 y;
};

struct KPADVec3 {
    f32 x;
    f32 y;
    f32 z;
};

struct KPADStatus {
    u32 hold;              // WPAD_BUTTON_* bits held
    KPADVec3 acc;          // acceleration in g
    KPADVec2 pos;          // pointer, -1.35 to 1.35 across the picture, -1.0 to 0.6 down it
    KPADVec2 horizon;      // the remote's roll as a unit vector
    f32 dist;              // metres from the sensor bar
    KPADVec2 acc_vertical; // the remote's pitch as a unit vector
    u8 dev_type;           // WPAD_DEV_*
};

// Takes the library's memory through the registered allocator; later calls do nothing.
void KPADInit();
// Turns the pointer camera on; until then a remote's pointer stays where it was.
void KPADEnableDPD(s32 channel);
// Turns the pointer camera off: no pointer moves are reported until KPADEnableDPD. Every
// camera is off before KPADInit, so a call then is accepted and changes nothing.
void KPADDisableDPD(s32 channel);
// Pointer positions are always given in aiming coordinates; accepted for the program.
void KPADEnableAimingMode(s32 channel);
// A pointer move within playRadius of the last reported position is not reported; a
// longer one moves the reported position by that fraction (sensitivity) of the way.
void KPADSetPosParam(s32 channel, f32 playRadius, f32 sensitivity);
// Delivers pending library callbacks, then up to length samples (one per frame here)
// into samples; returns the number delivered.
s32 KPADRead(s32 channel, KPADStatus samples[], u32 length);
