// Platform start-up, video mode, the per-frame steps and the clocks. There is one
// platform instance: kPlatform_Init brings video, graphics and both heaps up once
// (normally from the first tracked allocation, before main); later calls do nothing.
// Main thread only.
#pragma once

#include <console/gx.h>
#include <console/mem.h>
#include <console/types.h>

void kPlatform_Init();
bool kPlatform_IsInitialised();

// Per-frame hook asked first by the main loop: 1 keeps running, 0 ends the loop.
int kPlatform_Process();

// Writes at most size - 1 characters and a terminating zero; returns the number of
// characters written (0 for size 0).
int kPlatform_snprintf(char* buffer, int size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Seconds since the first call (which returns 0.0).
float kPlatform_GetSeconds();
// Milliseconds of the console clock, truncated to 32 bits.
u32 kPlatform_TickCount();

u32 MyDemoGetWidth();
u32 MyDemoGetHeight();
int MyDemoGetFormat();
void MyDemoBeforeRender();
void MyDemoDoneRender();
void MyDemoReInit(GXRenderModeObj* mode);
// Selects the given mode, or with null the mode for the console's TV format.
void MyDemoSetRenderMode(const GXRenderModeObj* mode);

extern GXRenderModeObj* s_curMode;
extern MEMAllocator MyDemoAllocator1;
extern MEMAllocator MyDemoAllocator2;

// The external frame buffer drawn into next, and the two buffers it alternates between.
void* MyDemoGetCurrentBuffer();
void* MyDemoGetFrameBuffer(int index);
