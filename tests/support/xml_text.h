// XML archives to and from text, for tests that write a document and read it back or feed
// a hand-made one to the reader.
#pragma once

#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/xml/kxmlarchive.h>

#include <string>
#include <vector>

namespace test_support {

// Whether ar took the document text.
inline bool ReadXmlText(Kelvo_lib::kXMLArchive& ar, std::string text) {
    Kelvo_lib::kMemoryIOStream stream(text.data(), static_cast<unsigned int>(text.size()),
                                      K_IO_ACCESS_READ);
    return ar.Read(stream);
}

// The document of ar as text; empty when it did not fit in limit bytes.
inline std::string WriteXmlText(Kelvo_lib::kXMLArchive& ar, unsigned int limit = 65536) {
    std::vector<char> buffer(limit);
    Kelvo_lib::kMemoryIOStream stream(buffer.data(), limit, K_IO_ACCESS_WRITE);
    return ar.Write(stream) ? std::string(buffer.data(), stream.Tell()) : std::string();
}

} // namespace test_support
