// Loads arbitrary bytes as a language file and reads every text it yields, so that any
// read or write outside the text buffer shows under the sanitizers.
#include <framework/ktext.h>

#include <kelvo/io/kmemoryiostream.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Keeps the reads of the texts from being optimised away.
volatile std::size_t s_textBytes = 0;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using Kelvo_lib::kText;
    std::vector<std::uint8_t> bytes(data, data + size);
    Kelvo_lib::kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()),
                                      K_IO_ACCESS_READ);
    kText::Load(&stream);
    std::size_t total = 0;
    for (int id = -1; id <= kText::NumTexts(); ++id) {
        total += std::strlen(kText::Text(id));
        const char* word = kText::TextId(id);
        total += word != nullptr ? std::strlen(word) : 0;
    }
    kText::Reset();
    s_textBytes = total;
    return 0;
}
