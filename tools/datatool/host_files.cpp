// Whole host files through the C++ streams.
#include "host_files.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace datatool {

bool ReadHostFile(const std::string& path, std::vector<unsigned char>* bytes) {
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
