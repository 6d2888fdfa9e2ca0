// Disc files, read whole: kPlatform_FileOpen reads the entire file into a buffer from
// the second arena (MyDemoAllocator2) with one disc read, waiting out drive errors and
// reporting them to the one disc-wait callback; reads, seeks and tells then work on
// that copy. The handle is the caller's until kPlatform_FileClose. A missing file, an
// open without read access or a buffer that cannot be had gives null. Main thread only.
#pragma once

#include <console/dvd.h>
#include <console/types.h>

// Fixed underlying types: callers may pass any value, and an unknown one is harmless.
enum K_IO_ACCESS : int {
    K_IO_ACCESS_READ = 1,
    K_IO_ACCESS_WRITE = 2,
    K_IO_ACCESS_READWRITE = 3,
};

enum K_IO_OPEN : int {
    K_IO_OPEN_DEFAULT = 0,
    K_IO_OPEN_CREATE_NEW = 1,
    K_IO_OPEN_CREATE_ALWAYS = 2,
    K_IO_OPEN_EXISTING = 3,
    K_IO_OPEN_ALWAYS = 4,
};

enum K_IO_SEEK : int {
    K_IO_SEEK_SET = 0,
    K_IO_SEEK_CUR = 1,
    K_IO_SEEK_END = 2,
};

struct SysFileHandle {
    DVDFileInfo hFile;
    K_IO_ACCESS accessMode;
    K_IO_OPEN openMode; // kept, not used
    u32 bufferSize;
    u32 bufferPos; // may lie beyond the end after a seek: reads there give 0
    u8* buffer;    // null for an empty file
    u32 fileSize;
};

// Called on each poll of a waiting disc read: true while the drive reports retry,
// fatal error, no disc or wrong disc, false otherwise.
using kPlatformIOCallback = void (*)(bool bError);

SysFileHandle* kPlatform_FileOpen(const char* path, K_IO_ACCESS access, K_IO_OPEN openMode);
void kPlatform_FileClose(SysFileHandle* handle);
// Bytes copied: what is left from the position, at most count; 0 past the end.
u32 kPlatform_FileRead(SysFileHandle* handle, void* destination, u32 count);
// The disc cannot be written: always 0.
u32 kPlatform_FileWrite(SysFileHandle* handle, const void* source, u32 count);
// The new position, not clamped; an unknown origin keeps the position.
u32 kPlatform_FileSeek(SysFileHandle* handle, s32 offset, K_IO_SEEK origin);
u32 kPlatform_FileTell(SysFileHandle* handle);
u32 kPlatform_FileLength(SysFileHandle* handle);
K_IO_ACCESS kPlatform_FileGetAccessMode(SysFileHandle* handle);

// Polls a disc read started without a callback until it ends, yielding between polls: a
// poll that finds the drive in an error (retry, fatal error, no disc, wrong disc) is
// logged, and each poll before the end is told to the disc-wait callback. While the drive is
// in an error the polls come once a retrace (the callback's frame, or a wait for the next
// retrace), however long the error lasts. True when the read completed; false when it was
// cancelled or ended in a fatal error.
bool kPlatformWii_WaitForRead(DVDFileInfo* file);

// Installs the disc-wait callback; null removes it.
void kPlatformWii_Temp_SetIOCallback(kPlatformIOCallback callback);
