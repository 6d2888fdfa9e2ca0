// Threads and message queues: one thread runs at a time, the most urgent first, handing over
// only where it waits; the retrace wait runs the others until all wait; a cancelled thread
// unwinds wherever it waits. Queues keep order and refuse without blocking when asked.
#include <console/os.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Recorder {
    OSMessageQueue queue;
    OSMessage slots[4];
    std::string trace;
};

Recorder g_recorder;

void* Echo(void* param) {
    const char tag = static_cast<char>(reinterpret_cast<intptr_t>(param));
    for (;;) {
        OSMessage message = nullptr;
        OSReceiveMessage(&g_recorder.queue, &message, OS_MESSAGE_BLOCK);
        g_recorder.trace += tag;
        g_recorder.trace += static_cast<char>(reinterpret_cast<intptr_t>(message));
    }
}

void* CountTo(void* param) {
    for (int i = 0; i < 3; ++i) {
        g_recorder.trace += static_cast<char>(reinterpret_cast<intptr_t>(param));
        OSSendMessage(&g_recorder.queue, reinterpret_cast<void*>('0' + i), OS_MESSAGE_BLOCK);
    }
    return nullptr;
}

class ThreadTest : public testing::Test {
protected:
    void SetUp() override {
        g_recorder.trace.clear();
        OSInitMessageQueue(&g_recorder.queue, g_recorder.slots, 4);
    }

    OSThread Start(OSThreadFunction function, char tag, s32 priority) {
        OSThread thread{-1};
        EXPECT_TRUE(OSCreateThread(&thread, function, reinterpret_cast<void*>(tag), m_stack + 1024,
                                   1024, priority, OS_THREAD_ATTR_DETACH));
        OSResumeThread(&thread);
        return thread;
    }

    u8 m_stack[1024];
};

TEST_F(ThreadTest, QueueKeepsOrderAndRefusesWithoutBlocking) {
    OSMessage message = nullptr;
    EXPECT_FALSE(OSReceiveMessage(&g_recorder.queue, &message, OS_MESSAGE_NOBLOCK));
    for (intptr_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(
            OSSendMessage(&g_recorder.queue, reinterpret_cast<void*>(i), OS_MESSAGE_NOBLOCK));
    }
    EXPECT_FALSE(OSSendMessage(&g_recorder.queue, nullptr, OS_MESSAGE_NOBLOCK)) << "full";
    for (intptr_t i = 0; i < 4; ++i) {
        ASSERT_TRUE(OSReceiveMessage(&g_recorder.queue, &message, OS_MESSAGE_NOBLOCK));
        EXPECT_EQ(message, reinterpret_cast<void*>(i));
    }
}

TEST_F(ThreadTest, ThreadsRunOnlyWhileTheMainThreadWaitsAndByPriority) {
    OSThread low = Start(Echo, 'l', 20);
    OSThread high = Start(Echo, 'h', 8);
    OSSendMessage(&g_recorder.queue, reinterpret_cast<void*>('a'), OS_MESSAGE_BLOCK);
    OSSendMessage(&g_recorder.queue, reinterpret_cast<void*>('b'), OS_MESSAGE_BLOCK);
    EXPECT_EQ(g_recorder.trace, "") << "nothing runs until the main thread waits";
    OSRunThreadsUntilIdle();
    // The urgent thread takes both messages; the other never gets one.
    EXPECT_EQ(g_recorder.trace, "hahb");
    OSCancelThread(&high);
    OSSendMessage(&g_recorder.queue, reinterpret_cast<void*>('c'), OS_MESSAGE_BLOCK);
    OSRunThreadsUntilIdle();
    EXPECT_EQ(g_recorder.trace, "hahblc");
    OSCancelThread(&low);
    EXPECT_EQ(low.slot, -1);
}

TEST_F(ThreadTest, MainThreadWaitingOnAQueueLetsTheSenderRun) {
    OSThread counter = Start(CountTo, 'n', 12);
    std::string received;
    for (int i = 0; i < 3; ++i) {
        OSMessage message = nullptr;
        ASSERT_TRUE(OSReceiveMessage(&g_recorder.queue, &message, OS_MESSAGE_BLOCK));
        received += static_cast<char>(reinterpret_cast<intptr_t>(message));
    }
    EXPECT_EQ(received, "012");
    EXPECT_EQ(g_recorder.trace, "nnn") << "the sender runs until it ends; the queue holds four";
    OSCancelThread(&counter); // ended already: only its slot is freed
}

TEST_F(ThreadTest, SuspendedThreadWaitsForItsResumeAndCancelledOneNeverStarts) {
    OSThread never{-1};
    ASSERT_TRUE(OSCreateThread(&never, Echo, reinterpret_cast<void*>('x'), m_stack + 1024, 1024, 10,
                               OS_THREAD_ATTR_DETACH));
    OSSendMessage(&g_recorder.queue, reinterpret_cast<void*>('a'), OS_MESSAGE_BLOCK);
    OSRunThreadsUntilIdle();
    EXPECT_EQ(g_recorder.trace, "") << "created suspended";
    EXPECT_EQ(OSSuspendThread(&never), 1);
    EXPECT_EQ(OSResumeThread(&never), 2);
    OSCancelThread(&never);
    OSRunThreadsUntilIdle();
    EXPECT_EQ(g_recorder.trace, "");
}

TEST_F(ThreadTest, BadArgumentsAreRefused) {
    OSThread thread{-1};
    EXPECT_FALSE(OSCreateThread(&thread, Echo, nullptr, nullptr, 0, 32, 0));
    EXPECT_FALSE(OSCreateThread(&thread, nullptr, nullptr, nullptr, 0, 10, 0));
    EXPECT_EQ(OSResumeThread(&thread), 0);
    OSCancelThread(&thread);
    EXPECT_FALSE(OSSendMessage(nullptr, nullptr, OS_MESSAGE_BLOCK));
}

} // namespace
