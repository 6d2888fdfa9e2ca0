// Files of the flash memory: create, delete, open, read, write and close, each a host
// file under the root. Every change of the flash memory is flushed to the host's disk
// before the call returns, and is bracketed by power-cut points.
#include "nand/nand_state.h"

#include <console/os.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nand {
namespace {

bool IsAccessMode(u8 access) {
    return access == NAND_ACCESS_READ || access == NAND_ACCESS_WRITE || access == NAND_ACCESS_RW;
}

int HostOpenFlags(u8 access) {
    switch (access) {
    case NAND_ACCESS_READ:
        return O_RDONLY;
    case NAND_ACCESS_WRITE:
        return O_WRONLY;
    default:
        return O_RDWR;
    }
}

bool ParentIsDirectory(const char* hostPath) {
    char directory[kHostPathMax];
    std::memcpy(directory, hostPath, std::strlen(hostPath) + 1);
    char* slash = std::strrchr(directory, '/');
    if (slash == nullptr) {
        return false;
    }
    *slash = '\0';
    struct stat info;
    return stat(directory, &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsOpenAnywhere(const char* hostPath) {
    for (const OpenFile& file : TheState().files) {
        if (file.serial != 0 && std::strcmp(file.hostPath, hostPath) == 0) {
            return true;
        }
    }
    return false;
}

// Reads up to length bytes, fewer only at the end of the file; -1 on a host error.
ssize_t ReadFully(int descriptor, u8* buffer, u32 length) {
    u32 done = 0;
    while (done < length) {
        const ssize_t got = read(descriptor, buffer + done, length - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<u32>(got);
    }
    return done;
}

bool WriteFully(int descriptor, const u8* buffer, u32 length) {
    u32 done = 0;
    while (done < length) {
        const ssize_t put = write(descriptor, buffer + done, length - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<u32>(put);
    }
    return true;
}

// The size the file will have once length bytes are written at its position.
u64 SizeAfterWrite(int descriptor, u32 length) {
    struct stat info;
    const off_t position = lseek(descriptor, 0, SEEK_CUR);
    const u64 size = fstat(descriptor, &info) == 0 ? static_cast<u64>(info.st_size) : 0;
    const u64 end = static_cast<u64>(position < 0 ? 0 : position) + length;
    return end > size ? end : size;
}

} // namespace

bool IsPlainFile(const struct stat& status, const char* consolePath) {
    if (S_ISLNK(status.st_mode)) {
        OSReport("NAND: '%s' is a symbolic link on the host; refused\n", consolePath);
    }
    return S_ISREG(status.st_mode);
}

void FlushDirectoryOf(const char* hostPath) {
    char directory[kHostPathMax];
    std::memcpy(directory, hostPath, std::strlen(hostPath) + 1);
    char* slash = std::strrchr(directory, '/');
    if (slash != nullptr) {
        *slash = '\0';
    }
    const int descriptor = open(directory, O_RDONLY | O_DIRECTORY);
    if (descriptor >= 0) {
        fsync(descriptor);
        close(descriptor);
    }
}

s32 ResultOfErrno() {
    switch (errno) {
    case EACCES:
    case EPERM:
        return NAND_RESULT_ACCESS;
    case ENOENT:
        return NAND_RESULT_NOEXISTS;
    case EEXIST:
        return NAND_RESULT_EXISTS;
    case ENOTEMPTY:
        return NAND_RESULT_NOTEMPTY;
    case ENOSPC:
        return NAND_RESULT_MAXBLOCKS;
    default:
        return NAND_RESULT_UNKNOWN;
    }
}

OpenFile* FindOpen(const NANDFileInfo* info, const char* call) {
    if (info != nullptr && info->serial != 0 && info->slot < NAND_MAX_OPEN_FILES) {
        OpenFile* file = &TheState().files[info->slot];
        if (file->serial == info->serial) {
            return file;
        }
    }
    OSReport("%s: the file is not open\n", call);
    return nullptr;
}

OpenFile* FreeSlot() {
    for (OpenFile& file : TheState().files) {
        if (file.serial == 0) {
            return &file;
        }
    }
    return nullptr;
}

void Publish(OpenFile* file, NANDFileInfo* info) {
    State& state = TheState();
    state.nextSerial = state.nextSerial == 0xFFFFFFFFu ? 1 : state.nextSerial + 1;
    file->serial = state.nextSerial;
    info->slot = static_cast<u32>(file - state.files);
    info->serial = file->serial;
}

void Release(OpenFile* file) {
    if (file->serial == 0) {
        return;
    }
    close(file->descriptor);
    if (file->bSafe) {
        unlink(file->workPath);
    }
    file->serial = 0;
}

} // namespace nand

s32 NANDCreate(const char* path, u8 permission, u8) {
    const nand::Fault fault = nand::TakeFault(FaultTarget::NandCreate);
    if (fault.hit) {
        return nand::ResultOf(fault.kind);
    }
    char consolePath[NAND_MAX_PATH];
    char hostPath[nand::kHostPathMax];
    s32 result = nand::Resolve(path, consolePath, hostPath);
    struct stat info;
    if (result == NAND_RESULT_OK && !nand::ParentIsDirectory(hostPath)) {
        result = NAND_RESULT_NOEXISTS;
    } else if (result == NAND_RESULT_OK && lstat(hostPath, &info) == 0) {
        result = NAND_RESULT_EXISTS;
    } else if (result == NAND_RESULT_OK) {
        result = nand::CheckNewInode();
    }
    if (result != NAND_RESULT_OK) {
        return result;
    }
    nand::PowerStep("before creating", consolePath);
    const int descriptor = open(hostPath, O_CREAT | O_EXCL | O_WRONLY, 0600);
    if (descriptor < 0) {
        return nand::ResultOfErrno();
    }
    fchmod(descriptor, nand::HostMode(permission));
    fsync(descriptor);
    close(descriptor);
    nand::FlushDirectoryOf(hostPath);
    nand::PowerStep("after creating", consolePath);
    return NAND_RESULT_OK;
}

s32 NANDDelete(const char* path) {
    const nand::Fault fault = nand::TakeFault(FaultTarget::NandDelete);
    if (fault.hit) {
        return nand::ResultOf(fault.kind);
    }
    char consolePath[NAND_MAX_PATH];
    char hostPath[nand::kHostPathMax];
    const s32 result = nand::Resolve(path, consolePath, hostPath);
    struct stat info;
    if (result != NAND_RESULT_OK) {
        return result;
    }
    if (std::strcmp(consolePath, "/") == 0) {
        return NAND_RESULT_ACCESS;
    }
    if (lstat(hostPath, &info) != 0) {
        return NAND_RESULT_NOEXISTS;
    }
    if (nand::IsOpenAnywhere(hostPath)) {
        return NAND_RESULT_OPENFD;
    }
    nand::PowerStep("before deleting", consolePath);
    if ((S_ISDIR(info.st_mode) ? rmdir(hostPath) : unlink(hostPath)) != 0) {
        return nand::ResultOfErrno();
    }
    nand::FlushDirectoryOf(hostPath);
    nand::PowerStep("after deleting", consolePath);
    return NAND_RESULT_OK;
}

s32 NANDMove(const char* path, const char* directory) {
    char consolePath[NAND_MAX_PATH];
    char hostPath[nand::kHostPathMax];
    char consoleDirectory[NAND_MAX_PATH];
    char hostDirectory[nand::kHostPathMax];
    s32 result = nand::Resolve(path, consolePath, hostPath);
    if (result == NAND_RESULT_OK) {
        result = nand::Resolve(directory, consoleDirectory, hostDirectory);
    }
    if (result != NAND_RESULT_OK) {
        return result;
    }
    const char* name = std::strrchr(hostPath, '/') + 1;
    char target[nand::kHostPathMax];
    const int written = std::snprintf(target, sizeof(target), "%s/%s", hostDirectory, name);
    struct stat source;
    struct stat existing;
    if (written <= 0 || static_cast<size_t>(written) >= sizeof(target)) {
        return NAND_RESULT_INVALID;
    }
    if (lstat(hostPath, &source) != 0 || !S_ISREG(source.st_mode) ||
        !nand::ParentIsDirectory(target)) {
        return NAND_RESULT_NOEXISTS;
    }
    if (lstat(target, &existing) == 0) {
        return NAND_RESULT_EXISTS;
    }
    if (nand::IsOpenAnywhere(hostPath)) {
        return NAND_RESULT_OPENFD;
    }
    result = nand::CheckNewInode();
    if (result == NAND_RESULT_OK) {
        result = nand::CheckFileSize(target, static_cast<u64>(source.st_size));
    }
    if (result != NAND_RESULT_OK) {
        return result;
    }
    nand::PowerStep("before moving", consolePath);
    if (rename(hostPath, target) != 0) {
        return nand::ResultOfErrno();
    }
    nand::FlushDirectoryOf(target);
    nand::FlushDirectoryOf(hostPath);
    nand::PowerStep("after moving", consolePath);
    return NAND_RESULT_OK;
}

s32 NANDOpen(const char* path, NANDFileInfo* info, u8 access) {
    const nand::Fault fault = nand::TakeFault(FaultTarget::NandOpen);
    if (fault.hit) {
        return nand::ResultOf(fault.kind);
    }
    if (info == nullptr || !nand::IsAccessMode(access)) {
        return NAND_RESULT_INVALID;
    }
    char consolePath[NAND_MAX_PATH];
    nand::OpenFile opened{};
    const s32 result = nand::Resolve(path, consolePath, opened.hostPath);
    struct stat status;
    if (result != NAND_RESULT_OK) {
        return result;
    }
    if (lstat(opened.hostPath, &status) != 0) {
        return NAND_RESULT_NOEXISTS;
    }
    if (!nand::IsPlainFile(status, consolePath) || !nand::OwnerMay(status.st_mode, access)) {
        return NAND_RESULT_ACCESS;
    }
    nand::OpenFile* file = nand::FreeSlot();
    if (file == nullptr) {
        return NAND_RESULT_MAXFD;
    }
    opened.descriptor = open(opened.hostPath, nand::HostOpenFlags(access));
    if (opened.descriptor < 0) {
        return nand::ResultOfErrno();
    }
    opened.access = access;
    *file = opened;
    nand::Publish(file, info);
    return NAND_RESULT_OK;
}

s32 NANDClose(NANDFileInfo* info) {
    const nand::Fault fault = nand::TakeFault(FaultTarget::NandClose);
    nand::OpenFile* file = nand::FindOpen(info, "NANDClose");
    if (file == nullptr || file->bSafe) {
        return NAND_RESULT_INVALID;
    }
    if ((file->access & NAND_ACCESS_WRITE) != 0) {
        fsync(file->descriptor);
    }
    nand::Release(file);
    info->serial = 0;
    return fault.hit ? nand::ResultOf(fault.kind) : NAND_RESULT_OK;
}

s32 NANDRead(NANDFileInfo* info, void* buffer, u32 length) {
    const nand::Fault fault = nand::TakeFault(FaultTarget::NandRead);
    if (fault.hit && fault.kind != FaultKind::Short) {
        return nand::ResultOf(fault.kind);
    }
    nand::OpenFile* file = nand::FindOpen(info, "NANDRead");
    if (file == nullptr || (buffer == nullptr && length > 0) || length > 0x7FFFFFFFu) {
        return NAND_RESULT_INVALID;
    }
    if ((file->access & NAND_ACCESS_READ) == 0) {
        return NAND_RESULT_ACCESS;
    }
    const u32 transfer = fault.hit ? length / 2 : length;
    const ssize_t got = nand::ReadFully(file->descriptor, static_cast<u8*>(buffer), transfer);
    return got < 0 ? NAND_RESULT_UNKNOWN : static_cast<s32>(got);
}

s32 NANDWrite(NANDFileInfo* info, const void* buffer, u32 length) {
    const nand::Fault fault = nand::TakeFault(FaultTarget::NandWrite);
    if (fault.hit && fault.kind != FaultKind::Short) {
        return nand::ResultOf(fault.kind);
    }
    nand::OpenFile* file = nand::FindOpen(info, "NANDWrite");
    if (file == nullptr || (buffer == nullptr && length > 0) || length > 0x7FFFFFFFu) {
        return NAND_RESULT_INVALID;
    }
    if ((file->access & NAND_ACCESS_WRITE) == 0) {
        return NAND_RESULT_ACCESS;
    }
    const u32 transfer = fault.hit ? length / 2 : length;
    const s32 space =
        nand::CheckFileSize(file->hostPath, nand::SizeAfterWrite(file->descriptor, transfer));
    if (space != NAND_RESULT_OK) {
        return space;
    }
    // In two halves, so that a power cut can land inside the write.
    const u8* bytes = static_cast<const u8*>(buffer);
    const u32 half = transfer / 2;
    nand::PowerStep("before writing", file->hostPath);
    if (!nand::WriteFully(file->descriptor, bytes, half)) {
        return nand::ResultOfErrno();
    }
    nand::PowerStep("in the middle of writing", file->hostPath);
    if (!nand::WriteFully(file->descriptor, bytes + half, transfer - half)) {
        return nand::ResultOfErrno();
    }
    nand::PowerStep("after writing", file->hostPath);
    return static_cast<s32>(transfer);
}

s32 NANDGetLength(NANDFileInfo* info, u32* length) {
    nand::OpenFile* file = nand::FindOpen(info, "NANDGetLength");
    struct stat status;
    if (file == nullptr || length == nullptr || fstat(file->descriptor, &status) != 0) {
        return NAND_RESULT_INVALID;
    }
    *length = static_cast<u32>(status.st_size);
    return NAND_RESULT_OK;
}

void NANDResetForTest() {
    nand::DropQueuedCommands();
    nand::State& state = nand::TheState();
    for (nand::OpenFile& file : state.files) {
        nand::Release(&file);
    }
    state.bRootReady = false;
    state.bCapacitySet = false;
    nand::ClearFaults();
}
