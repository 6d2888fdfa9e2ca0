// Flash file system (NAND): the console's flash memory as a host directory (--nand DIR,
// else $XDG_DATA_HOME/puzzles/nand or ~/.local/share/puzzles/nand, made when missing).
// Calls return a NAND_RESULT code or a byte count; an asynchronous call queues its command,
// which runs with its callback at the main thread's next OSYieldThread. Safe files commit
// a working copy atomically on close. Main thread only; no operator new. Injected faults
// (console/fault.h) fail a call, shorten a transfer or cut the power between two steps.
#pragma once

#include <console/types.h>

enum : s32 {
    NAND_RESULT_OK = 0,
    NAND_RESULT_ACCESS = -1,
    NAND_RESULT_ALLOC_FAILED = -2,
    NAND_RESULT_BUSY = -3,
    NAND_RESULT_CORRUPT = -4,
    NAND_RESULT_ECC_CRIT = -5,
    NAND_RESULT_EXISTS = -6,
    NAND_RESULT_INVALID = -8,
    NAND_RESULT_MAXBLOCKS = -9,
    NAND_RESULT_MAXFD = -10,
    NAND_RESULT_MAXFILES = -11,
    NAND_RESULT_NOEXISTS = -12,
    NAND_RESULT_NOTEMPTY = -13,
    NAND_RESULT_OPENFD = -14,
    NAND_RESULT_AUTHENTICATION = -15,
    NAND_RESULT_UNKNOWN = -64,
    NAND_RESULT_FATAL_ERROR = -128,
};

// Paths are the console's: absolute from "/", or relative to the directory NANDChangeDir
// set (at first the home directory). A path, with its terminating zero; a file or
// directory name (letters, digits, '.', '_', '-'), without it.
constexpr u32 NAND_MAX_PATH = 64;
constexpr u32 NAND_MAX_NAME = 12;
// Space is counted in file-system blocks, one per started 16 KiB of a file, and in
// inodes, one per file or directory.
constexpr u32 NAND_FS_BLOCK_SIZE = 16384;
// Open files at once, safe files included.
constexpr u32 NAND_MAX_OPEN_FILES = 15;

// Access modes of an open.
enum : u8 {
    NAND_ACCESS_READ = 1,
    NAND_ACCESS_WRITE = 2,
    NAND_ACCESS_RW = 3,
};

// Permission bits of a created file: the title's own, and those of other titles (the
// console's data-management screen reads banners through the latter).
enum : u8 {
    NAND_PERM_OTHERS_READ = 0x04,
    NAND_PERM_OTHERS_WRITE = 0x08,
    NAND_PERM_OWNER_READ = 0x10,
    NAND_PERM_OWNER_WRITE = 0x20,
};

// Answer bits of NANDCheck: what the asked-for space would exceed.
constexpr u32 NAND_CHECK_SYSTEM_BLOCKS = 0x01;
constexpr u32 NAND_CHECK_SYSTEM_INODES = 0x02;
constexpr u32 NAND_CHECK_HOME_BLOCKS = 0x04;
constexpr u32 NAND_CHECK_HOME_INODES = 0x08;

// The exit code of a process whose power an injected fault cut.
constexpr int NAND_POWER_CUT_EXIT_CODE = 86;

// An open file. Zero-initialised it is closed; the library checks it on every call.
struct NANDFileInfo {
    u32 slot;
    u32 serial; // 0: not open
};

struct NANDCommandBlock;
using NANDCallback = void (*)(s32 result, NANDCommandBlock* block);

// One asynchronous command. Every field belongs to the library while it is queued.
struct NANDCommandBlock {
    NANDCommandBlock* next;
    u32 command;
    bool queued;
    NANDCallback callback;
    NANDFileInfo* fileInfo;
    void* buffer;
    u32 length;
    u8 access;
    char path[NAND_MAX_PATH];
};

// The banner file's record: the picture and icons the console's data-management screen
// shows for the title's saved data. Every field is stored as in the file (big-endian,
// comment lines in UTF-16), so the record is written to the file as it stands.
constexpr u32 NAND_BANNER_COMMENT_CHARS = 32;
constexpr u32 NAND_BANNER_TEXTURE_WIDTH = 192;
constexpr u32 NAND_BANNER_TEXTURE_HEIGHT = 64;
constexpr u32 NAND_BANNER_ICON_WIDTH = 48;
constexpr u32 NAND_BANNER_ICON_HEIGHT = 48;
constexpr u32 NAND_BANNER_TEXTURE_SIZE = NAND_BANNER_TEXTURE_WIDTH * NAND_BANNER_TEXTURE_HEIGHT * 2;
constexpr u32 NAND_BANNER_ICON_SIZE = NAND_BANNER_ICON_WIDTH * NAND_BANNER_ICON_HEIGHT * 2;
constexpr u32 NAND_BANNER_ICON_MAX = 8;
constexpr u32 NAND_BANNER_SIGNATURE = 0x4E424E52; // "NBNR"
// Icon frame speeds: 0 ends the animation before the frame; 1 to 3 show it for 4, 8
// or 12 fields.
constexpr u32 NAND_BANNER_ICON_SPEED_MAX = 3;

struct NANDBanner {
    u8 signature[4];
    u8 flag[4];
    u8 iconSpeed[2]; // 2 bits per frame, frame i in bits 2i and 2i + 1
    u8 reserved[22];
    u8 comment[2][NAND_BANNER_COMMENT_CHARS * 2]; // title, then subtitle
    u8 bannerTexture[NAND_BANNER_TEXTURE_SIZE];   // RGB5A3, in the graphics processor's tiles
    u8 iconTexture[NAND_BANNER_ICON_MAX][NAND_BANNER_ICON_SIZE];
};
static_assert(sizeof(NANDBanner) == 61600, "the banner file's size");

// Zeroes the banner, sets its signature and flag and copies the two comment lines (cut
// at 32 characters, zero-terminated in host order; null gives an empty line).
void NANDInitBanner(NANDBanner* banner, u32 flag, const char16_t* title, const char16_t* comment);
// A frame outside 0 to 7 or a speed above 3 is reported and changes nothing.
void NANDSetIconSpeed(NANDBanner* banner, u32 frame, u32 speed);
u32 NANDGetIconSpeed(const NANDBanner* banner, u32 frame);

// The title's home directory, "/title/puzzles/data", into a buffer of NAND_MAX_PATH.
s32 NANDGetHomeDir(char* path);
s32 NANDChangeDir(const char* path);

// Creates an empty file; NAND_RESULT_EXISTS when the name is taken.
s32 NANDCreate(const char* path, u8 permission, u8 attributes);
// Deletes a file or an empty directory.
s32 NANDDelete(const char* path);
// Moves a closed file into a directory under the same name, in one step:
// NAND_RESULT_EXISTS when the name is taken there.
s32 NANDMove(const char* path, const char* directory);
// Whether fsBlocks more blocks and inodes more inodes would fit: the answer bits.
s32 NANDCheck(u32 fsBlocks, u32 inodes, u32* answer);

s32 NANDOpen(const char* path, NANDFileInfo* info, u8 access);
// The file is closed whatever the result.
s32 NANDClose(NANDFileInfo* info);
// From the file's position, which moves on by the count transferred.
s32 NANDRead(NANDFileInfo* info, void* buffer, u32 length);
s32 NANDWrite(NANDFileInfo* info, const void* buffer, u32 length);
s32 NANDGetLength(NANDFileInfo* info, u32* length);

// Asynchronous calls: NAND_RESULT_OK once queued (the callback then gets the result),
// NAND_RESULT_BUSY when the block is queued already, NAND_RESULT_INVALID without a block.
s32 NANDOpenAsync(const char* path, NANDFileInfo* info, u8 access, NANDCallback callback,
                  NANDCommandBlock* block);
s32 NANDCloseAsync(NANDFileInfo* info, NANDCallback callback, NANDCommandBlock* block);
s32 NANDReadAsync(NANDFileInfo* info, void* buffer, u32 length, NANDCallback callback,
                  NANDCommandBlock* block);
s32 NANDWriteAsync(NANDFileInfo* info, const void* buffer, u32 length, NANDCallback callback,
                   NANDCommandBlock* block);
// Opens an existing file through a working copy of it, made with the caller's copy buffer
// (32-byte aligned, a non-zero multiple of 32 bytes). Writes go to the copy; the safe close
// puts it in the file's place (a failed one throws it away), the safe cancel throws it away.
// Opened for writing only, the copy starts empty: the file becomes exactly what was written.
s32 NANDSimpleSafeOpenAsync(const char* path, NANDFileInfo* info, u8 access, void* copyBuffer,
                            u32 copyLength, NANDCallback callback, NANDCommandBlock* block);
s32 NANDSimpleSafeCloseAsync(NANDFileInfo* info, NANDCallback callback, NANDCommandBlock* block);
s32 NANDSimpleSafeCancelAsync(NANDFileInfo* info, NANDCallback callback, NANDCommandBlock* block);

// Test API. The space the flash memory offers: this title's limits, and what the rest of
// the flash memory has free.
struct NANDCapacity {
    u32 homeBlocks;
    u32 homeInodes;
    u32 freeBlocks;
    u32 freeInodes;
};
NANDCapacity NANDDefaultCapacity();
void NANDSetCapacityForTest(const NANDCapacity& capacity);
// Closes every file (discarding working copies), drops queued commands without their
// callbacks, forgets the current directory and restores the default capacity.
void NANDResetForTest();
// The host directory holding the flash memory, created when missing; "" when it cannot be.
const char* NANDHostRoot();
// Whether a host folder may hold the flash memory: one that is missing, empty or cannot be
// listed (its first use then tells), or one the console made: its title folder, and nothing
// besides but the folder of working copies, which the console empties at start-up. Otherwise
// false, with the first entry that does not belong there copied into stranger.
bool NANDHostMayUseFolder(const char* folder, char* stranger, u32 capacity);
