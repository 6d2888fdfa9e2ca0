// The language file writer, kText::Load's inverse, for tools and tests: entry i gets the
// ID word "i" and text i between quotes, plain or with the body compressed through the
// zip stream. A file takes at most kText_FileSizeBound bytes. A language name or a text
// the file cannot hold is refused (logged, false); false also when the stream takes less
// than the whole file. Main thread only.
#pragma once

#include <kelvo/containers/karray.h>
#include <kelvo/containers/kstring.h>
#include <kelvo/io/kiostream.h>

namespace Kelvo_lib {

unsigned int kText_FileSizeBound(const char* language, const kArray<kString>& texts);

// The language name may not start with "ZZ" nor hold a line end, a text may not hold a CR,
// and the file must be one that kText loads (entries and body size within its limits).
bool kText_WriteFile(const char* language, const kArray<kString>& texts, bool bCompressed,
                     kIOStreamSeekable* stream);

} // namespace Kelvo_lib
