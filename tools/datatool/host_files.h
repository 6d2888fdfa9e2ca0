// Whole files of the host's file system, for the subcommands. Each returns false, after
// saying why on stderr, when the file cannot be read or written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datatool {

constexpr std::uintmax_t kMaxInputBytes = 256u << 20;

// A regular file of at most kMaxInputBytes; false, after saying why, for anything else.
bool IsInputFile(const std::string& path);

bool ReadHostFile(const std::string& path, std::vector<unsigned char>* bytes);
bool WriteHostFile(const std::string& path, const std::vector<unsigned char>& bytes);

} // namespace datatool
