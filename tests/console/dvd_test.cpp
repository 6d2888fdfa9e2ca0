// The disc drive over a directory: lookups, asynchronous reads handed over at polls, a file
// the host cannot read, priorities on either host, headless polls that see the same drive
// whatever the load, cancelling, injected drive errors and the rules that inject them.
#include "temporary_host_directory.h"

#include <console/dvd.h>
#include <console/fault.h>
#include <console/host.h>
#include <console/os.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr s32 kPolls = 1000000;

// A disc directory of its own for each test.
class DvdTest : public testing::Test {
protected:
    void SetUp() override {
        FaultReset();
        s_calls.clear();
    }

    void TearDown() override { FaultReset(); }

    DVDFileInfo Open(const char* path) {
        DVDFileInfo info{};
        EXPECT_TRUE(DVDOpen(path, &info)) << path;
        return info;
    }

    // Polls until the command is handed over; its last status.
    static s32 PollUntilDone(DVDFileInfo* info) {
        for (s32 i = 0; i < kPolls; ++i) {
            const s32 status = DVDGetCommandBlockStatus(&info->cb);
            if (status != DVD_STATE_BUSY) {
                return status;
            }
            std::this_thread::yield();
        }
        return DVD_STATE_BUSY;
    }

    struct Call {
        s32 result;
        DVDFileInfo* info;
        std::thread::id thread;
    };
    static void Record(s32 result, DVDFileInfo* info) {
        s_calls.push_back({result, info, std::this_thread::get_id()});
    }
    static inline std::vector<Call> s_calls;

    test_support::TemporaryDisc m_disc;
};

struct alignas(32) Buffer {
    char bytes[256];
};

// The host the drive runs on while it lives: the window host's drive serves reads on its own
// thread, the headless one at the polls.
class HostKindScope {
public:
    explicit HostKindScope(HostKind kind) : m_original(HostGetOptions()) {
        HostOptions options = m_original;
        options.kind = kind;
        HostSetOptions(options);
    }
    ~HostKindScope() { HostSetOptions(m_original); }

private:
    HostOptions m_original;
};

// Keeps every core busy while it lives, as other programs on a loaded machine do.
class BusyCores {
public:
    BusyCores() {
        const unsigned count = std::max(2u, std::thread::hardware_concurrency());
        for (unsigned i = 0; i < count; ++i) {
            m_threads.emplace_back([this] {
                while (!m_stop.load(std::memory_order_relaxed)) {
                }
            });
        }
    }
    ~BusyCores() {
        m_stop = true;
        for (std::thread& thread : m_threads) {
            thread.join();
        }
    }

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_threads;
};

TEST_F(DvdTest, FindsFilesWhateverTheCaseAndOnlyInsideTheDisc) {
    m_disc.Write("Wii/UK_English.txz", "text");
    m_disc.Write("Wii/Audio/cues/title.ogg", "ogg");
    const s32 entry = DVDConvertPathToEntrynum("wii/uk_english.txz");
    EXPECT_GE(entry, 0);
    EXPECT_EQ(DVDConvertPathToEntrynum("/WII/UK_ENGLISH.TXZ"), entry);
    EXPECT_EQ(DVDConvertPathToEntrynum("./wii//./Uk_English.TXZ"), entry);
    EXPECT_GE(DVDConvertPathToEntrynum("WII/Audio/Cues/Title.OGG"), 0);
    for (const char* missing : {"wii/fr_french.txz", "wii", "wii/audio", "", "../x",
                                "wii/../wii/uk_english.txz", "uk_english.txz/x"}) {
        EXPECT_EQ(DVDConvertPathToEntrynum(missing), -1) << missing;
    }
    DVDFileInfo info{};
    EXPECT_FALSE(DVDFastOpen(entry + 100, &info));
    EXPECT_FALSE(DVDOpen("nothing", &info));
}

// A file the host cannot read (gone after its open) fails each read and is said once, by path.
TEST_F(DvdTest, UnreadableFileIsReportedOnceByItsPath) {
    m_disc.Write("wii/uk_english.txz", std::string(64, 't'));
    DVDFileInfo info = Open("wii/uk_english.txz");
    std::filesystem::remove(m_disc.Root() / "wii/uk_english.txz");
    testing::internal::CaptureStderr();
    for (int read = 0; read < 3; ++read) {
        Buffer buffer{};
        ASSERT_TRUE(DVDReadAsyncPrio(&info, buffer.bytes, 64, 0, nullptr, 2));
        EXPECT_EQ(PollUntilDone(&info), DVD_STATE_FATAL_ERROR);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "DVD: cannot read '" + m_disc.Root().string() +
                  "/wii/uk_english.txz' on the disc: No such file or directory\n");
}

TEST_F(DvdTest, PrefersTheExactNameWhenNamesDifferOnlyInCase) {
    m_disc.Write("Data.bin", std::string(32, 'U'));
    m_disc.Write("data.bin", std::string(32, 'l'));
    for (const auto& [path, expected] :
         {std::pair{"Data.bin", 'U'}, std::pair{"data.bin", 'l'}, std::pair{"DATA.BIN", 'U'}}) {
        DVDFileInfo info = Open(path);
        Buffer buffer{};
        ASSERT_EQ(DVDReadPrio(&info, buffer.bytes, 32, 0, 2), 32);
        EXPECT_EQ(buffer.bytes[0], expected) << path;
    }
}

TEST_F(DvdTest, CompletionReachesTheCallerOnlyAtItsPollOnTheMainThread) {
    m_disc.Write("file.bin", "0123456789abcdefghijklmnopqrstuvwxyz!"); // 37 bytes
    DVDFileInfo info = Open("file.bin");
    EXPECT_EQ(info.length, 37u);
    Buffer buffer;
    std::memset(buffer.bytes, 0x55, sizeof(buffer.bytes));
    ASSERT_TRUE(DVDReadAsyncPrio(&info, buffer.bytes, 64, 0, Record, 2));
    std::thread poller([&] {
        for (int i = 0; i < 50; ++i) {
            EXPECT_EQ(DVDGetCommandBlockStatus(&info.cb), DVD_STATE_BUSY);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    poller.join();
    EXPECT_TRUE(s_calls.empty());
    EXPECT_EQ(PollUntilDone(&info), DVD_STATE_END);
    ASSERT_EQ(s_calls.size(), 1u);
    EXPECT_EQ(s_calls[0].result, 64);
    EXPECT_EQ(s_calls[0].info, &info);
    EXPECT_EQ(s_calls[0].thread, std::this_thread::get_id());
    EXPECT_EQ(DVDGetTransferredSize(&info), 64u);
    EXPECT_EQ(std::string(buffer.bytes, 37), "0123456789abcdefghijklmnopqrstuvwxyz!");
    EXPECT_EQ(std::string(buffer.bytes + 37, 27), std::string(27, '\0')) << "zero past the end";
    EXPECT_EQ(buffer.bytes[64], 0x55);
    EXPECT_EQ(DVDGetDriveStatus(), DVD_STATE_END);
}

TEST_F(DvdTest, RefusesReadsTheDriveCannotDo) {
    m_disc.Write("file.bin", std::string(100, 'x'));
    DVDFileInfo info = Open("file.bin");
    Buffer buffer;
    struct BadRead {
        const char* what;
        void* addr;
        s32 length, offset, priority;
    };
    const BadRead bad[] = {
        {"null buffer", nullptr, 32, 0, 2},        {"unaligned buffer", buffer.bytes + 4, 32, 0, 2},
        {"odd length", buffer.bytes, 33, 0, 2},    {"zero length", buffer.bytes, 0, 0, 2},
        {"odd offset", buffer.bytes, 32, 2, 2},    {"negative offset", buffer.bytes, 32, -4, 2},
        {"past the end", buffer.bytes, 64, 68, 2}, {"priority 4", buffer.bytes, 32, 0, 4},
    };
    for (const BadRead& read : bad) {
        EXPECT_FALSE(
            DVDReadAsyncPrio(&info, read.addr, read.length, read.offset, nullptr, read.priority))
            << read.what;
        EXPECT_EQ(DVDReadPrio(&info, read.addr, read.length, read.offset, read.priority),
                  DVD_RESULT_FATAL_ERROR)
            << read.what;
    }
    EXPECT_FALSE(DVDReadAsyncPrio(nullptr, buffer.bytes, 32, 0, nullptr, 2));
    EXPECT_EQ(DVDReadPrio(&info, buffer.bytes, 128, 0, 2), 128) << "last sector of the file";
    EXPECT_EQ(DVDGetDriveStatus(), DVD_STATE_END);
}

TEST_F(DvdTest, ServesHigherPrioritiesFirstAndEqualOnesInOrder) {
    m_disc.Write("file.bin", std::string(64, 'x'));
    for (const HostKind kind : {HostKind::Window, HostKind::Headless}) {
        SCOPED_TRACE(kind == HostKind::Window ? "window" : "headless");
        const HostKindScope host(kind);
        s_calls.clear();
        FaultReset();
        ASSERT_TRUE(FaultAddText("dvd-read:retry@1x2"));
        DVDFileInfo files[4] = {Open("file.bin"), Open("file.bin"), Open("file.bin"),
                                Open("file.bin")};
        Buffer buffers[4];
        const s32 priorities[4] = {2, 3, 0, 3}; // the first is held by the fault
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(
                DVDReadAsyncPrio(&files[i], buffers[i].bytes, 32, 0, Record, priorities[i]));
        }
        for (int i = 0; i < kPolls && s_calls.size() < 4; ++i) {
            DVDGetDriveStatus();
        }
        ASSERT_EQ(s_calls.size(), 4u);
        EXPECT_EQ(s_calls[0].info, &files[2]);
        EXPECT_EQ(s_calls[1].info, &files[0]);
        EXPECT_EQ(s_calls[2].info, &files[1]);
        EXPECT_EQ(s_calls[3].info, &files[3]);
    }
}

// Headless, each poll first serves every read queued before it, by priority: a long read
// is done at the next poll, even with every core busy, and a held read at the poll after
// its release. A drive on a thread of its own would let the host's load decide.
TEST_F(DvdTest, HeadlessPollsSeeTheSameDriveWhateverTheLoad) {
    constexpr s32 kLarge = 3 * 512 * 1024; // three transfer chunks
    struct alignas(32) LargeBuffer {
        char bytes[kLarge];
    };
    m_disc.Write("large.bin", std::string(kLarge, 'L'));
    m_disc.Write("small.bin", std::string(32, 's'));
    ASSERT_TRUE(FaultAddText("dvd-read:no-disc@3x2"));
    const HostKindScope host(HostKind::Headless);
    DVDFileInfo large = Open("large.bin");
    DVDFileInfo small = Open("small.bin");
    const auto largeBuffer = std::make_unique<LargeBuffer>();
    Buffer smallBuffer;
    struct CloseAtEnd { // leaves nothing in flight, should a check end the test early
        DVDFileInfo* files[2];
        ~CloseAtEnd() {
            for (DVDFileInfo* file : files) {
                DVDClose(file);
            }
        }
    } const closeAtEnd{{&large, &small}};
    const BusyCores busy;

    ASSERT_TRUE(DVDReadAsyncPrio(&large, largeBuffer->bytes, kLarge, 0, Record, 3));
    ASSERT_TRUE(DVDReadAsyncPrio(&small, smallBuffer.bytes, 32, 0, Record, 0));
    EXPECT_EQ(DVDGetDriveStatus(), DVD_STATE_END);
    ASSERT_EQ(s_calls.size(), 2u);
    EXPECT_EQ(s_calls[0].info, &small) << "the urgent read first, though queued second";
    EXPECT_EQ(s_calls[1].info, &large);
    EXPECT_EQ(s_calls[1].result, kLarge);
    EXPECT_EQ(largeBuffer->bytes[kLarge - 1], 'L');

    ASSERT_TRUE(DVDReadAsyncPrio(&large, largeBuffer->bytes, kLarge, 0, Record, 2));
    for (const s32 status : {DVD_STATE_NO_DISK, DVD_STATE_NO_DISK, DVD_STATE_BUSY}) {
        EXPECT_EQ(DVDGetDriveStatus(), status);
    }
    EXPECT_EQ(s_calls.size(), 2u) << "released, not yet read";
    EXPECT_EQ(DVDGetCommandBlockStatus(&large.cb), DVD_STATE_END);
    EXPECT_EQ(s_calls.size(), 3u);
}

TEST_F(DvdTest, CancelledReadCallsBackWithCancelled) {
    m_disc.Write("file.bin", std::string(64, 'x'));
    ASSERT_TRUE(FaultAddText("dvd-read:no-disc@1x1000,dvd-read:wrong-disc@2x1000"));
    DVDFileInfo first = Open("file.bin");
    DVDFileInfo second = Open("file.bin");
    Buffer buffers[2];
    ASSERT_TRUE(DVDReadAsyncPrio(&first, buffers[0].bytes, 32, 0, Record, 2));
    ASSERT_TRUE(DVDReadAsyncPrio(&second, buffers[1].bytes, 32, 0, Record, 2));
    EXPECT_FALSE(DVDReadAsyncPrio(&first, buffers[0].bytes, 32, 0, Record, 2)) << "in flight";
    EXPECT_EQ(DVDCancel(&first.cb), 0);
    EXPECT_EQ(DVDGetCommandBlockStatus(&first.cb), DVD_STATE_CANCELED);
    EXPECT_EQ(DVDGetDriveStatus(), DVD_STATE_WRONG_DISK) << "the second read now holds the drive";
    EXPECT_TRUE(DVDClose(&second));
    EXPECT_EQ(DVDGetDriveStatus(), DVD_STATE_END);
    ASSERT_EQ(s_calls.size(), 2u);
    EXPECT_EQ(s_calls[0].result, DVD_RESULT_CANCELED);
    EXPECT_EQ(s_calls[1].result, DVD_RESULT_CANCELED);
    EXPECT_EQ(DVDCancel(&first.cb), 0) << "nothing in flight";
    EXPECT_EQ(DVDCancel(nullptr), -1);
}

struct FaultCase {
    const char* rule;
    s32 state;
};

class DvdFaultTest : public DvdTest, public testing::WithParamInterface<FaultCase> {};

TEST_P(DvdFaultTest, ReadShowsTheDriveErrorForItsPollsThenCompletes) {
    m_disc.Write("file.bin", std::string(64, 'd'));
    ASSERT_TRUE(FaultAddText(GetParam().rule)); // the second read, three polls
    DVDFileInfo info = Open("file.bin");
    Buffer buffer{};
    ASSERT_EQ(DVDReadPrio(&info, buffer.bytes, 32, 0, 2), 32) << "the first read is clean";
    ASSERT_TRUE(DVDReadAsyncPrio(&info, buffer.bytes, 64, 0, nullptr, 2));
    EXPECT_EQ(DVDGetDriveStatus(), GetParam().state);
    EXPECT_EQ(DVDGetCommandBlockStatus(&info.cb), GetParam().state);
    EXPECT_EQ(DVDGetDriveStatus(), GetParam().state);
    EXPECT_EQ(DVDGetCommandBlockStatus(&info.cb), DVD_STATE_BUSY) << "recovered";
    EXPECT_EQ(PollUntilDone(&info), DVD_STATE_END);
    EXPECT_EQ(std::string(buffer.bytes, 64), std::string(64, 'd'));
    EXPECT_EQ(DVDReadPrio(&info, buffer.bytes, 32, 0, 2), 32) << "the rule fired once";
}

INSTANTIATE_TEST_SUITE_P(Kinds, DvdFaultTest,
                         testing::Values(FaultCase{"dvd-read:retry@2x3", DVD_STATE_RETRY},
                                         FaultCase{"dvd-read:fatal@2x3", DVD_STATE_FATAL_ERROR},
                                         FaultCase{"dvd-read:no-disc@2x3", DVD_STATE_NO_DISK},
                                         FaultCase{"dvd-read:wrong-disc@2x3",
                                                   DVD_STATE_WRONG_DISK}));

TEST_F(DvdTest, SynchronousReadWaitsOutAnInjectedError) {
    m_disc.Write("file.bin", std::string(32, 's'));
    ASSERT_TRUE(FaultAddText("dvd-read:fatal@1x50"));
    DVDFileInfo info = Open("file.bin");
    Buffer buffer{};
    EXPECT_EQ(DVDReadPrio(&info, buffer.bytes, 32, 0, 1), 32);
    EXPECT_EQ(buffer.bytes[31], 's');
}

// A read queued behind one held in a drive error waits on that error: its own polls report
// it and count, so the error passes whoever polls.
TEST_F(DvdTest, ReadBehindAHeldOneSeesTheDriveErrorAndItsPollsCount) {
    m_disc.Write("file.bin", std::string(64, 'b'));
    ASSERT_TRUE(FaultAddText("dvd-read:fatal@1x2"));
    const HostKindScope host(HostKind::Headless);
    DVDFileInfo held = Open("file.bin");
    DVDFileInfo behind = Open("file.bin");
    Buffer buffers[2]{};
    ASSERT_TRUE(DVDReadAsyncPrio(&held, buffers[0].bytes, 32, 0, nullptr, 2));
    ASSERT_TRUE(DVDReadAsyncPrio(&behind, buffers[1].bytes, 64, 0, nullptr, 2));
    for (const s32 status : {DVD_STATE_FATAL_ERROR, DVD_STATE_FATAL_ERROR, DVD_STATE_BUSY}) {
        EXPECT_EQ(DVDGetCommandBlockStatus(&behind.cb), status);
    }
    EXPECT_EQ(PollUntilDone(&behind), DVD_STATE_END);
    EXPECT_EQ(PollUntilDone(&held), DVD_STATE_END);
    EXPECT_EQ(buffers[1].bytes[63], 'b');
}

struct BlockingRead {
    DVDFileInfo* file;
    Buffer* buffer;
    s32 result;
    bool bDone;
};

void* ReadBlocking(void* param) {
    auto* read = static_cast<BlockingRead*>(param);
    read->result = DVDReadPrio(read->file, read->buffer->bytes, 32, 0, 2);
    read->bDone = true;
    return nullptr;
}

// A blocking read of a console thread that meets a drive error gives the run back and waits
// for the main thread's polls (the game's, once a frame): the error lasts those polls, and
// the read ends at the next run of the threads after them.
TEST_F(DvdTest, BlockingReadOfAThreadWaitsOutTheErrorOnTheMainThreadsPolls) {
    m_disc.Write("file.bin", std::string(32, 't'));
    ASSERT_TRUE(FaultAddText("dvd-read:no-disc@1x3"));
    const HostKindScope host(HostKind::Headless);
    DVDFileInfo file = Open("file.bin");
    Buffer buffer{};
    BlockingRead read{&file, &buffer, 0, false};
    alignas(32) static u8 stack[1024];
    OSThread thread{-1};
    ASSERT_TRUE(OSCreateThread(&thread, ReadBlocking, &read, stack + sizeof(stack), sizeof(stack),
                               8, OS_THREAD_ATTR_DETACH));
    OSResumeThread(&thread);
    OSRunThreadsUntilIdle();
    EXPECT_FALSE(read.bDone) << "waits for the drive";
    for (int poll = 0; poll < 3; ++poll) {
        EXPECT_EQ(DVDGetDriveStatus(), DVD_STATE_NO_DISK) << poll;
    }
    EXPECT_EQ(DVDGetDriveStatus(), DVD_STATE_BUSY) << "released";
    EXPECT_FALSE(read.bDone) << "the thread reads at its next run";
    OSRunThreadsUntilIdle();
    EXPECT_TRUE(read.bDone);
    EXPECT_EQ(read.result, 32);
    EXPECT_EQ(buffer.bytes[31], 't');
    OSCancelThread(&thread);
}

// A synchronous read waits its turn: the more urgent reads queued before it are served
// first, the less urgent ones after, and the wait ends on either host.
TEST_F(DvdTest, SynchronousReadWaitsOnlyForMoreUrgentReads) {
    m_disc.Write("file.bin", std::string(64, 'q'));
    for (const HostKind kind : {HostKind::Window, HostKind::Headless}) {
        SCOPED_TRACE(kind == HostKind::Window ? "window" : "headless");
        const HostKindScope host(kind);
        s_calls.clear();
        DVDFileInfo urgent = Open("file.bin");
        DVDFileInfo later = Open("file.bin");
        DVDFileInfo own = Open("file.bin");
        Buffer buffers[3]{};
        ASSERT_TRUE(DVDReadAsyncPrio(&urgent, buffers[0].bytes, 32, 0, Record, 0));
        ASSERT_TRUE(DVDReadAsyncPrio(&later, buffers[1].bytes, 32, 0, Record, 3));
        EXPECT_EQ(DVDReadPrio(&own, buffers[2].bytes, 32, 0, 2), 32);
        EXPECT_EQ(buffers[0].bytes[31], 'q') << "the urgent read was served before";
        EXPECT_EQ(PollUntilDone(&later), DVD_STATE_END);
        ASSERT_EQ(s_calls.size(), 2u);
        EXPECT_EQ(s_calls[0].info, &urgent);
        EXPECT_EQ(s_calls[1].info, &later);
    }
}

TEST(FaultRulesTest, ParsesRuleListsAndRefusesBadRules) {
    FaultRule rules[kFaultMaxRules];
    u32 count = 0;
    ASSERT_TRUE(FaultParse("dvd-read:retry@3x20,dvd-read:wrong-disc@1", rules, 4, &count));
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(rules[0].kind, FaultKind::Retry);
    EXPECT_EQ(rules[0].when, 3u);
    EXPECT_EQ(rules[0].duration, 20u);
    EXPECT_EQ(rules[1].kind, FaultKind::WrongDisc);
    EXPECT_EQ(rules[1].duration, 1u);
    ASSERT_TRUE(FaultParse("", rules, 4, &count));
    EXPECT_EQ(count, 0u);
    for (const char* bad :
         {"dvd-read", "dvd-read:retry", "dvd-read:retry@", "dvd-read:retry@0", "dvd-read:retry@2x",
          "dvd-read:retry@2x0", "dvd-read:retry@2y3", "dvd-read:eject@1", "nand:retry@1",
          "dvd-read:retry@1,", ",dvd-read:retry@1", "dvd-read:retry@1234567890",
          "dvd-read:retry@1,dvd-read:retry@2,dvd-read:retry@3"}) {
        EXPECT_FALSE(FaultParse(bad, rules, 2, &count)) << bad;
    }
}

} // namespace
