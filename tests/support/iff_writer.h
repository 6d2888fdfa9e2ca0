// Writes IFF bytes for the tests of the formats built on IFF: chunks with big-endian headers
// and a pad byte after odd payloads, groups with their sub id, and raw headers for broken files.
#pragma once

#include <string>
#include <vector>

namespace iff_writer {

inline std::string Big32(unsigned int value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

// A header with any size, whatever the payload that follows.
inline std::string Header(const std::string& id, unsigned int size) {
    return id + Big32(size);
}

inline std::string Chunk(const std::string& id, const std::string& payload) {
    std::string bytes = Header(id, static_cast<unsigned int>(payload.size())) + payload;
    if (payload.size() % 2 != 0) {
        bytes += '\0';
    }
    return bytes;
}

inline std::string Group(const std::string& id, const std::string& subId,
                         const std::vector<std::string>& children) {
    std::string payload = subId;
    for (const std::string& child : children) {
        payload += child;
    }
    return Chunk(id, payload);
}

} // namespace iff_writer
