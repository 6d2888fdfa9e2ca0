// Disc files read whole, the file stream over them, and the disc-wait callback while a
// scripted drive error holds the read.
#include "log_capture.h"
#include "temporary_host_directory.h"

#include <kelvo/io/kfileiostream.h>
#include <kelvo/platform/kfile.h>
#include <kelvo/platform/kplatform.h>

#include <console/fault.h>
#include <console/mem.h>
#include <console/vi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Kelvo_lib::kFileIOStream;
using test_support::LogCapture;
using test_support::TemporaryDisc;

namespace {

std::vector<bool> s_waitCalls;

void RecordWait(bool bError) {
    s_waitCalls.push_back(bError);
}

// A disc directory of its own for each test, and a hook that records the log.
class DiscFileTest : public testing::Test {
protected:
    void SetUp() override {
        FaultReset();
        s_waitCalls.clear();
    }

    void TearDown() override {
        kPlatformWii_Temp_SetIOCallback(nullptr);
        FaultReset();
    }

    static std::string Bytes(size_t size) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>('a' + i % 26);
        }
        return bytes;
    }

    static std::string ReadAll(SysFileHandle* handle) {
        std::string bytes(kPlatform_FileLength(handle), '\0');
        EXPECT_EQ(kPlatform_FileRead(handle, bytes.data(), static_cast<u32>(bytes.size())),
                  bytes.size());
        return bytes;
    }

    TemporaryDisc m_disc;
    LogCapture m_log;
};

TEST_F(DiscFileTest, ReadsWholeFileIntoBufferRoundedUpTo32Bytes) {
    for (const u32 size : {1u, 31u, 32u, 33u, 64u, 1000u}) {
        m_log.lines.clear();
        m_disc.Write("wii/Data.bin", Bytes(size));
        SysFileHandle* handle =
            kPlatform_FileOpen("WII/data.BIN", K_IO_ACCESS_READ, K_IO_OPEN_EXISTING);
        ASSERT_NE(handle, nullptr) << size;
        EXPECT_EQ(kPlatform_FileLength(handle), size);
        EXPECT_EQ(MEMGetSizeForMBlockExpHeap(handle->buffer), (size + 31) / 32 * 32) << size;
        EXPECT_EQ(handle->openMode, K_IO_OPEN_EXISTING);
        EXPECT_EQ(ReadAll(handle), Bytes(size));
        const std::string reading = "Reading " + std::to_string((size + 31) / 32 * 32) + " - ";
        EXPECT_EQ(m_log.CountContaining(reading), 1);
        EXPECT_EQ(m_log.lines.back(), "Read done");
        kPlatform_FileClose(handle);
    }
}

TEST_F(DiscFileTest, EmptyFileHasNoBufferAndReadsNothing) {
    m_disc.Write("empty.bin", "");
    SysFileHandle* handle = kPlatform_FileOpen("empty.bin", K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->buffer, nullptr);
    char byte = 0;
    EXPECT_EQ(kPlatform_FileRead(handle, &byte, 1), 0u);
    kPlatform_FileClose(handle);
}

TEST_F(DiscFileTest, OpenRefusesMissingFilesAndOpensWithoutReadAccess) {
    m_disc.Write("file.bin", "x");
    EXPECT_EQ(kPlatform_FileOpen("missing.bin", K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT), nullptr);
    EXPECT_EQ(kPlatform_FileOpen(nullptr, K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT), nullptr);
    EXPECT_EQ(kPlatform_FileOpen("file.bin", K_IO_ACCESS_WRITE, K_IO_OPEN_DEFAULT), nullptr);
    EXPECT_TRUE(m_log.lines.empty());
    SysFileHandle* handle =
        kPlatform_FileOpen("file.bin", K_IO_ACCESS_READWRITE, K_IO_OPEN_DEFAULT);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(kPlatform_FileWrite(handle, "y", 1), 0u);
    EXPECT_EQ(ReadAll(handle), "x");
    kPlatform_FileClose(handle);
}

TEST_F(DiscFileTest, ReadsStopAtTheEndWhereverTheSeekLeftThePosition) {
    m_disc.Write("file.bin", Bytes(10));
    SysFileHandle* handle = kPlatform_FileOpen("file.bin", K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT);
    ASSERT_NE(handle, nullptr);
    char out[16] = {};
    EXPECT_EQ(kPlatform_FileSeek(handle, 6, K_IO_SEEK_SET), 6u);
    EXPECT_EQ(kPlatform_FileRead(handle, out, 16), 4u);
    EXPECT_EQ(std::string(out, 4), "ghij");
    EXPECT_EQ(kPlatform_FileRead(handle, out, 16), 0u);
    EXPECT_EQ(kPlatform_FileSeek(handle, -3, K_IO_SEEK_CUR), 7u);
    EXPECT_EQ(kPlatform_FileSeek(handle, 99, static_cast<K_IO_SEEK>(7)), 7u) << "unknown origin";
    EXPECT_EQ(kPlatform_FileSeek(handle, -2, K_IO_SEEK_END), 8u);
    EXPECT_EQ(kPlatform_FileTell(handle), 8u);
    struct Seek {
        s32 offset;
        K_IO_SEEK origin;
    };
    for (const Seek seek :
         {Seek{0, K_IO_SEEK_END}, Seek{1, K_IO_SEEK_END}, Seek{100, K_IO_SEEK_SET},
          Seek{-5, K_IO_SEEK_SET}, Seek{-100, K_IO_SEEK_CUR}, Seek{0x7FFFFFFF, K_IO_SEEK_SET}}) {
        kPlatform_FileSeek(handle, 4, K_IO_SEEK_SET);
        kPlatform_FileSeek(handle, seek.offset, seek.origin);
        EXPECT_EQ(kPlatform_FileRead(handle, out, 16), 0u) << seek.offset << " " << seek.origin;
    }
    kPlatform_FileClose(handle);
}

TEST_F(DiscFileTest, NullHandleIsLoggedByEveryCall) {
    char out[4];
    EXPECT_EQ(kPlatform_FileRead(nullptr, out, 4), 0u);
    EXPECT_EQ(kPlatform_FileSeek(nullptr, 0, K_IO_SEEK_SET), 0u);
    EXPECT_EQ(kPlatform_FileTell(nullptr), 0u);
    EXPECT_EQ(kPlatform_FileLength(nullptr), 0u);
    EXPECT_EQ(kPlatform_FileGetAccessMode(nullptr), 0);
    kPlatform_FileClose(nullptr);
    EXPECT_EQ(m_log.lines,
              (std::vector<std::string>{"kPlatform_FileRead: Invalid file handle (NULL)",
                                        "kPlatform_FileSeek: Invalid file handle (NULL)",
                                        "kPlatform_FileTell: Invalid file handle (NULL)",
                                        "kPlatform_FileLength: Invalid file handle (NULL)",
                                        "kPlatform_FileGetAccessMode: Invalid file handle (NULL)",
                                        "kPlatform_FileClose: Invalid file handle (NULL)"}));
}

TEST_F(DiscFileTest, OpenFailsAndLeavesDriveIdleWhenTheBufferCannotBeHad) {
    m_disc.Write("file.bin", Bytes(100));
    auto* heap = static_cast<MEMHeapHandle>(MyDemoAllocator2.heap);
    MEMFlushQuarantineForExpHeap(heap);
    // Every free block taken, the largest first: blocks that earlier suites keep for good
    // may have split the heap's free space.
    std::vector<void*> everything;
    for (u32 free; (free = MEMGetAllocatableSizeForExpHeapEx(heap, 32)) > 0;) {
        everything.push_back(MEMAllocFromAllocator(&MyDemoAllocator2, free));
        ASSERT_NE(everything.back(), nullptr);
    }
    EXPECT_EQ(kPlatform_FileOpen("file.bin", K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT), nullptr);
    EXPECT_EQ(DVDGetDriveStatus(), DVD_STATE_END);
    for (void* block : everything) {
        MEMFreeToAllocator(&MyDemoAllocator2, block);
    }
    SysFileHandle* handle = kPlatform_FileOpen("file.bin", K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT);
    ASSERT_NE(handle, nullptr);
    kPlatform_FileClose(handle);
}

// A file the host cannot read once its read starts (here it becomes a folder while a
// retry holds the read, before the drive may serve it) fails the open with one log line,
// and the drive goes on.
fs::path s_madeUnreadable;

void MakeUnreadable(bool bError) {
    RecordWait(bError);
    if (!s_madeUnreadable.empty()) {
        fs::remove(s_madeUnreadable);
        fs::create_directory(s_madeUnreadable);
        s_madeUnreadable.clear();
    }
}

TEST_F(DiscFileTest, OpenOfAnUnreadableFileFailsOnceAndTheDriveGoesOn) {
    m_disc.Write("unreadable.bin", Bytes(10));
    m_disc.Write("file.bin", Bytes(40));
    s_madeUnreadable = m_disc.Root() / "unreadable.bin";
    ASSERT_TRUE(FaultAddText("dvd-read:retry@1x2"));
    kPlatformWii_Temp_SetIOCallback(MakeUnreadable);
    EXPECT_EQ(kPlatform_FileOpen("unreadable.bin", K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT), nullptr);
    EXPECT_EQ(m_log.Count("Fatal error"), 1);
    EXPECT_EQ(m_log.Count("kPlatform_FileOpen: the drive could not read unreadable.bin"), 1);
    EXPECT_EQ(s_waitCalls.back(), true);
    SysFileHandle* handle = kPlatform_FileOpen("file.bin", K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(ReadAll(handle), Bytes(40));
    kPlatform_FileClose(handle);
}

struct DriveErrorCase {
    const char* rule;
    s32 state;
    const char* logLine;
    int waitPolls; // the wait's polls in error; a fatal one also polls the drive's status
};

class DiscWaitTest : public DiscFileTest, public testing::WithParamInterface<DriveErrorCase> {};

TEST_P(DiscWaitTest, CallbackSeesTheErrorWhileItLastsThenTheReadCompletes) {
    const std::string bytes = Bytes(5000);
    m_disc.Write("wii/uk_english.txz", bytes);
    ASSERT_TRUE(FaultAddText(GetParam().rule));
    kPlatformWii_Temp_SetIOCallback(RecordWait);
    SysFileHandle* handle =
        kPlatform_FileOpen("wii/uk_english.txz", K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(ReadAll(handle), bytes);
    kPlatform_FileClose(handle);
    // Six polls see the error: the open's "Reading" line takes the first, the wait the rest.
    // The callback hears of the error on each of the wait's polls in error, then no more.
    EXPECT_EQ(m_log.Count("Reading 5024 - status " + std::to_string(GetParam().state)), 1);
    EXPECT_EQ(m_log.Count(GetParam().logLine), GetParam().waitPolls);
    const auto firstClear = std::find(s_waitCalls.begin(), s_waitCalls.end(), false);
    EXPECT_EQ(firstClear - s_waitCalls.begin(), GetParam().waitPolls);
    EXPECT_EQ(std::find(firstClear, s_waitCalls.end(), true), s_waitCalls.end());
}

INSTANTIATE_TEST_SUITE_P(Errors, DiscWaitTest,
                         testing::Values(DriveErrorCase{"dvd-read:retry@1x6", 11, "Retry error", 5},
                                         DriveErrorCase{"dvd-read:fatal@1x6", -1, "Fatal error", 3},
                                         DriveErrorCase{"dvd-read:no-disc@1x6", 4, "No disk", 5},
                                         DriveErrorCase{"dvd-read:wrong-disc@1x6", 6, "Wrong disk",
                                                        5}));

// However long a drive error lasts, the wait polls it once a retrace, never in a busy loop.
TEST_F(DiscFileTest, PollsADriveErrorOnceARetrace) {
    m_disc.Write("wii/uk_english.txz", Bytes(100));
    ASSERT_TRUE(FaultAddText("dvd-read:no-disc@1x6"));
    kPlatformWii_Temp_SetIOCallback(RecordWait);
    const u32 before = VIGetRetraceCount();
    kPlatform_FileClose(
        kPlatform_FileOpen("wii/uk_english.txz", K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT));
    EXPECT_EQ(VIGetRetraceCount() - before, 5u) << "one for each of the wait's polls in error";
}

TEST_F(DiscFileTest, FileStreamReadsSeeksAndLeavesTheHandleToItsOwner) {
    m_disc.Write("file.bin", Bytes(26));
    {
        kFileIOStream stream(kPlatform_FileOpen("file.bin", K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT));
        ASSERT_TRUE(stream.IsValid());
        EXPECT_TRUE(stream.Reading());
        EXPECT_FALSE(stream.Writing());
        EXPECT_EQ(stream.Length(), 26u);
        char out[8] = {};
        EXPECT_EQ(stream.Seek(-3, K_IO_SEEK_END), 23);
        EXPECT_EQ(stream.Read(out, 8), 3u);
        EXPECT_EQ(std::string(out, 3), "xyz");
        EXPECT_EQ(stream.Tell(), 26u);
        EXPECT_EQ(stream.Write("q", 1), 0u);
        stream.Close();
        EXPECT_FALSE(stream.IsValid());
    }
    EXPECT_EQ(m_log.Count("kFileIOStream::~kFileIOStream(): File handle still active, use "
                          "Detach() or Close()"),
              0);
    SysFileHandle* handle = kPlatform_FileOpen("file.bin", K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT);
    {
        kFileIOStream stream;
        stream.Attach(handle);
    }
    EXPECT_EQ(m_log.Count("kFileIOStream::~kFileIOStream(): File handle still active, use "
                          "Detach() or Close()"),
              1);
    kPlatform_FileClose(handle);
}

} // namespace
