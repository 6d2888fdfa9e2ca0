// datatool dump BANK.KSB: the records of a sprite bank.
#include "host_files.h"
#include "sprite_bank_dump.h"

namespace datatool {

int RunSpriteBankDump(int argc, char** argv) {
    if (argc != 1) {
        std::fprintf(stderr, "usage: datatool dump BANK.KSB\n");
        return 2;
    }
    std::vector<unsigned char> bytes;
    if (!ReadHostFile(argv[0], &bytes)) {
        return 1;
    }
    std::printf("file      %s\n", argv[0]);
    return DumpSpriteBank(bytes, stdout) ? 0 : 1;
}

} // namespace datatool
