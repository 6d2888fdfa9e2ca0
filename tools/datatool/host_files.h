// Whole files of the host's file system, for the subcommands. Each returns false, after
// saying why on stderr, when the file cannot be read or written.
#pragma once

#include <string>
#include <vector>

namespace datatool {

bool ReadHostFile(const std::string& path, std::vector<unsigned char>* bytes);
bool WriteHostFile(const std::string& path, const std::vector<unsigned char>& bytes);

} // namespace datatool
