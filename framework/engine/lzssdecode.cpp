// The LZSS decoder. The ring lives on the stack until the output holds a whole ring's worth
// of bytes; from then on the output itself is the ring (a ring position is a distance back
// from the write position), so each byte is written once. Eight-literal groups and
// references that do not wrap are copied in blocks (a reference overlapping its own bytes
// byte by byte), the rest byte by byte, with the same result.
#include <framework/lzssdecode.h>

#include <cstring>

namespace Kelvo_lib {

namespace {

constexpr unsigned int kRingMask = kLZSSRingSize - 1;
constexpr unsigned int kGroupItems = 8;
constexpr unsigned int kAllLiterals = 0xFF;

class LZSSDecoder {
public:
    LZSSDecoder(unsigned char* out, unsigned int outSize, const unsigned char* in,
                unsigned int inSize)
        : m_outStart(out), m_out(out), m_outEnd(out + outSize), m_in(in), m_inEnd(in + inSize) {
        std::memset(m_ring, 0xFF, kLZSSRingStart);
        // Well-formed streams write these before they read them; zero keeps others defined.
        std::memset(m_ring + kLZSSRingStart, 0, kLZSSRingSize - kLZSSRingStart);
    }

    void Run() {
        while (m_in < m_inEnd) {
            const unsigned int flags = *m_in++;
            if (flags == kAllLiterals && EightLiterals()) {
                continue;
            }
            if (!Group(flags)) {
                return;
            }
        }
    }

private:
    unsigned int InputLeft() const { return static_cast<unsigned int>(m_inEnd - m_in); }
    unsigned int OutputLeft() const { return static_cast<unsigned int>(m_outEnd - m_out); }
    unsigned int Written() const { return static_cast<unsigned int>(m_out - m_outStart); }
    // Where the next byte goes in the ring.
    unsigned int RingIndex() const { return (kLZSSRingStart + Written()) & kRingMask; }

    // Once a whole ring's worth is written, the ring's bytes are the output's last ones.
    bool IsOutputTheRing() const { return Written() >= kLZSSRingSize; }

    // How far back from the write position a ring position lies, from 1 to a whole ring.
    unsigned int DistanceBack(unsigned int position) const {
        return ((RingIndex() - position - 1) & kRingMask) + 1;
    }

    // The whole group at once, when the input, the output and the ring hold it without a
    // bound or a wrap; false leaves it to the general path.
    bool EightLiterals() {
        const bool bRingWraps = !IsOutputTheRing() && RingIndex() > kLZSSRingSize - kGroupItems;
        if (InputLeft() < kGroupItems || OutputLeft() < kGroupItems || bRingWraps) {
            return false;
        }
        if (!IsOutputTheRing()) {
            std::memcpy(m_ring + RingIndex(), m_in, kGroupItems);
        }
        std::memcpy(m_out, m_in, kGroupItems);
        m_in += kGroupItems;
        m_out += kGroupItems;
        return true;
    }

    // Items from bit 0 up, until the input ends; false when a bound stopped the stream.
    bool Group(unsigned int flags) {
        for (unsigned int item = 0; item < kGroupItems && m_in < m_inEnd; ++item) {
            const bool bLiteral = (flags & (1u << item)) != 0;
            if (!(bLiteral ? Literal() : Reference())) {
                return false;
            }
        }
        return true;
    }

    bool Literal() {
        if (m_out == m_outEnd) {
            return false;
        }
        Put(*m_in++);
        return true;
    }

    struct ReferenceItem {
        unsigned int position;
        unsigned int length;
    };

    // Two bytes: the ring position's low eight bits, then its high four and the length's.
    ReferenceItem ReadReference() {
        const unsigned int b0 = m_in[0];
        const unsigned int b1 = m_in[1];
        m_in += 2;
        return {b0 | ((b1 & 0xF0u) << 4), (b1 & 0x0Fu) + kLZSSMinMatch};
    }

    bool Reference() {
        if (InputLeft() < 2) {
            return false;
        }
        const ReferenceItem reference = ReadReference();
        const bool bFits = reference.length <= OutputLeft();
        const unsigned int copied = bFits ? reference.length : OutputLeft();
        if (IsOutputTheRing()) {
            CopyFromOutput(DistanceBack(reference.position), copied);
        } else {
            Copy(reference.position, copied);
        }
        return bFits;
    }

    // The bytes from `distance` back: eight at a time while a block does not overlap the
    // bytes it makes, the rest byte by byte.
    void CopyFromOutput(unsigned int distance, unsigned int length) {
        const unsigned char* from = m_out - distance;
        unsigned int i = 0;
        if (distance >= kGroupItems) {
            for (; i + kGroupItems <= length; i += kGroupItems) {
                std::memcpy(m_out + i, from + i, kGroupItems);
            }
        }
        for (; i < length; ++i) {
            m_out[i] = from[i];
        }
        m_out += length;
    }

    void Copy(unsigned int position, unsigned int length) {
        const unsigned int ringIndex = RingIndex();
        const bool bNoWrap =
            position + length <= kLZSSRingSize && ringIndex + length <= kLZSSRingSize;
        if (!bNoWrap) {
            for (unsigned int i = 0; i < length; ++i) {
                Put(m_ring[(position + i) & kRingMask]);
            }
            return;
        }
        unsigned char* target = m_ring + ringIndex;
        const unsigned char* from = m_ring + position;
        if (position + length <= ringIndex || ringIndex + length <= position) {
            std::memcpy(target, from, length);
        } else {
            // The reference overlaps the bytes it produces: byte by byte, in order.
            for (unsigned int i = 0; i < length; ++i) {
                target[i] = from[i];
            }
        }
        std::memcpy(m_out, target, length);
        m_out += length;
    }

    void Put(unsigned char byte) {
        m_ring[RingIndex()] = byte;
        *m_out++ = byte;
    }

    unsigned char m_ring[kLZSSRingSize];
    unsigned char* const m_outStart;
    unsigned char* m_out;
    unsigned char* const m_outEnd;
    const unsigned char* m_in;
    const unsigned char* const m_inEnd;
};

} // namespace

void LZSSDecode(void* destination, unsigned int destinationSize, const void* source,
                unsigned int inputSize) {
    if (destination == nullptr || source == nullptr) {
        return;
    }
    LZSSDecoder decoder(static_cast<unsigned char*>(destination), destinationSize,
                        static_cast<const unsigned char*>(source), inputSize);
    decoder.Run();
}

} // namespace Kelvo_lib
