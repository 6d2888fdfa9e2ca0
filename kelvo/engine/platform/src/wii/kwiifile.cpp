// Disc files read whole into the second arena, and the polled wait for that read.
#include <kelvo/platform/kfile.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>
#include <kelvo/platform/kplatform.h>

#include <console/mem.h>
#include <console/os.h>
#include <console/vi.h>

#include <cstring>

namespace {

kPlatformIOCallback s_callback = nullptr;

bool HandleMissing(const SysFileHandle* handle, const char* function) {
    if (handle == nullptr) {
        kLogFmt("%s: Invalid file handle (NULL)\n", function);
        return true;
    }
    return false;
}

// The log line of a drive error, or null for any other state.
const char* DriveErrorText(s32 status) {
    switch (status) {
    case DVD_STATE_RETRY:
        return "Retry error\n";
    case DVD_STATE_FATAL_ERROR:
        return "Fatal error\n";
    case DVD_STATE_NO_DISK:
        return "No disk\n";
    case DVD_STATE_WRONG_DISK:
        return "Wrong disk\n";
    default:
        return nullptr;
    }
}

// Reads the whole file into a buffer rounded up to 32 bytes; false (nothing kept)
// when the buffer cannot be had or the drive refuses or fails the read.
bool ReadWhole(SysFileHandle* handle, DVDFileInfo* record, const char* path) {
    const u32 length = record->length;
    const u32 rounded = (length + 31u) & ~31u;
    void* buffer = rounded >= length ? MEMAllocFromAllocator(&MyDemoAllocator2, rounded) : nullptr;
    if (buffer == nullptr) {
        kLogFmt("kPlatform_FileOpen: no memory for the %u bytes of %s\n", length, path);
        return false;
    }
    if (!DVDReadAsyncPrio(record, buffer, static_cast<s32>(rounded), 0, nullptr, 2)) {
        kLogFmt("kPlatform_FileOpen: the drive refused to read %s\n", path);
        MEMFreeToAllocator(&MyDemoAllocator2, buffer);
        return false;
    }
    kLogFmt("Reading %d - status %d\n", static_cast<int>(rounded),
            static_cast<int>(DVDGetCommandBlockStatus(&record->cb)));
    if (!kPlatformWii_WaitForRead(record)) {
        kLogFmt("kPlatform_FileOpen: the drive could not read %s\n", path);
        MEMFreeToAllocator(&MyDemoAllocator2, buffer);
        return false;
    }
    kLogFmt("Read done\n");
    handle->buffer = static_cast<u8*>(buffer);
    return true;
}

} // namespace

bool kPlatformWii_WaitForRead(DVDFileInfo* record) {
    for (;;) {
        const s32 status = DVDGetCommandBlockStatus(&record->cb);
        if (status == DVD_STATE_END) {
            return true;
        }
        if (status == DVD_STATE_CANCELED) {
            return false;
        }
        const char* error = DriveErrorText(status);
        if (error != nullptr) {
            kLogFmt("%s", error);
        }
        const u32 retrace = VIGetRetraceCount();
        if (s_callback != nullptr) {
            s_callback(error != nullptr);
        }
        // A read that ended in a fatal error leaves the drive idle: nothing will change.
        if (status == DVD_STATE_FATAL_ERROR && DVDGetDriveStatus() == DVD_STATE_END) {
            return false;
        }
        // A drive error may last as long as the disc needs: it is polled once a retrace,
        // unless the callback's frame waited for one already.
        if (error != nullptr && VIGetRetraceCount() == retrace) {
            VIWaitForRetrace();
        } else {
            OSYieldThread();
        }
    }
}

SysFileHandle* kPlatform_FileOpen(const char* path, K_IO_ACCESS access, K_IO_OPEN openMode) {
    if (path == nullptr || (access & K_IO_ACCESS_READ) == 0) {
        return nullptr;
    }
    DVDFileInfo record;
    const s32 entry = DVDConvertPathToEntrynum(path);
    if (entry == -1 || !DVDFastOpen(entry, &record)) {
        return nullptr;
    }
    auto* handle = static_cast<SysFileHandle*>(
        kPlatform_ReleaseAlloc(K_MEM_TAG_OBJECT, sizeof(SysFileHandle)));
    std::memset(handle, 0, sizeof(SysFileHandle));
    handle->hFile = record;
    handle->accessMode = access;
    handle->openMode = openMode;
    handle->bufferSize = record.length;
    handle->fileSize = record.length;
    if (record.length > 0 && !ReadWhole(handle, &record, path)) {
        DVDClose(&handle->hFile);
        kPlatform_ReleaseFree(handle);
        return nullptr;
    }
    return handle;
}

void kPlatform_FileClose(SysFileHandle* handle) {
    if (HandleMissing(handle, "kPlatform_FileClose")) {
        return;
    }
    DVDClose(&handle->hFile);
    if (handle->buffer != nullptr) {
        MEMFreeToAllocator(&MyDemoAllocator2, handle->buffer);
    }
    kPlatform_ReleaseFree(handle);
}

u32 kPlatform_FileRead(SysFileHandle* handle, void* destination, u32 count) {
    if (HandleMissing(handle, "kPlatform_FileRead") || destination == nullptr || count == 0 ||
        handle->bufferPos >= handle->bufferSize) {
        return 0;
    }
    const u32 left = handle->bufferSize - handle->bufferPos;
    const u32 n = count < left ? count : left;
    std::memcpy(destination, handle->buffer + handle->bufferPos, n);
    handle->bufferPos += n;
    return n;
}

u32 kPlatform_FileWrite(SysFileHandle*, const void*, u32) {
    return 0;
}

u32 kPlatform_FileSeek(SysFileHandle* handle, s32 offset, K_IO_SEEK origin) {
    if (HandleMissing(handle, "kPlatform_FileSeek")) {
        return 0;
    }
    const u32 delta = static_cast<u32>(offset);
    switch (origin) {
    case K_IO_SEEK_SET:
        handle->bufferPos = delta;
        break;
    case K_IO_SEEK_CUR:
        handle->bufferPos += delta;
        break;
    case K_IO_SEEK_END:
        handle->bufferPos = handle->fileSize + delta;
        break;
    }
    return handle->bufferPos;
}

u32 kPlatform_FileTell(SysFileHandle* handle) {
    return HandleMissing(handle, "kPlatform_FileTell") ? 0 : handle->bufferPos;
}

u32 kPlatform_FileLength(SysFileHandle* handle) {
    return HandleMissing(handle, "kPlatform_FileLength") ? 0 : handle->fileSize;
}

K_IO_ACCESS kPlatform_FileGetAccessMode(SysFileHandle* handle) {
    return HandleMissing(handle, "kPlatform_FileGetAccessMode") ? K_IO_ACCESS{}
                                                                : handle->accessMode;
}

void kPlatformWii_Temp_SetIOCallback(kPlatformIOCallback callback) {
    s_callback = callback;
}
