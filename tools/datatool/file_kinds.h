// The files `dump` refuses: what it expected and what it found instead. Pictures and the
// game's music, which a user may well hand it, are named by their first bytes; a file of a
// kind it reads that ends before its header or the length its header gives is called
// truncated; anything else is shown by its first bytes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace datatool {

// The name of a kind of file that no dump reads ("a PNG picture"), told by its first
// bytes, or null.
const char* ForeignFileKind(const std::vector<unsigned char>& start);

// The first bytes of the file at path (at most kFileStartBytes; none when it cannot be
// read).
constexpr std::size_t kFileStartBytes = 96;
std::vector<unsigned char> FileStart(const std::string& path);

// Says on stderr that the file at path is truncated, and returns true, when start (its first
// bytes) shows it to be a file dump reads, by its signature (or a DSP sound by its name),
// and it holds fewer bytes than its header, or than the length its header gives.
bool ReportIfTruncated(const std::string& path, const std::vector<unsigned char>& start);

// Says on stderr that path is no file dump reads: the kinds it reads, and what start (the
// file's first bytes, or all of them) shows the file to be.
void ReportUnreadableFile(const std::string& path, const std::vector<unsigned char>& start);

} // namespace datatool
