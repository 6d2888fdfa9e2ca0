// The save's files on flash memory printed for people and checks: "save.dat" as its
// framing (length, the block it holds, the zero padding to a multiple of 32 bytes) and
// "banner.bin" field by field (signature, flag, icon speeds, title lines, where the
// pictures lie and whether they hold anything).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace datatool {

// A file named save.dat; a file of the banner's size that begins with its signature.
bool IsSaveFile(const std::string& path);
bool IsBannerFile(const std::string& path);

// False when the framing does not fit a block of blockSize bytes.
bool DumpSaveFile(const std::vector<unsigned char>& bytes, unsigned int blockSize, FILE* out);
void DumpBannerFile(const std::vector<unsigned char>& bytes, FILE* out);

// datatool dump save.dat [--block-size N] (default the game's 5,972 bytes); datatool dump
// banner.bin.
int RunSaveFileDump(int argc, char** argv);
int RunBannerFileDump(int argc, char** argv);

} // namespace datatool
