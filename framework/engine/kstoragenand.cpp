// Flash-memory I/O of the save file: set-up with the banner, the polled wait for
// asynchronous calls, and the operations the storage state machine runs.
#include <framework/kevent.h>
#include <framework/kstoragenand.h>

#include <kelvo/input/kinputsystem.h>
#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/kfile.h>
#include <kelvo/platform/klog.h>

#include <console/os.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace Kelvo_lib {
namespace {

constexpr const char* kLogSystem = "kStorage";
constexpr u32 kCopyBufferSize = 16384;
constexpr u32 kBannerSize = sizeof(NANDBanner);
constexpr u8 kSavePermission = NAND_PERM_OWNER_READ | NAND_PERM_OWNER_WRITE;
constexpr u8 kBannerPermission = kSavePermission | NAND_PERM_OTHERS_READ;
constexpr u32 kIconSpeed = 2;
constexpr const char* kBannerImageName = "save/save_banner.tpl.bin";
constexpr const char* kIconImageFormat = "save/save_icon_0%d.tpl.bin";
// The flash memory's folder for files in the making, emptied at every start.
constexpr const char* kWorkFolder = "/tmp";

int s_dataSize = 0;
void* s_dataPtr = nullptr;
alignas(32) u8 s_wiiRWBuf[MAX_FILE_SIZE];
alignas(32) u8 s_wiiCopyBuf[kCopyBufferSize];
alignas(32) NANDBanner s_banner;
NANDCommandBlock s_block;
NANDFileInfo s_fileInfo;
int s_lastError = 0;
bool s_bLoadFoundDamage = false;
// Set by the completion callback, which on the console runs in another context.
std::atomic<bool> s_nandFinished{false};
std::atomic<s32> s_nandResult{0};
// The game's name, the banner's title in every language of the console.
constexpr const char16_t* kBannerTitle = u"Puzzles";

struct ResultName {
    int result;
    const char* name;
};
constexpr ResultName kResultNames[] = {
    {NAND_RESULT_ACCESS, "NAND_RESULT_ACCESS"},
    {NAND_RESULT_ALLOC_FAILED, "NAND_RESULT_ALLOC_FAILED"},
    {NAND_RESULT_BUSY, "NAND_RESULT_BUSY"},
    {NAND_RESULT_CORRUPT, "NAND_RESULT_CORRUPT"},
    {NAND_RESULT_ECC_CRIT, "NAND_RESULT_ECC_CRIT"},
    {NAND_RESULT_EXISTS, "NAND_RESULT_EXISTS"},
    {NAND_RESULT_INVALID, "NAND_RESULT_INVALID"},
    {NAND_RESULT_MAXBLOCKS, "NAND_RESULT_MAXBLOCKS"},
    {NAND_RESULT_MAXFD, "NAND_RESULT_MAXFD"},
    {NAND_RESULT_MAXFILES, "NAND_RESULT_MAXFILES"},
    {NAND_RESULT_NOEXISTS, "NAND_RESULT_NOEXISTS"},
    {NAND_RESULT_NOTEMPTY, "NAND_RESULT_NOTEMPTY"},
    {NAND_RESULT_OPENFD, "NAND_RESULT_OPENFD"},
    {NAND_RESULT_AUTHENTICATION, "NAND_RESULT_AUTHENTICATION"},
    {NAND_RESULT_UNKNOWN, "NAND_RESULT_UNKNOWN"},
    {NAND_RESULT_FATAL_ERROR, "NAND_RESULT_FATAL_ERROR"},
};

s32 RoundedSize() {
    return (s_dataSize + 31) & ~31;
}

// Starts a call and waits for its completion, keeping the remotes and console events
// polled; a call that cannot start counts as NAND_RESULT_BUSY.
template <typename Start>
s32 RunAsync(Start start) {
    s_nandFinished.store(false);
    s_nandResult.store(0);
    const s32 started = start();
    kLogSys(kLogSystem, "NAND Async wait\n");
    if (started != NAND_RESULT_OK) {
        kLogSys(kLogSystem, "  Error starting async\n");
        return NAND_RESULT_BUSY;
    }
    while (!s_nandFinished.load()) {
        OSYieldThread();
        if (kInput != nullptr) {
            kInput->Update();
        }
        kEvent::Check();
        OSYieldThread();
    }
    const s32 result = s_nandResult.load();
    kLogSys(kLogSystem, "NAND Async complete: %d\n", result);
    return result;
}

s32 SafeOpen(const char* name, u8 access) {
    return RunAsync([=] {
        return NANDSimpleSafeOpenAsync(name, &s_fileInfo, access, s_wiiCopyBuf, kCopyBufferSize,
                                       NandCallback, &s_block);
    });
}

s32 SafeClose() {
    return RunAsync([] { return NANDSimpleSafeCloseAsync(&s_fileInfo, NandCallback, &s_block); });
}

s32 SafeCancel() {
    return RunAsync([] { return NANDSimpleSafeCancelAsync(&s_fileInfo, NandCallback, &s_block); });
}

bool Finish(const char* operation, s32 result, bool success) {
    s_lastError = result;
    kLogSys(kLogSystem, "%s: %s\n", operation, success ? "TRUE" : "FALSE");
    return success;
}

// Whether a disc image has exactly `size` bytes, read into `destination` when it has.
enum class ImageRead { Missing, WrongSize, Good };

ImageRead ReadDiscImage(const char* name, void* destination, u32 size) {
    SysFileHandle* handle = kPlatform_FileOpen(name, K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT);
    if (handle == nullptr) {
        kLogSys(kLogSystem, "failed to open %s\n", name);
        return ImageRead::Missing;
    }
    const u32 length = kPlatform_FileLength(handle);
    ImageRead outcome = ImageRead::WrongSize;
    if (length == size) {
        const u32 read = kPlatform_FileRead(handle, destination, size);
        outcome = read == size ? ImageRead::Good : ImageRead::Missing;
        if (read != size) {
            kLogSys(kLogSystem, "failed to read %s (read %u should be %u)\n", name, read, size);
        }
    }
    kPlatform_FileClose(handle);
    return outcome;
}

// Icon frames in order until one is missing or wrongly sized; true when all 8 are good.
bool LoadIcons() {
    for (u32 i = 0; i < NAND_BANNER_ICON_MAX; ++i) {
        char name[64];
        std::snprintf(name, sizeof(name), kIconImageFormat, static_cast<int>(i + 1));
        const ImageRead read = ReadDiscImage(name, s_banner.iconTexture[i], NAND_BANNER_ICON_SIZE);
        if (read != ImageRead::Good) {
            std::memset(s_banner.iconTexture[i], 0, NAND_BANNER_ICON_SIZE);
            kLogSys(kLogSystem,
                    read == ImageRead::Missing ? "ERROR: Icon %u NULL\n"
                                               : "ERROR: Icon %u size incorrect\n",
                    i);
            return false;
        }
        NANDSetIconSpeed(&s_banner, i, kIconSpeed);
    }
    return true;
}

// The banner picture is kept only when it and all icon frames are good.
void LoadBannerImages() {
    const ImageRead banner =
        ReadDiscImage(kBannerImageName, s_banner.bannerTexture, NAND_BANNER_TEXTURE_SIZE);
    if (banner == ImageRead::Missing) {
        kLogSys(kLogSystem, "Error loading banner save file\n");
    } else if (banner == ImageRead::WrongSize) {
        kLogSys(kLogSystem, "ERROR: Banner size incorrect\n");
    }
    if (banner != ImageRead::Good || !LoadIcons()) {
        std::memset(s_banner.bannerTexture, 0, NAND_BANNER_TEXTURE_SIZE);
    }
}

void ChangeToHomeDir() {
    char path[NAND_MAX_PATH];
    s32 result = NANDGetHomeDir(path);
    if (result != NAND_RESULT_OK) {
        kLogSys(kLogSystem, "ERROR: GetHomeDir failed! err: %d\n", result);
        return;
    }
    result = NANDChangeDir(path);
    if (result != NAND_RESULT_OK) {
        kLogSys(kLogSystem, "ERROR: ChangeDir failed! err: %d\n", result);
    }
}

// The save file's length must be the rounded block size: shorter or longer is damage.
bool ReadBlock(s32* result) {
    u32 length = 0;
    const s32 rounded = RoundedSize();
    *result = NANDGetLength(&s_fileInfo, &length);
    if (*result != NAND_RESULT_OK) {
        kLogSys(kLogSystem, "ReadData: save.dat's length cannot be read\n");
        WiiPrintErrMsg(*result);
        return false;
    }
    if (length != static_cast<u32>(rounded)) {
        kLogSys(kLogSystem, "ReadData: save.dat is %u bytes, not %d\n", length, rounded);
        *result = static_cast<s32>(length);
        s_bLoadFoundDamage = true;
        return false;
    }
    kLogSys(kLogSystem, "ReadData: attempting to read %d bytes (%d rounded to 32b)\n", rounded,
            s_dataSize);
    *result = RunAsync([=] {
        return NANDReadAsync(&s_fileInfo, s_wiiRWBuf, static_cast<u32>(rounded), NandCallback,
                             &s_block);
    });
    if (*result != rounded) {
        kLogSys(kLogSystem, "ReadData: Couldn't read %d bytes (got %d)\n", rounded, *result);
        WiiPrintErrMsg(*result);
        return false;
    }
    std::memcpy(s_dataPtr, s_wiiRWBuf, static_cast<size_t>(s_dataSize));
    return true;
}

// Writes the rounded block into the open safe file; a short or failed write is
// cancelled, so that the previous save stays.
bool WriteBlock(s32* result) {
    const s32 rounded = RoundedSize();
    std::memset(s_wiiRWBuf, 0, static_cast<size_t>(rounded));
    std::memcpy(s_wiiRWBuf, s_dataPtr, static_cast<size_t>(s_dataSize));
    kLogSys(kLogSystem, "WriteData: attempting to write %d bytes (%d rounded to 32b)\n", rounded,
            s_dataSize);
    *result = RunAsync([=] {
        return NANDWriteAsync(&s_fileInfo, s_wiiRWBuf, static_cast<u32>(rounded), NandCallback,
                              &s_block);
    });
    if (*result != rounded) {
        kLogSys(kLogSystem, "WriteData: Couldn't wrote %d bytes (managed %d)\n", rounded, *result);
        WiiPrintErrMsg(*result);
        SafeCancel();
        return false;
    }
    return true;
}

// Closes the safe file, committing it; a failed commit leaves the previous file.
bool Commit(const char* name, s32* result) {
    *result = SafeClose();
    if (*result != NAND_RESULT_OK) {
        kLogSys(kLogSystem, "WriteData: %s couldn't be committed\n", name);
        WiiPrintErrMsg(*result);
        return false;
    }
    return true;
}

// Whether a file opens for reading: the open's result.
s32 OpenAndClose(const char* name) {
    const s32 result = NANDOpen(name, &s_fileInfo, NAND_ACCESS_READ);
    if (result == NAND_RESULT_OK) {
        NANDClose(&s_fileInfo);
    }
    return result;
}

// Writes a new file whole in the working folder, then moves it into the home directory in
// one step: a power cut leaves no file or the complete one. NAND_RESULT_EXISTS when the
// home directory has the file already.
s32 CreateWhole(const char* name, u8 permission, const void* bytes, u32 size) {
    char work[NAND_MAX_PATH];
    char home[NAND_MAX_PATH];
    std::snprintf(work, sizeof(work), "%s/%s", kWorkFolder, name);
    s32 result = NANDGetHomeDir(home);
    NANDDelete(work); // a leftover of an earlier failed attempt
    if (result == NAND_RESULT_OK) {
        result = NANDCreate(work, permission, 0);
    }
    if (result != NAND_RESULT_OK) {
        return result;
    }
    result = NANDOpen(work, &s_fileInfo, NAND_ACCESS_WRITE);
    if (result == NAND_RESULT_OK) {
        const s32 written = NANDWrite(&s_fileInfo, bytes, size);
        const s32 closed = NANDClose(&s_fileInfo);
        result = written != static_cast<s32>(size) ? (written < 0 ? written : NAND_RESULT_UNKNOWN)
                                                   : closed;
    }
    if (result == NAND_RESULT_OK) {
        result = NANDMove(work, home);
    }
    if (result != NAND_RESULT_OK) {
        WiiPrintErrMsg(result);
        NANDDelete(work);
    }
    return result;
}

} // namespace

void StorageManagerWiiForceEnglishOnly(bool) {}

void NandInit(int dataSize) {
    s_dataSize = dataSize;
    kLogSys(kLogSystem, "DataSize: %d\n", dataSize);
    kAssert(s_dataSize < MAX_FILE_SIZE);
    kAssert(s_dataSize > 0);
    ChangeToHomeDir();
    NANDInitBanner(&s_banner, 0, kBannerTitle, u"");
    LoadBannerImages();
}

void NandDeinit() {
    s_dataSize = 0;
    s_dataPtr = nullptr;
    s_lastError = 0;
    s_bLoadFoundDamage = false;
}

void NandSetDataBlock(void* data) {
    s_dataPtr = data;
}

int NandDataSize() {
    return s_dataSize;
}

int NandLastError() {
    return s_lastError;
}

const NANDBanner& NandBanner() {
    return s_banner;
}

bool NandFindFile() {
    const s32 result = OpenAndClose(kSaveFileName);
    return Finish("NandFindFile", result, result == NAND_RESULT_OK);
}

bool NandFindBanner() {
    const s32 result = OpenAndClose(kBannerFileName);
    return Finish("NandFindBanner", result, result == NAND_RESULT_OK);
}

bool NandSpace() {
    const int blocks =
        static_cast<int>(std::ceil(static_cast<double>(s_dataSize + static_cast<int>(kBannerSize)) /
                                   static_cast<double>(NAND_FS_BLOCK_SIZE)));
    u32 answer = 0;
    const s32 result = NANDCheck(static_cast<u32>(blocks), 2, &answer);
    kLogSys(kLogSystem, "NandSpace %d: Returns %d Result %u\n", blocks, result, answer);
    kLogSys(kLogSystem, "NAND CHECK RESULT %u\n", answer);
    const s32 lastError =
        result == NAND_RESULT_OK && answer != 0 ? static_cast<s32>(answer) : result;
    return Finish("NandSpace", lastError, result == NAND_RESULT_OK && answer == 0);
}

bool NandCreate() {
    if (s_dataPtr == nullptr) {
        kLogSys(kLogSystem, "NandCreate: no block to write\n");
        return Finish("NandCreate", NAND_RESULT_INVALID, false);
    }
    const s32 rounded = RoundedSize();
    std::memset(s_wiiRWBuf, 0, static_cast<size_t>(rounded));
    std::memcpy(s_wiiRWBuf, s_dataPtr, static_cast<size_t>(s_dataSize));
    const s32 result =
        CreateWhole(kSaveFileName, kSavePermission, s_wiiRWBuf, static_cast<u32>(rounded));
    return Finish("NandCreate", result, result == NAND_RESULT_OK);
}

bool NandLoad() {
    s_bLoadFoundDamage = false;
    if (s_dataPtr == nullptr) {
        kLogSys(kLogSystem, "ReadData: no block to fill\n");
        return Finish("NandLoad", NAND_RESULT_INVALID, false);
    }
    s32 result = RunAsync([] {
        return NANDOpenAsync(kSaveFileName, &s_fileInfo, NAND_ACCESS_READ, NandCallback, &s_block);
    });
    if (result != NAND_RESULT_OK) {
        WiiPrintErrMsg(result);
        return Finish("NandLoad", result, false);
    }
    const bool loaded = ReadBlock(&result);
    RunAsync([] { return NANDCloseAsync(&s_fileInfo, NandCallback, &s_block); });
    return Finish("NandLoad", result, loaded);
}

bool NandLoadFoundDamage() {
    return s_bLoadFoundDamage;
}

bool NandSave() {
    if (s_dataPtr == nullptr) {
        kLogSys(kLogSystem, "WriteData: no block to write\n");
        return Finish("NandSave", NAND_RESULT_INVALID, false);
    }
    s32 result = SafeOpen(kSaveFileName, NAND_ACCESS_WRITE);
    if (result != NAND_RESULT_OK) {
        // Nothing was opened, so there is nothing to cancel.
        kLogSys(kLogSystem, "ReadData: save.dat couldn't be opened\n");
        WiiPrintErrMsg(result);
        return Finish("NandSave", result, false);
    }
    const bool saved = WriteBlock(&result) && Commit(kSaveFileName, &result);
    return Finish("NandSave", result, saved);
}

bool NandSaveBanner() {
    s32 result = CreateWhole(kBannerFileName, kBannerPermission, &s_banner, kBannerSize);
    if (result != NAND_RESULT_EXISTS) {
        return Finish("NandSaveBanner", result, result == NAND_RESULT_OK);
    }
    result = SafeOpen(kBannerFileName, NAND_ACCESS_WRITE);
    if (result != NAND_RESULT_OK) {
        WiiPrintErrMsg(result);
        return Finish("NandSaveBanner", result, false);
    }
    kLogSys(kLogSystem, "Writing nand banner %u\n", kBannerSize);
    result = NANDWrite(&s_fileInfo, &s_banner, kBannerSize);
    if (result != static_cast<s32>(kBannerSize)) {
        WiiPrintErrMsg(result);
        SafeCancel();
        return Finish("NandSaveBanner", result, false);
    }
    const bool committed = Commit(kBannerFileName, &result);
    return Finish("NandSaveBanner", result, committed);
}

bool NandDeleteSave() {
    const s32 result = NANDDelete(kSaveFileName);
    return Finish("NandDeleteSave", result, result == NAND_RESULT_OK);
}

void NandCallback(s32 result, NANDCommandBlock*) {
    s_nandResult.store(result);
    s_nandFinished.store(true);
}

void WiiPrintErrMsg(int result) {
    for (const ResultName& entry : kResultNames) {
        if (entry.result == result) {
            kLogSys(kLogSystem, "%s\n", entry.name);
            return;
        }
    }
    kLogSys(kLogSystem, "Result: %d\n", result);
}

} // namespace Kelvo_lib
