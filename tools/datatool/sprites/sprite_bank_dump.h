// A sprite bank printed for people who make data and for checks, one line per record:
// the header, then each sprite by name followed by its hot spots, its frames and each
// frame's cells, then the pages. The bank is read through the engine's own loader, so
// what it refuses or drops is reported here too.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace datatool {

// Whether the file begins like a sprite bank (a FORM of type "KSPB").
bool IsSpriteBankFile(const std::string& path);

// False (after saying why on stderr) when the engine cannot read the bank.
bool DumpSpriteBank(const std::vector<unsigned char>& bytes, FILE* out);

// datatool dump BANK.KSB: what the dump command runs for a sprite bank (in
// sprite_dump_command.cpp).
int RunSpriteBankDump(int argc, char** argv);

} // namespace datatool
