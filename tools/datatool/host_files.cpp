// Whole host files through the C++ streams. Inputs are regular files of at most
// kMaxInputBytes: a folder, a device or a pipe is refused before anything reads it.
#include "host_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace datatool {

bool IsInputFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::is_regular_file(status)) {
        std::fprintf(stderr, "datatool: '%s' is not a file that can be read\n", path.c_str());
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxInputBytes) {
        std::fprintf(stderr, "datatool: '%s' is larger than %ju bytes\n", path.c_str(),
                     static_cast<std::uintmax_t>(kMaxInputBytes));
        return false;
    }
    return true;
}

bool ReadHostFile(const std::string& path, std::vector<unsigned char>* bytes) {
    if (!IsInputFile(path)) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "datatool: cannot read '%s'\n", path.c_str());
        return false;
    }
    bytes->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

bool WriteHostFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "datatool: cannot write '%s'\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace datatool
