// The save file on flash memory: "save.dat" (the block zero-padded to a multiple of 32
// bytes) and "banner.bin" (built at set-up from the disc's images) in the title's home
// directory. Operations return once their asynchronous steps are done, the main thread
// meanwhile yielding and polling input and kEvent::Check. Main thread only. A failure
// returns false, logs why and leaves in NandLastError() the flash library's result code,
// the space check's answer bits, or a byte count (short transfer, save file's length).
#pragma once

#include <console/nand.h>

namespace Kelvo_lib {

constexpr int MAX_FILE_SIZE = 102400;
constexpr const char* kSaveFileName = "save.dat";
constexpr const char* kBannerFileName = "banner.bin";

// Kept for the start-up that forces the banner's title to English: the title is the game's
// name, "Puzzles", whatever the console's language, so there is nothing to change.
void StorageManagerWiiForceEnglishOnly(bool bEnglishOnly);

// Set-up: the block's size (1 to MAX_FILE_SIZE - 1; anything else asserts), the home
// directory as current directory, and the banner. Missing or wrongly sized images only
// leave the banner without them.
void NandInit(int dataSize);
void NandDeinit();

// The caller's block that loads fill and saves write; it must stay valid while an
// operation runs.
void NandSetDataBlock(void* data);
int NandDataSize();
int NandLastError();
const NANDBanner& NandBanner();

// "save.dat" exists and opens for reading. When false, NandLastError() says whether the file
// is missing (NAND_RESULT_NOEXISTS) or could not be checked.
bool NandFindFile();
// "banner.bin" exists and opens for reading.
bool NandFindBanner();
// The flash memory has room for the save file and the banner.
bool NandSpace();
// Creates "save.dat" holding the block, whole or not at all (a power cut leaves no file).
bool NandCreate();
// Fills the block from a save file of exactly the rounded size; the block is left as it
// was otherwise.
bool NandLoad();
// Whether the last NandLoad failed on a save file of another length (damaged data), not
// on a file that could not be read.
bool NandLoadFoundDamage();
// Writes the block through a safe file: on any failure the previous save file stays.
bool NandSave();
// Creates "banner.bin" whole, or rewrites it through a safe file.
bool NandSaveBanner();
bool NandDeleteSave();

// The completion callback of every asynchronous flash-memory call.
void NandCallback(s32 result, NANDCommandBlock* block);
// Logs the name of a flash library result code.
void WiiPrintErrMsg(int result);

} // namespace Kelvo_lib
