// A language file printed for people: its language, the form of its body and every entry
// as ID word and text (in UTF-8, a line break shown as \n), read through the game's own
// loader, so that what it refuses is reported here too.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace datatool {

// Whether the game's loader takes the file and its first line is text (a language name,
// with or without "ZZ" before it), or its name ends in ".txz", whatever its header holds.
bool IsLanguageFile(const std::string& path);

// False (after saying why on stderr) when the game does not load the file, or when it is
// truncated: cut within its header line, its compressed body or its last entry.
bool DumpLanguageFile(const std::vector<unsigned char>& bytes, FILE* out);

// datatool dump FILE.txz: what the dump command runs for a language file.
int RunLanguageFileDump(int argc, char** argv);

} // namespace datatool
