// datatool dump BANK.kmn [ID]: a puzzle bank's index or, given a bank id, that puzzle alone.
#include "host_files.h"
#include "puzzle_bank_dump.h"

namespace datatool {

int RunPuzzleBankDump(int argc, char** argv) {
    if (argc < 1 || argc > 2) {
        std::fprintf(stderr, "usage: datatool dump BANK.kmn [ID]\n");
        return 2;
    }
    std::vector<unsigned char> bytes;
    if (!ReadHostFile(argv[0], &bytes)) {
        return 1;
    }
    if (argc == 1) {
        std::printf("file        %s\n", argv[0]);
    }
    return DumpPuzzleBank(bytes, argc == 2 ? argv[1] : nullptr, stdout);
}

} // namespace datatool
