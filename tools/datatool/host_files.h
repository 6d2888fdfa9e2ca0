// Whole files of the host's file system, for the subcommands. Each returns false, after
// saying why on stderr, when the file cannot be read or written; a file that cannot be
// written whole is removed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datatool {

constexpr std::uintmax_t kMaxInputBytes = 256u << 20;

// Why the path names no regular file of at most kMaxInputBytes ("'path' is not a file
// that can be read"); empty when it names one.
std::string InputFileFault(const std::string& path);
// Whether the path names such a file; false after saying why.
bool IsInputFile(const std::string& path);

bool ReadHostFile(const std::string& path, std::vector<unsigned char>* bytes);
bool WriteHostFile(const std::string& path, const std::vector<unsigned char>& bytes);

} // namespace datatool
