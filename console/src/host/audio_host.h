// The host's sound output, started by AIInit. In a window, an SDL audio device at
// 32,000 Hz, 16-bit stereo, pulls whole DMA blocks on SDL's audio thread. Headless, the
// retrace's pump plays the blocks due by the virtual clock (a running count of 1000/3
// blocks a second: a PAL field is 6 2/3 blocks), so the sound keeps exact pace with the
// picture; a window without a sound device pumps by real time. Either way, with
// --audio-out, every frame played is captured to a WAV file.
#pragma once

#include <console/types.h>

void HostAudioStart();
bool HostAudioDeviceOpen();
// Without a sound device only (else it does nothing); called by VI after each field, main
// thread.
void HostAudioPumpForClock();
// Creates the --audio-out file before the game starts; false (reported) when it cannot.
bool HostAudioCaptureBegin();
// True once the --audio-out file could not be created or written (reported).
bool HostAudioCaptureFailed();
// Appends stereo frames (interleaved, host order) to the --audio-out file, opening it
// first, or another one when the option changed. A file that cannot be written is
// reported once and skipped. One thread at a time: the audio thread or the pump.
void HostAudioCapture(const s16* frames, u32 frameCount);
