// datatool text IN.txt OUT.txz [--compressed]: a language file from a readable text table,
// written by the game's own writer, with the body as is or compressed.
#include "commands.h"
#include "host_files.h"
#include "text/text_table.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace datatool {

int RunTextCommand(int argc, char** argv) {
    const bool bCompressed = argc == 3 && std::strcmp(argv[2], "--compressed") == 0;
    if (argc != 2 && !bCompressed) {
        std::fprintf(stderr, "usage: datatool text IN.txt OUT.txz [--compressed]\n");
        return 2;
    }
    std::vector<unsigned char> source;
    if (!ReadHostFile(argv[0], &source)) {
        return 1;
    }
    TextTable table;
    std::string error;
    if (!ParseTextTable(std::string(source.begin(), source.end()), &table, &error)) {
        std::fprintf(stderr, "datatool: %s: %s\n", argv[0], error.c_str());
        return 1;
    }
    const std::vector<unsigned char> file = WriteLanguageFile(table, bCompressed);
    if (file.empty()) {
        std::fprintf(stderr, "datatool: %s: the table cannot be written as a language file\n",
                     argv[0]);
        return 1;
    }
    return WriteHostFile(argv[1], file) ? 0 : 1;
}

} // namespace datatool
