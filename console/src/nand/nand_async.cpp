// Asynchronous flash-memory calls: each queues its command block, and the main thread's
// next OSYieldThread runs the queued commands in order and calls their callbacks there,
// as the console's library completes a command while the program waits. The queue
// belongs to the main thread.
#include "nand/nand_poll.h"
#include "nand/nand_state.h"

#include <console/os.h>

#include <cstring>
#include <unistd.h>

namespace {

enum Command : u32 {
    kOpen,
    kClose,
    kRead,
    kWrite,
    kSafeOpen,
    kSafeClose,
    kSafeCancel,
};

// The arguments of one queued command.
struct Request {
    Command command;
    NANDFileInfo* info;
    void* buffer;
    u32 length;
    u8 access;
    const char* path;
};

constinit NANDCommandBlock* s_queue = nullptr;

bool IsMainThread() {
    return gettid() == getpid();
}

s32 Queue(NANDCommandBlock* block, NANDCallback callback, const Request& request) {
    if (block == nullptr) {
        return NAND_RESULT_INVALID;
    }
    if (block->queued) {
        return NAND_RESULT_BUSY;
    }
    const size_t pathLength = request.path != nullptr ? std::strlen(request.path) : 0;
    if (pathLength >= NAND_MAX_PATH) {
        return NAND_RESULT_INVALID;
    }
    std::memcpy(block->path, request.path != nullptr ? request.path : "", pathLength + 1);
    block->command = request.command;
    block->callback = callback;
    block->fileInfo = request.info;
    block->buffer = request.buffer;
    block->length = request.length;
    block->access = request.access;
    block->queued = true;
    block->next = nullptr;
    NANDCommandBlock** link = &s_queue;
    while (*link != nullptr) {
        link = &(*link)->next;
    }
    *link = block;
    return NAND_RESULT_OK;
}

s32 Run(NANDCommandBlock* block) {
    switch (block->command) {
    case kOpen:
        return NANDOpen(block->path, block->fileInfo, block->access);
    case kClose:
        return NANDClose(block->fileInfo);
    case kRead:
        return NANDRead(block->fileInfo, block->buffer, block->length);
    case kWrite:
        return NANDWrite(block->fileInfo, block->buffer, block->length);
    case kSafeOpen:
        return nand::SafeOpen(block->path, block->fileInfo, block->access, block->buffer,
                              block->length);
    case kSafeClose:
        return nand::SafeClose(block->fileInfo);
    case kSafeCancel:
        return nand::SafeCancel(block->fileInfo);
    default:
        return NAND_RESULT_INVALID;
    }
}

} // namespace

void NANDRunQueuedCommands() {
    if (s_queue == nullptr || !IsMainThread()) {
        return;
    }
    NANDCommandBlock* block = s_queue;
    s_queue = nullptr;
    while (block != nullptr) {
        NANDCommandBlock* next = block->next;
        block->next = nullptr;
        const s32 result = Run(block);
        block->queued = false;
        if (block->callback != nullptr) {
            block->callback(result, block);
        }
        block = next;
    }
}

void nand::DropQueuedCommands() {
    while (s_queue != nullptr) {
        NANDCommandBlock* block = s_queue;
        s_queue = block->next;
        block->next = nullptr;
        block->queued = false;
    }
}

s32 NANDOpenAsync(const char* path, NANDFileInfo* info, u8 access, NANDCallback callback,
                  NANDCommandBlock* block) {
    return Queue(block, callback, Request{kOpen, info, nullptr, 0, access, path});
}

s32 NANDCloseAsync(NANDFileInfo* info, NANDCallback callback, NANDCommandBlock* block) {
    return Queue(block, callback, Request{kClose, info, nullptr, 0, 0, nullptr});
}

s32 NANDReadAsync(NANDFileInfo* info, void* buffer, u32 length, NANDCallback callback,
                  NANDCommandBlock* block) {
    return Queue(block, callback, Request{kRead, info, buffer, length, 0, nullptr});
}

s32 NANDWriteAsync(NANDFileInfo* info, const void* buffer, u32 length, NANDCallback callback,
                   NANDCommandBlock* block) {
    return Queue(block, callback,
                 Request{kWrite, info, const_cast<void*>(buffer), length, 0, nullptr});
}

s32 NANDSimpleSafeOpenAsync(const char* path, NANDFileInfo* info, u8 access, void* copyBuffer,
                            u32 copyLength, NANDCallback callback, NANDCommandBlock* block) {
    return Queue(block, callback, Request{kSafeOpen, info, copyBuffer, copyLength, access, path});
}

s32 NANDSimpleSafeCloseAsync(NANDFileInfo* info, NANDCallback callback, NANDCommandBlock* block) {
    return Queue(block, callback, Request{kSafeClose, info, nullptr, 0, 0, nullptr});
}

s32 NANDSimpleSafeCancelAsync(NANDFileInfo* info, NANDCallback callback, NANDCommandBlock* block) {
    return Queue(block, callback, Request{kSafeCancel, info, nullptr, 0, 0, nullptr});
}
