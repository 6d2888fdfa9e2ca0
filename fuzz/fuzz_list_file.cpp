// Checks arbitrary bytes as a list file of each format, so that any read outside the text
// shows under the sanitizers, and a check that breaks its promises (a refusal that does not
// name the file, a list taken with a NUL or other control byte in it) stops the run.
#include "puzzles/list_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool IsControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7F;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const datatool::ListFormat format :
         {datatool::ListFormat::kWordRules, datatool::ListFormat::kSpellings,
          datatool::ListFormat::kClues, datatool::ListFormat::kDictionary}) {
        const std::string fault = datatool::ListFault(text, "list.txt", format);
        const bool bTaken = fault.empty();
        if (bTaken ? std::any_of(text.begin(), text.end(), IsControlByte)
                   : !fault.starts_with("list.txt:")) {
            std::abort();
        }
    }
    return 0;
}
