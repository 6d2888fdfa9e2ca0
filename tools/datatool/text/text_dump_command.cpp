// datatool dump FILE.txz, for a language file: reads the host file and prints it.
#include "host_files.h"
#include "text/language_file_dump.h"

#include <cstdio>
#include <vector>

namespace datatool {

int RunLanguageFileDump(int argc, char** argv) {
    if (argc != 1) {
        std::fprintf(stderr, "usage: datatool dump FILE.txz\n");
        return 2;
    }
    std::vector<unsigned char> bytes;
    if (!ReadHostFile(argv[0], &bytes)) {
        return 1;
    }
    std::printf("file      %s\n", argv[0]);
    return DumpLanguageFile(bytes, stdout) ? 0 : 1;
}

} // namespace datatool
