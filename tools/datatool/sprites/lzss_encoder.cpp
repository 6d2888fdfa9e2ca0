// The LZSS encoder. It works on the decoder's history laid out as one line: the ring's
// 4,078 initial 0xFF bytes, then the input; history index i sits at ring position
// i mod 4,096, so a match found in the line is a reference to that ring position.
#include "lzss_encoder.h"

#include <framework/lzssdecode.h>

#include <algorithm>
#include <cstdint>

namespace datatool {
namespace {

using Kelvo_lib::kLZSSMaxMatch;
using Kelvo_lib::kLZSSMinMatch;
using Kelvo_lib::kLZSSRingSize;
using Kelvo_lib::kLZSSRingStart;

// The farthest a reference reaches back: never to ring positions that are not written yet
// or are being overwritten by the reference itself.
constexpr std::size_t kMaxDistance = kLZSSRingSize - kLZSSMaxMatch;
constexpr unsigned int kHashBits = 15;
constexpr unsigned int kMaxChain = 256;
constexpr std::uint32_t kNone = UINT32_MAX;

struct Match {
    std::size_t length = 0;
    std::size_t from = 0;
};

class MatchFinder {
public:
    explicit MatchFinder(const std::vector<unsigned char>& input)
        : m_line(kLZSSRingStart, 0xFF), m_head(std::size_t{1} << kHashBits, kNone) {
        m_line.insert(m_line.end(), input.begin(), input.end());
        m_previous.assign(m_line.size(), kNone);
        for (std::size_t i = 0; i < kLZSSRingStart; ++i) {
            Insert(i);
        }
    }

    std::size_t Size() const { return m_line.size(); }
    unsigned char At(std::size_t i) const { return m_line[i]; }

    // Records position i as the start of a possible match.
    void Insert(std::size_t i) {
        if (i + kLZSSMinMatch > m_line.size()) {
            return;
        }
        const unsigned int hash = Hash(i);
        m_previous[i] = m_head[hash];
        m_head[hash] = static_cast<std::uint32_t>(i);
    }

    // The longest match for the bytes at i among the positions inserted before it.
    Match Longest(std::size_t i) const {
        Match best;
        if (i + kLZSSMinMatch > m_line.size()) {
            return best;
        }
        const std::size_t limit = std::min<std::size_t>(kLZSSMaxMatch, m_line.size() - i);
        unsigned int chain = 0;
        for (std::uint32_t from = m_head[Hash(i)];
             from != kNone && i - from <= kMaxDistance && chain < kMaxChain;
             from = m_previous[from], ++chain) {
            std::size_t length = 0;
            while (length < limit && m_line[from + length] == m_line[i + length]) {
                ++length;
            }
            if (length > best.length) {
                best = {length, from};
                if (length == limit) {
                    break;
                }
            }
        }
        return best.length >= kLZSSMinMatch ? best : Match{};
    }

private:
    unsigned int Hash(std::size_t i) const {
        const unsigned int bytes = (static_cast<unsigned int>(m_line[i]) << 16) |
                                   (static_cast<unsigned int>(m_line[i + 1]) << 8) | m_line[i + 2];
        return (bytes * 2654435761u) >> (32 - kHashBits);
    }

    std::vector<unsigned char> m_line;
    std::vector<std::uint32_t> m_head;
    std::vector<std::uint32_t> m_previous;
};

// Groups of a flag byte and up to eight items; the bits of missing items stay 0.
class GroupWriter {
public:
    explicit GroupWriter(std::vector<unsigned char>& out) : m_out(out) {}

    void Literal(unsigned char byte) {
        const unsigned int bit = BeginItem();
        m_out[m_flagAt] = static_cast<unsigned char>(m_out[m_flagAt] | bit);
        m_out.push_back(byte);
    }

    void Reference(std::size_t from, std::size_t length) {
        BeginItem();
        const unsigned int position = static_cast<unsigned int>(from % kLZSSRingSize);
        m_out.push_back(static_cast<unsigned char>(position & 0xFF));
        m_out.push_back(
            static_cast<unsigned char>(((position >> 4) & 0xF0) | (length - kLZSSMinMatch)));
    }

private:
    // Starts a group when the last is full; the flag bit of the new item.
    unsigned int BeginItem() {
        if (m_items == 8) {
            m_items = 0;
        }
        if (m_items == 0) {
            m_flagAt = m_out.size();
            m_out.push_back(0);
        }
        return 1u << m_items++;
    }

    std::vector<unsigned char>& m_out;
    std::size_t m_flagAt = 0;
    unsigned int m_items = 0;
};

} // namespace

std::vector<unsigned char> LZSSEncode(const std::vector<unsigned char>& input) {
    std::vector<unsigned char> out;
    GroupWriter groups(out);
    MatchFinder finder(input);
    std::size_t i = kLZSSRingStart;
    while (i < finder.Size()) {
        Match match = finder.Longest(i);
        if (match.length != 0 && finder.Longest(i + 1).length > match.length) {
            match = Match{};
        }
        if (match.length == 0) {
            groups.Literal(finder.At(i));
            finder.Insert(i++);
            continue;
        }
        groups.Reference(match.from, match.length);
        for (const std::size_t end = i + match.length; i < end; ++i) {
            finder.Insert(i);
        }
    }
    return out;
}

} // namespace datatool
