// Threads as host threads that pass one run token: only the holder runs, and it hands the
// token on where it waits. Message queues live under the same lock, so the audio thread's
// non-blocking sends and receives are safe beside them.
#include <console/os.h>

#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr s32 kMaxThreads = 16; // slot 0 is the main thread
constexpr s32 kMainSlot = 0;
constexpr s32 kNoSlot = -1;

struct ThreadRecord {
    std::condition_variable wake;
    OSThreadFunction function = nullptr;
    void* param = nullptr;
    s32 priority = OS_MAIN_THREAD_PRIORITY;
    s32 suspendCount = 0;
    const OSMessageQueue* waitingOn = nullptr;
    bool inUse = false;
    bool cancelRequested = false;
    bool finished = false;
};

struct Scheduler {
    std::mutex lock;
    ThreadRecord records[kMaxThreads];
    s32 running = kMainSlot;
    bool mainIdle = false; // the main thread waits for the others to go idle

    Scheduler() { records[kMainSlot].inUse = true; }
};

using Lock = std::unique_lock<std::mutex>;

// Never destroyed: threads may still wait on it at exit.
Scheduler& TheScheduler() {
    alignas(Scheduler) static unsigned char storage[sizeof(Scheduler)];
    static Scheduler* scheduler = new (storage) Scheduler();
    return *scheduler;
}

thread_local s32 t_slot = kNoSlot;

bool IsHostMainThread() {
    return syscall(SYS_gettid) == getpid();
}

// The caller's slot, or kNoSlot for a host thread the scheduler does not run.
s32 CurrentSlot() {
    if (t_slot == kNoSlot && IsHostMainThread()) {
        t_slot = kMainSlot;
    }
    return t_slot;
}

struct ThreadCancelled {};

bool Runnable(const ThreadRecord& record) {
    return record.inUse && !record.finished &&
           (record.cancelRequested || (record.suspendCount == 0 && record.waitingOn == nullptr));
}

// The most urgent runnable thread; the idle-waiting main thread when no other can run.
s32 PickNext(Scheduler& scheduler) {
    s32 best = kNoSlot;
    for (s32 slot = 0; slot < kMaxThreads; ++slot) {
        const ThreadRecord& record = scheduler.records[slot];
        if (slot == kMainSlot && scheduler.mainIdle) {
            continue;
        }
        if (Runnable(record) &&
            (best == kNoSlot || record.priority < scheduler.records[best].priority)) {
            best = slot;
        }
    }
    if (best == kNoSlot && scheduler.mainIdle) {
        scheduler.mainIdle = false;
        best = kMainSlot;
    }
    return best;
}

// Hands the token to the next thread and waits until it comes back to `self`.
void SwitchFrom(Scheduler& scheduler, s32 self, Lock& guard) {
    const s32 next = PickNext(scheduler);
    if (next == kNoSlot) {
        OSPanic(__FILE__, __LINE__, "OS: every thread waits; nothing can run\n");
    }
    scheduler.running = next;
    scheduler.records[next].wake.notify_one();
    ThreadRecord& record = scheduler.records[self];
    record.wake.wait(guard, [&] { return scheduler.running == self; });
    if (record.cancelRequested && self != kMainSlot) {
        throw ThreadCancelled{};
    }
}

void ThreadEntry(s32 slot) {
    t_slot = slot;
    Scheduler& scheduler = TheScheduler();
    ThreadRecord& record = scheduler.records[slot];
    {
        Lock guard(scheduler.lock);
        record.wake.wait(guard, [&] { return scheduler.running == slot; });
    }
    if (!record.cancelRequested) {
        try {
            record.function(record.param);
        } catch (const ThreadCancelled&) {
        }
    }
    Lock guard(scheduler.lock);
    record.finished = true;
    const s32 next = PickNext(scheduler);
    scheduler.running = next;
    if (next != kNoSlot) {
        scheduler.records[next].wake.notify_one();
    }
}

// The caller's slot for a call that may wait; kNoSlot, reported, for a foreign thread.
s32 WaitingSlot(const char* call) {
    const s32 slot = CurrentSlot();
    if (slot == kNoSlot) {
        OSReport("%s: may not wait on this thread\n", call);
    }
    return slot;
}

ThreadRecord* RecordOf(Scheduler& scheduler, const OSThread* thread, const char* call) {
    if (thread == nullptr || thread->slot <= kMainSlot || thread->slot >= kMaxThreads ||
        !scheduler.records[thread->slot].inUse) {
        OSReport("%s: not a created thread\n", call);
        return nullptr;
    }
    return &scheduler.records[thread->slot];
}

void WakeWaitersOn(Scheduler& scheduler, const OSMessageQueue* queue) {
    for (ThreadRecord& record : scheduler.records) {
        if (record.waitingOn == queue) {
            record.waitingOn = nullptr;
        }
    }
}

// Waits on the queue until `ready` holds; false at once when the flag asks not to block.
template <typename Ready>
bool WaitForQueue(Scheduler& scheduler, Lock& guard, const OSMessageQueue* queue, s32 flags,
                  const char* call, Ready ready) {
    while (!ready()) {
        if (flags != OS_MESSAGE_BLOCK) {
            return false;
        }
        const s32 self = WaitingSlot(call);
        if (self == kNoSlot) {
            return false;
        }
        scheduler.records[self].waitingOn = queue;
        SwitchFrom(scheduler, self, guard);
    }
    return true;
}

} // namespace

BOOL OSCreateThread(OSThread* thread, OSThreadFunction function, void* param, void* stackTop,
                    u32 stackSize, s32 priority, u16 attributes) {
    (void)stackTop;
    (void)stackSize;
    (void)attributes;
    if (thread == nullptr || function == nullptr || priority < OS_PRIORITY_MAX ||
        priority > OS_PRIORITY_MIN) {
        OSReport("OSCreateThread: bad thread, function or priority %d\n", priority);
        return FALSE;
    }
    Scheduler& scheduler = TheScheduler();
    Lock guard(scheduler.lock);
    for (s32 slot = kMainSlot + 1; slot < kMaxThreads; ++slot) {
        ThreadRecord& record = scheduler.records[slot];
        if (!record.inUse) {
            record.function = function;
            record.param = param;
            record.priority = priority;
            record.suspendCount = 1;
            record.waitingOn = nullptr;
            record.cancelRequested = false;
            record.finished = false;
            record.inUse = true;
            thread->slot = slot;
            std::thread(ThreadEntry, slot).detach();
            return TRUE;
        }
    }
    OSReport("OSCreateThread: no free thread slot\n");
    return FALSE;
}

s32 OSResumeThread(OSThread* thread) {
    Scheduler& scheduler = TheScheduler();
    Lock guard(scheduler.lock);
    ThreadRecord* record = RecordOf(scheduler, thread, "OSResumeThread");
    if (record == nullptr) {
        return 0;
    }
    const s32 previous = record->suspendCount;
    if (previous > 0) {
        --record->suspendCount;
    }
    return previous;
}

s32 OSSuspendThread(OSThread* thread) {
    Scheduler& scheduler = TheScheduler();
    Lock guard(scheduler.lock);
    ThreadRecord* record = RecordOf(scheduler, thread, "OSSuspendThread");
    if (record == nullptr) {
        return 0;
    }
    const s32 previous = record->suspendCount++;
    if (CurrentSlot() == thread->slot) {
        SwitchFrom(scheduler, thread->slot, guard);
    }
    return previous;
}

void OSCancelThread(OSThread* thread) {
    Scheduler& scheduler = TheScheduler();
    Lock guard(scheduler.lock);
    ThreadRecord* record = RecordOf(scheduler, thread, "OSCancelThread");
    const s32 self = WaitingSlot("OSCancelThread");
    if (record == nullptr || self == kNoSlot || self == thread->slot) {
        return;
    }
    if (!record->finished) {
        // The thread runs next, unwinds, and hands the token back as it ends.
        record->cancelRequested = true;
        scheduler.running = thread->slot;
        record->wake.notify_one();
        ThreadRecord& own = scheduler.records[self];
        own.wake.wait(guard, [&] { return record->finished && scheduler.running == self; });
    }
    record->inUse = false;
    thread->slot = kNoSlot;
}

void OSRunThreadsUntilIdle() {
    Scheduler& scheduler = TheScheduler();
    Lock guard(scheduler.lock);
    if (CurrentSlot() != kMainSlot) {
        return;
    }
    scheduler.mainIdle = true;
    SwitchFrom(scheduler, kMainSlot, guard);
}

void OSInitMessageQueue(OSMessageQueue* queue, OSMessage* msgArray, s32 msgCount) {
    if (queue == nullptr || msgArray == nullptr || msgCount <= 0) {
        OSReport("OSInitMessageQueue: bad queue or array\n");
        return;
    }
    Scheduler& scheduler = TheScheduler();
    Lock guard(scheduler.lock);
    *queue = OSMessageQueue{msgArray, msgCount, 0, 0};
}

BOOL OSSendMessage(OSMessageQueue* queue, OSMessage message, s32 flags) {
    if (queue == nullptr || queue->msgArray == nullptr) {
        OSReport("OSSendMessage: no queue\n");
        return FALSE;
    }
    Scheduler& scheduler = TheScheduler();
    Lock guard(scheduler.lock);
    if (!WaitForQueue(scheduler, guard, queue, flags, "OSSendMessage",
                      [&] { return queue->usedCount < queue->msgCount; })) {
        return FALSE;
    }
    queue->msgArray[(queue->firstIndex + queue->usedCount) % queue->msgCount] = message;
    ++queue->usedCount;
    WakeWaitersOn(scheduler, queue);
    return TRUE;
}

BOOL OSReceiveMessage(OSMessageQueue* queue, OSMessage* message, s32 flags) {
    if (queue == nullptr || queue->msgArray == nullptr) {
        OSReport("OSReceiveMessage: no queue\n");
        return FALSE;
    }
    Scheduler& scheduler = TheScheduler();
    Lock guard(scheduler.lock);
    if (!WaitForQueue(scheduler, guard, queue, flags, "OSReceiveMessage",
                      [&] { return queue->usedCount > 0; })) {
        return FALSE;
    }
    if (message != nullptr) {
        *message = queue->msgArray[queue->firstIndex];
    }
    queue->firstIndex = (queue->firstIndex + 1) % queue->msgCount;
    --queue->usedCount;
    WakeWaitersOn(scheduler, queue);
    return TRUE;
}

void LCEnable() {}

void LCDisable() {}
