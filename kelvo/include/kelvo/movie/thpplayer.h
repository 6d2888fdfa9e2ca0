// The THP movie player: one movie at a time, read from the disc frame by frame or (opened
// onMemory) read whole into the work memory at the prepare, decoded and paced by threads and
// two callbacks (the retrace paces the pictures, the audio DMA mixes the sound into the
// console's output) over one file-scope player record. The main thread calls the operations
// below and draws the current frame. A missing or bad file fails the open or the prepare; a
// read or decode error, or a frame outside the movie, during play turns the state to
// THP_STATE_ERROR, and every thread then waits to be cancelled by THPPlayerStop.
#pragma once

#include <kelvo/movie/thpfile.h>

#include <console/gx.h>

enum : u8 {
    THP_STATE_STOP = 0,
    THP_STATE_PREPARE = 1,
    THP_STATE_PLAY = 2,
    THP_STATE_PLAYED = 3,
    THP_STATE_PAUSE = 4,
    THP_STATE_ERROR = 5,
};

// False, logged, while the player is initialised already: each init is quit before the next.
bool THPPlayerInit(long audioSystem);
void THPPlayerQuit();
bool THPPlayerOpen(const char* fileName, int onMemory);
bool THPPlayerClose();
unsigned int THPPlayerCalcNeedMemory();
bool THPPlayerSetBuffer(unsigned char* buffer);
bool THPPlayerPrepare(long frameNum, long playFlag, long audioTrack);
bool THPPlayerPlay();
void THPPlayerStop();
bool THPPlayerPause();
bool THPPlayerGetVideoInfo(THPVideoInfo* videoInfo);
bool THPPlayerGetAudioInfo(THPAudioInfo* audioInfo);
u8 THPPlayerGetState();
long THPPlayerDrawCurrentFrame(const GXRenderModeObj* mode, unsigned long x, unsigned long y,
                               unsigned long polygonW, unsigned long polygonH);
void THPPlayerDrawDone();

// The gain applied to movie sound at volume i (0 to 127): 32768 x (i / 127)^2.
u16 THPPlayerVolumeGain(int volume);
