// What the flash file system's source files share: the host directory, the current
// directory, the open files, the capacity, and the helpers that resolve paths, count
// space, inject faults and cut the power. Main thread only; fixed storage.
#pragma once

#include <console/fault.h>
#include <console/host.h>
#include <console/nand.h>

#include <sys/stat.h>

namespace nand {

constexpr u32 kHostPathMax = kHostPathCapacity + NAND_MAX_PATH + 32;
// The console's own directories: the title's home and the working copies of safe files,
// which the console empties at start-up.
constexpr const char* kHomeDir = "/title/puzzles/data";
constexpr const char* kWorkDir = "/tmp";

struct OpenFile {
    u32 serial; // 0: the slot is free
    int descriptor;
    u8 access;
    bool bSafe;
    char hostPath[kHostPathMax]; // the file
    char workPath[kHostPathMax]; // its working copy, for a safe file
};

struct State {
    char root[kHostPathCapacity];
    bool bRootReady;
    char currentDir[NAND_MAX_PATH];
    OpenFile files[NAND_MAX_OPEN_FILES];
    u32 nextSerial;
    u32 nextWorkCopy;
    NANDCapacity capacity;
    bool bCapacitySet;
};

State& TheState();

// The root prepared for use (created, working copies of an earlier run removed); false,
// reported, when there is none.
bool ReadyRoot();
// The absolute console path of a path and its host path: NAND_RESULT_INVALID for a
// malformed path, NAND_RESULT_FATAL_ERROR without a root.
s32 Resolve(const char* path, char* consolePath, char* hostPath);
// Host mode bits of console permission bits, and back.
unsigned HostMode(u8 permission);
bool OwnerMay(unsigned hostMode, u8 access);

// Space: NAND_RESULT_MAXBLOCKS when a file at hostPath growing (or shrinking) to newSize
// would not fit; NAND_RESULT_MAXFILES when one more inode would not.
s32 CheckFileSize(const char* hostPath, u64 newSize);
s32 CheckNewInode();
u32 BlocksOf(u64 size);

// The injected fault that meets this call of the target, if any.
struct Fault {
    bool hit;
    FaultKind kind;
};
Fault TakeFault(FaultTarget target);
s32 ResultOf(FaultKind kind);
void ClearFaults();
// A point between two changes of the flash memory: an injected power cut ends the
// process here.
void PowerStep(const char* step, const char* path);

// A regular file; a symbolic link (which could lead out of the flash memory) is reported
// and refused.
bool IsPlainFile(const struct stat& status, const char* consolePath);
// Flushes the directory holding a host path, so that a new or removed name lasts.
void FlushDirectoryOf(const char* hostPath);
// The result code of the host's errno.
s32 ResultOfErrno();

// The open file of a file record, or null (reported) for one that is not open.
OpenFile* FindOpen(const NANDFileInfo* info, const char* call);
// A free slot, or null when NAND_MAX_OPEN_FILES are open.
OpenFile* FreeSlot();
void Publish(OpenFile* file, NANDFileInfo* info);
void Release(OpenFile* file);

s32 SafeOpen(const char* path, NANDFileInfo* info, u8 access, void* copyBuffer, u32 copyLength);
s32 SafeClose(NANDFileInfo* info);
s32 SafeCancel(NANDFileInfo* info);

// Drops queued commands without their callbacks.
void DropQueuedCommands();

} // namespace nand
