// The disc drive: a list of commands in flight, served by priority on the drive's own
// thread (or, on the virtual clock, at the polls), and completions handed over at the
// caller's polls.
#include <console/dvd.h>
#include <console/fault.h>
#include <console/host.h>
#include <console/os.h>

#include "dvd/disc_directory.h"

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <new>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where a command is; DVDCommandBlock::phase.
enum : s32 {
    kPhaseIdle = 0,
    kPhaseQueued,
    kPhaseHeld, // in an injected drive error, released by polls
    kPhaseRunning,
    kPhaseFinished, // done, waiting to be handed to its caller
};

constexpr u32 kTransferChunk = 512 * 1024;

constexpr s32 kMaxParkedReads = 16; // one per console thread at most

struct Drive {
    std::mutex lock;
    std::condition_variable changed;
    DVDCommandBlock* commands = nullptr; // in request order
    u32 nextOrder = 0;
    u32 nextFinishOrder = 0;
    bool workerStarted = false;
    // Blocking reads of console threads that wait, away from the run token, for other
    // threads' polls to release the drive from an error; one message wakes each.
    OSMessageQueue released;
    OSMessage releasedMessages[kMaxParkedReads];
    s32 parkedReads = 0;

    Drive() { OSInitMessageQueue(&released, releasedMessages, kMaxParkedReads); }
};

// Never destroyed: the worker still waits on it at exit.
Drive& TheDrive() {
    alignas(Drive) static unsigned char storage[sizeof(Drive)];
    static Drive* drive = new (storage) Drive();
    return *drive;
}

using Lock = std::unique_lock<std::mutex>;

bool IsMainThread() {
    return gettid() == getpid();
}

bool InFlightLocked(const Drive& drive, const DVDCommandBlock* block) {
    for (const DVDCommandBlock* at = drive.commands; at != nullptr; at = at->next) {
        if (at == block) {
            return true;
        }
    }
    return false;
}

void AppendLocked(Drive& drive, DVDCommandBlock* block) {
    DVDCommandBlock** link = &drive.commands;
    while (*link != nullptr) {
        link = &(*link)->next;
    }
    block->next = nullptr;
    *link = block;
}

void UnlinkLocked(Drive& drive, DVDCommandBlock* block) {
    for (DVDCommandBlock** link = &drive.commands; *link != nullptr; link = &(*link)->next) {
        if (*link == block) {
            *link = block->next;
            block->next = nullptr;
            return;
        }
    }
}

DVDCommandBlock* FirstHeldLocked(const Drive& drive) {
    for (DVDCommandBlock* at = drive.commands; at != nullptr; at = at->next) {
        if (at->phase == kPhaseHeld) {
            return at;
        }
    }
    return nullptr;
}

// The queued command served next; none while the drive is held in an error.
DVDCommandBlock* NextQueuedLocked(const Drive& drive) {
    if (FirstHeldLocked(drive) != nullptr) {
        return nullptr;
    }
    DVDCommandBlock* best = nullptr;
    for (DVDCommandBlock* at = drive.commands; at != nullptr; at = at->next) {
        if (at->phase == kPhaseQueued &&
            (best == nullptr || at->priority < best->priority ||
             (at->priority == best->priority && at->order < best->order))) {
            best = at;
        }
    }
    return best;
}

// The drive is out of its error, or the command holding it is gone: the parked blocking
// reads look again.
void WakeParkedReadsLocked(Drive& drive) {
    for (s32 i = 0; i < drive.parkedReads; ++i) {
        OSSendMessage(&drive.released, nullptr, OS_MESSAGE_NOBLOCK);
    }
    drive.changed.notify_all();
}

// One poll of a held command: its error state until the fault has lasted its polls,
// then busy, as the command goes back to the queue.
s32 PollHeldLocked(Drive& drive, DVDCommandBlock* block) {
    if (block->faultPolls > 0) {
        --block->faultPolls;
        return block->faultState;
    }
    block->phase = kPhaseQueued;
    block->state = DVD_STATE_BUSY;
    WakeParkedReadsLocked(drive);
    return DVD_STATE_BUSY;
}

void CompleteLocked(Drive& drive, DVDCommandBlock* block) {
    UnlinkLocked(drive, block);
    block->phase = kPhaseIdle;
    block->transferredSize = block->result > 0 ? static_cast<u32>(block->result) : 0;
    if (block->result >= 0) {
        block->state = DVD_STATE_END;
    } else {
        block->state =
            block->result == DVD_RESULT_CANCELED ? DVD_STATE_CANCELED : DVD_STATE_FATAL_ERROR;
    }
}

// Hands finished commands to their callers in the order they finished, those with a
// callback only on the main thread. Callbacks run outside the lock, so they may start new reads.
void DeliverFinished(Drive& drive) {
    const bool mainThread = IsMainThread();
    for (;;) {
        Lock guard(drive.lock);
        DVDCommandBlock* block = nullptr;
        for (DVDCommandBlock* at = drive.commands; at != nullptr; at = at->next) {
            if (at->phase == kPhaseFinished && (at->callback == nullptr || mainThread) &&
                (block == nullptr || at->finishOrder < block->finishOrder)) {
                block = at;
            }
        }
        if (block == nullptr) {
            return;
        }
        CompleteLocked(drive, block);
        const DVDCallback callback = block->callback;
        const s32 result = block->result;
        DVDFileInfo* fileInfo = block->fileInfo;
        guard.unlock();
        if (callback != nullptr) {
            callback(result, fileInfo);
        }
    }
}

bool CancelRequested(Drive& drive, const DVDCommandBlock* block) {
    std::lock_guard<std::mutex> guard(drive.lock);
    return block->cancelRequested;
}

// Reads the range into the buffer, zero past the file's end: the bytes read, or an
// error result.
s32 Transfer(Drive& drive, const DVDCommandBlock* block, s32 entry, u8* buffer, u32 offset,
             u32 length) {
    char path[kDiscMaxHostPath];
    const int file = DiscHostPath(entry, path, sizeof(path)) ? open(path, O_RDONLY) : -1;
    if (file < 0) {
        DiscReportUnreadable(entry, errno);
        return DVD_RESULT_FATAL_ERROR;
    }
    u32 done = 0;
    s32 result = static_cast<s32>(length);
    while (done < length) {
        if (CancelRequested(drive, block)) {
            result = DVD_RESULT_CANCELED;
            break;
        }
        const u32 chunk = length - done < kTransferChunk ? length - done : kTransferChunk;
        const ssize_t got = pread(file, buffer + done, chunk, static_cast<off_t>(offset) + done);
        if (got < 0) {
            DiscReportUnreadable(entry, errno);
            result = DVD_RESULT_FATAL_ERROR;
            break;
        }
        if (got == 0) {
            std::memset(buffer + done, 0, length - done);
            break;
        }
        done += static_cast<u32>(got);
    }
    close(file);
    return result;
}

// On the virtual clock the drive has no thread of its own: the polls serve its queue, so a
// read takes no virtual time and what a poll sees never depends on the host's speed or load.
bool ServedAtPolls() {
    return HostUsesVirtualClock();
}

// Runs the command, outside the lock, and leaves it finished for its caller's poll.
void ServeLocked(Drive& drive, Lock& guard, DVDCommandBlock* block) {
    block->phase = kPhaseRunning;
    const s32 entry = block->fileInfo->entryNum;
    u8* buffer = static_cast<u8*>(block->addr);
    const u32 offset = block->offset;
    const u32 length = block->length;
    guard.unlock();
    const s32 result = Transfer(drive, block, entry, buffer, offset, length);
    guard.lock();
    block->result = block->cancelRequested ? DVD_RESULT_CANCELED : result;
    block->phase = kPhaseFinished;
    block->finishOrder = drive.nextFinishOrder++;
    drive.changed.notify_all();
}

void* WorkerMain(void*) {
    Drive& drive = TheDrive();
    Lock guard(drive.lock);
    for (;;) {
        DVDCommandBlock* block = nullptr;
        drive.changed.wait(guard, [&] {
            return !ServedAtPolls() && (block = NextQueuedLocked(drive)) != nullptr;
        });
        ServeLocked(drive, guard, block);
    }
}

// Serves the most urgent queued command on the polling thread when the polls serve the
// queue; false when they do not or nothing can be served.
bool ServeNextAtPollLocked(Drive& drive, Lock& guard) {
    DVDCommandBlock* block = ServedAtPolls() ? NextQueuedLocked(drive) : nullptr;
    if (block == nullptr) {
        return false;
    }
    ServeLocked(drive, guard, block);
    return true;
}

// What every poll does first: serve what it should, hand over what has finished.
void BeginPoll(Drive& drive) {
    {
        Lock guard(drive.lock);
        while (ServeNextAtPollLocked(drive, guard)) {
        }
    }
    DeliverFinished(drive);
}

void StartWorkerLocked(Drive& drive) {
    if (drive.workerStarted || ServedAtPolls()) {
        return;
    }
    pthread_t thread;
    if (pthread_create(&thread, nullptr, WorkerMain, nullptr) != 0) {
        OSPanic(__FILE__, __LINE__, "DVD: cannot start the drive thread\n");
    }
    pthread_detach(thread);
    drive.workerStarted = true;
}

s32 DriveStateOf(FaultKind kind) {
    switch (kind) {
    case FaultKind::Retry:
        return DVD_STATE_RETRY;
    case FaultKind::Fatal:
        return DVD_STATE_FATAL_ERROR;
    case FaultKind::NoDisc:
        return DVD_STATE_NO_DISK;
    case FaultKind::WrongDisc:
        return DVD_STATE_WRONG_DISK;
    default: // the fault table gives a disc read no other kind
        break;
    }
    return DVD_STATE_FATAL_ERROR;
}

u32 RoundUp32(u32 value) {
    return (value + 31u) & ~31u;
}

bool ReadArgumentsValid(const char* caller, const DVDFileInfo* fileInfo, const void* addr,
                        s32 length, s32 offset, s32 priority) {
    const char* problem = nullptr;
    if (fileInfo == nullptr || addr == nullptr) {
        problem = "null file or buffer";
    } else if ((reinterpret_cast<uintptr_t>(addr) & 31u) != 0 || length <= 0 ||
               (length & 31) != 0 || offset < 0 || (offset & 3) != 0) {
        problem = "buffer not 32-byte aligned, length not a multiple of 32 or offset not of 4";
    } else if (static_cast<u64>(offset) + static_cast<u64>(length) > RoundUp32(fileInfo->length)) {
        problem = "range beyond the end of the file";
    } else if (priority < 0 || priority >= DVD_PRIO_COUNT) {
        problem = "priority outside 0 to 3";
    }
    if (problem != nullptr) {
        OSReport("%s: %s\n", caller, problem);
    }
    return problem == nullptr;
}

bool IssueRead(const char* caller, DVDFileInfo* fileInfo, void* addr, s32 length, s32 offset,
               DVDCallback callback, s32 priority) {
    if (!ReadArgumentsValid(caller, fileInfo, addr, length, offset, priority)) {
        return false;
    }
    Drive& drive = TheDrive();
    std::lock_guard<std::mutex> guard(drive.lock);
    DVDCommandBlock* block = &fileInfo->cb;
    if (InFlightLocked(drive, block)) {
        OSReport("%s: the file already has a read in flight\n", caller);
        return false;
    }
    *block = DVDCommandBlock{};
    block->phase = kPhaseQueued;
    block->state = DVD_STATE_BUSY;
    block->priority = priority;
    block->offset = static_cast<u32>(offset);
    block->length = static_cast<u32>(length);
    block->order = drive.nextOrder++;
    block->addr = addr;
    block->callback = callback;
    block->fileInfo = fileInfo;
    FaultRule fault;
    if (FaultBeginOperation(FaultTarget::DvdRead, &fault)) {
        block->phase = kPhaseHeld;
        block->faultState = DriveStateOf(fault.kind);
        block->faultPolls = fault.duration;
        block->state = block->faultState;
    }
    AppendLocked(drive, block);
    StartWorkerLocked(drive);
    drive.changed.notify_all();
    return true;
}

// While the drive is held in an error, a blocking read of a console thread gives the run to
// the other threads until one of their polls (the main loop's, once a frame) releases it or
// the command holding it goes, so the error lasts its polls on the main thread's clock and
// the game can show it. Counted, the drive unlocked, while parked, also when the thread is
// cancelled there. False for a thread that nobody polls for (the main thread), or that the
// console does not run: it polls the drive itself.
bool ParkUntilReleased(Drive& drive, Lock& guard) {
    if (IsMainThread()) {
        return false;
    }
    struct Parked {
        Drive& on;
        Lock& unlocked;
        Parked(Drive& parkedOn, Lock& locked) : on(parkedOn), unlocked(locked) {
            ++on.parkedReads;
            unlocked.unlock();
        }
        ~Parked() {
            unlocked.lock();
            --on.parkedReads;
        }
    };
    const Parked parked(drive, guard);
    return OSReceiveMessage(&drive.released, nullptr, OS_MESSAGE_BLOCK) != FALSE;
}

// Waits for a command without callback and completes it.
s32 WaitForCommand(Drive& drive, DVDCommandBlock* block) {
    Lock guard(drive.lock);
    while (InFlightLocked(drive, block)) {
        DVDCommandBlock* held = FirstHeldLocked(drive);
        if (block->phase == kPhaseFinished) {
            CompleteLocked(drive, block);
        } else if (held != nullptr) {
            if (!ParkUntilReleased(drive, guard)) {
                PollHeldLocked(drive, held);
            }
        } else if (!ServeNextAtPollLocked(drive, guard)) {
            drive.changed.wait(guard);
        }
    }
    return block->result;
}

} // namespace

void DVDInit() {
    TheDrive();
}

s32 DVDConvertPathToEntrynum(const char* path) {
    if (path == nullptr) {
        OSReport("DVDConvertPathToEntrynum: null path\n");
        return -1;
    }
    return DiscLookUp(path);
}

BOOL DVDFastOpen(s32 entryNum, DVDFileInfo* fileInfo) {
    char path[kDiscMaxHostPath];
    struct stat info;
    if (fileInfo == nullptr || !DiscHostPath(entryNum, path, sizeof(path)) ||
        stat(path, &info) != 0 || static_cast<u64>(info.st_size) > 0xFFFFFFFFu) {
        return FALSE;
    }
    Drive& drive = TheDrive();
    std::lock_guard<std::mutex> guard(drive.lock);
    if (InFlightLocked(drive, &fileInfo->cb)) {
        OSReport("DVDFastOpen: the file record still has a read in flight\n");
        return FALSE;
    }
    *fileInfo = DVDFileInfo{};
    fileInfo->cb.state = DVD_STATE_END;
    fileInfo->entryNum = entryNum;
    fileInfo->length = static_cast<u32>(info.st_size);
    return TRUE;
}

BOOL DVDOpen(const char* path, DVDFileInfo* fileInfo) {
    const s32 entry = DVDConvertPathToEntrynum(path);
    return entry >= 0 && DVDFastOpen(entry, fileInfo);
}

BOOL DVDClose(DVDFileInfo* fileInfo) {
    if (fileInfo == nullptr) {
        OSReport("DVDClose: null file\n");
        return FALSE;
    }
    DVDCancel(&fileInfo->cb);
    return TRUE;
}

BOOL DVDReadAsyncPrio(DVDFileInfo* fileInfo, void* addr, s32 length, s32 offset,
                      DVDCallback callback, s32 priority) {
    return IssueRead("DVDReadAsyncPrio", fileInfo, addr, length, offset, callback, priority)
               ? TRUE
               : FALSE;
}

s32 DVDReadPrio(DVDFileInfo* fileInfo, void* addr, s32 length, s32 offset, s32 priority) {
    if (!IssueRead("DVDReadPrio", fileInfo, addr, length, offset, nullptr, priority)) {
        return DVD_RESULT_FATAL_ERROR;
    }
    return WaitForCommand(TheDrive(), &fileInfo->cb);
}

s32 DVDGetCommandBlockStatus(DVDCommandBlock* block) {
    if (block == nullptr) {
        OSReport("DVDGetCommandBlockStatus: null block\n");
        return DVD_STATE_FATAL_ERROR;
    }
    Drive& drive = TheDrive();
    BeginPoll(drive);
    std::lock_guard<std::mutex> guard(drive.lock);
    if (!InFlightLocked(drive, block)) {
        return block->state;
    }
    if (block->phase == kPhaseHeld) {
        return PollHeldLocked(drive, block);
    }
    // A read queued behind one held in an error waits on the drive's error, and its poll
    // is a poll of the drive: the error passes with its polls whoever waits.
    DVDCommandBlock* held = block->phase == kPhaseQueued ? FirstHeldLocked(drive) : nullptr;
    return held != nullptr ? PollHeldLocked(drive, held) : block->state;
}

s32 DVDGetDriveStatus() {
    Drive& drive = TheDrive();
    BeginPoll(drive);
    std::lock_guard<std::mutex> guard(drive.lock);
    DVDCommandBlock* held = FirstHeldLocked(drive);
    if (held != nullptr) {
        return PollHeldLocked(drive, held);
    }
    return drive.commands != nullptr ? DVD_STATE_BUSY : DVD_STATE_END;
}

u32 DVDGetTransferredSize(const DVDFileInfo* fileInfo) {
    if (fileInfo == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> guard(TheDrive().lock);
    return fileInfo->cb.transferredSize;
}

s32 DVDCancel(DVDCommandBlock* block) {
    if (block == nullptr) {
        OSReport("DVDCancel: null block\n");
        return -1;
    }
    Drive& drive = TheDrive();
    {
        Lock guard(drive.lock);
        if (!InFlightLocked(drive, block)) {
            return 0;
        }
        block->cancelRequested = true;
        drive.changed.wait(guard, [&] { return block->phase != kPhaseRunning; });
        if (!InFlightLocked(drive, block)) {
            return 0;
        }
        block->phase = kPhaseFinished;
        block->result = DVD_RESULT_CANCELED;
        block->finishOrder = drive.nextFinishOrder++;
        WakeParkedReadsLocked(drive);
    }
    DeliverFinished(drive);
    return 0;
}

BOOL DVDCancelAll() {
    Drive& drive = TheDrive();
    for (;;) {
        DVDCommandBlock* block = nullptr;
        {
            std::lock_guard<std::mutex> guard(drive.lock);
            for (DVDCommandBlock* at = drive.commands; at != nullptr && block == nullptr;
                 at = at->next) {
                block = at->phase != kPhaseFinished ? at : nullptr;
            }
        }
        if (block == nullptr) {
            DeliverFinished(drive);
            return TRUE;
        }
        DVDCancel(block);
    }
}
