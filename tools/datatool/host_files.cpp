// Whole host files through the C++ streams. Inputs are regular files of at most
// kMaxInputBytes: a folder, a device or a pipe is refused before anything reads it.
#include "host_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace datatool {

std::string InputFileFault(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::is_regular_file(status)) {
        return "'" + path + "' is not a file that can be read";
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxInputBytes) {
        return "'" + path + "' is larger than " + std::to_string(kMaxInputBytes) + " bytes";
    }
    return {};
}

bool IsInputFile(const std::string& path) {
    const std::string fault = InputFileFault(path);
    if (!fault.empty()) {
        std::fprintf(stderr, "datatool: %s\n", fault.c_str());
    }
    return fault.empty();
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
    const bool bOpened = file.is_open();
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "datatool: cannot write '%s'\n", path.c_str());
        // A part of the file is no file of its kind; a device is left alone.
        std::error_code error;
        if (bOpened && std::filesystem::is_regular_file(path, error)) {
            std::filesystem::remove(path, error);
        }
        return false;
    }
    return true;
}

} // namespace datatool
