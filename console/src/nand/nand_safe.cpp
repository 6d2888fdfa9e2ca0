// Safe files: an open makes a working copy of the file in the console's directory of
// working copies; reads and writes go to the copy; the close flushes it and renames it
// over the file (one atomic step, the directory flushed after it), the cancel deletes it.
// A power cut at any point leaves either the old file or the new one, and the copy left
// behind is removed at the next start.
#include "nand/nand_state.h"

#include <console/os.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nand {
namespace {

constexpr u32 kCopyAlignment = 32;

bool IsCopyBuffer(const void* buffer, u32 length) {
    return buffer != nullptr && length != 0 && length % kCopyAlignment == 0 &&
           reinterpret_cast<std::uintptr_t>(buffer) % kCopyAlignment == 0;
}

// A name in the working folder that nothing holds yet.
bool NextWorkPath(char* workPath) {
    State& state = TheState();
    struct stat taken;
    for (;;) {
        const int written = std::snprintf(workPath, kHostPathMax, "%s%s/safe%u", state.root,
                                          kWorkDir, state.nextWorkCopy++);
        if (written <= 0 || static_cast<size_t>(written) >= kHostPathMax) {
            return false;
        }
        if (lstat(workPath, &taken) != 0) {
            return true;
        }
    }
}

// Copies the file into the working copy through the caller's buffer.
s32 CopyInto(int from, int to, u8* buffer, u32 length) {
    for (;;) {
        const ssize_t got = read(from, buffer, length);
        if (got < 0) {
            return ResultOfErrno();
        }
        if (got == 0) {
            return NAND_RESULT_OK;
        }
        if (write(to, buffer, static_cast<size_t>(got)) != got) {
            return ResultOfErrno();
        }
    }
}

// The working copy holds the file's bytes, or nothing when it is opened for writing only.
s32 MakeWorkingCopy(OpenFile* opened, const struct stat& original, void* copyBuffer,
                    u32 copyLength) {
    const int from = open(opened->hostPath, O_RDONLY);
    if (from < 0) {
        return ResultOfErrno();
    }
    opened->descriptor = open(opened->workPath, O_CREAT | O_EXCL | O_RDWR, 0600);
    if (opened->descriptor < 0) {
        const s32 result = ResultOfErrno();
        close(from);
        return result;
    }
    s32 result = opened->access == NAND_ACCESS_WRITE
                     ? NAND_RESULT_OK
                     : CopyInto(from, opened->descriptor, static_cast<u8*>(copyBuffer), copyLength);
    close(from);
    if (result == NAND_RESULT_OK) {
        fchmod(opened->descriptor, original.st_mode & 0777);
        result = lseek(opened->descriptor, 0, SEEK_SET) == 0 ? NAND_RESULT_OK : NAND_RESULT_UNKNOWN;
    }
    if (result != NAND_RESULT_OK) {
        close(opened->descriptor);
        unlink(opened->workPath);
    }
    return result;
}

// Ends the safe file without committing it.
void Discard(OpenFile* file, NANDFileInfo* info) {
    Release(file);
    info->serial = 0;
}

} // namespace

s32 SafeOpen(const char* path, NANDFileInfo* info, u8 access, void* copyBuffer, u32 copyLength) {
    const Fault fault = TakeFault(FaultTarget::NandSafeOpen);
    if (fault.hit) {
        return ResultOf(fault.kind);
    }
    if (info == nullptr || access < NAND_ACCESS_READ || access > NAND_ACCESS_RW ||
        !IsCopyBuffer(copyBuffer, copyLength)) {
        return NAND_RESULT_INVALID;
    }
    char consolePath[NAND_MAX_PATH];
    OpenFile opened{};
    s32 result = Resolve(path, consolePath, opened.hostPath);
    struct stat original;
    if (result != NAND_RESULT_OK) {
        return result;
    }
    if (lstat(opened.hostPath, &original) != 0) {
        return NAND_RESULT_NOEXISTS;
    }
    if (!IsPlainFile(original, consolePath) || !OwnerMay(original.st_mode, access)) {
        return NAND_RESULT_ACCESS;
    }
    OpenFile* file = FreeSlot();
    if (file == nullptr) {
        return NAND_RESULT_MAXFD;
    }
    if (!NextWorkPath(opened.workPath)) {
        return NAND_RESULT_INVALID;
    }
    PowerStep("before making a working copy of", consolePath);
    opened.access = access;
    result = MakeWorkingCopy(&opened, original, copyBuffer, copyLength);
    if (result != NAND_RESULT_OK) {
        return result;
    }
    PowerStep("after making a working copy of", consolePath);
    opened.bSafe = true;
    *file = opened;
    Publish(file, info);
    return NAND_RESULT_OK;
}

s32 SafeClose(NANDFileInfo* info) {
    const Fault fault = TakeFault(FaultTarget::NandSafeClose);
    OpenFile* file = FindOpen(info, "NANDSimpleSafeClose");
    if (file == nullptr || !file->bSafe) {
        return NAND_RESULT_INVALID;
    }
    if (fault.hit) {
        Discard(file, info);
        return ResultOf(fault.kind);
    }
    PowerStep("before flushing the working copy of", file->hostPath);
    if (fsync(file->descriptor) != 0) {
        Discard(file, info);
        return NAND_RESULT_UNKNOWN;
    }
    close(file->descriptor);
    PowerStep("before committing the working copy of", file->hostPath);
    if (rename(file->workPath, file->hostPath) != 0) {
        const s32 result = ResultOfErrno();
        unlink(file->workPath);
        file->serial = 0;
        info->serial = 0;
        return result;
    }
    PowerStep("after renaming the working copy over", file->hostPath);
    FlushDirectoryOf(file->hostPath);
    PowerStep("after committing", file->hostPath);
    file->serial = 0;
    info->serial = 0;
    return NAND_RESULT_OK;
}

s32 SafeCancel(NANDFileInfo* info) {
    OpenFile* file = FindOpen(info, "NANDSimpleSafeCancel");
    if (file == nullptr || !file->bSafe) {
        return NAND_RESULT_INVALID;
    }
    Discard(file, info);
    return NAND_RESULT_OK;
}

} // namespace nand
