// The LZSS decoder. The ring lives on the stack; eight-literal groups and references that
// do not wrap are copied in blocks (a reference overlapping its own bytes into the ring
// byte by byte first), the rest byte by byte, with the same result.
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
        : m_out(out), m_outEnd(out + outSize), m_in(in), m_inEnd(in + inSize) {
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

    // The whole group at once, when the input, the output and the ring hold it without a
    // bound or a wrap; false leaves it to the general path.
    bool EightLiterals() {
        if (InputLeft() < kGroupItems || OutputLeft() < kGroupItems ||
            m_r > kLZSSRingSize - kGroupItems) {
            return false;
        }
        std::memcpy(m_out, m_in, kGroupItems);
        std::memcpy(m_ring + m_r, m_in, kGroupItems);
        m_in += kGroupItems;
        m_out += kGroupItems;
        m_r = (m_r + kGroupItems) & kRingMask;
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

    bool Reference() {
        if (InputLeft() < 2) {
            return false;
        }
        const unsigned int b0 = m_in[0];
        const unsigned int b1 = m_in[1];
        m_in += 2;
        const unsigned int position = b0 | ((b1 & 0xF0u) << 4);
        const unsigned int length = (b1 & 0x0Fu) + kLZSSMinMatch;
        if (length > OutputLeft()) {
            Copy(position, OutputLeft());
            return false;
        }
        Copy(position, length);
        return true;
    }

    void Copy(unsigned int position, unsigned int length) {
        const bool bNoWrap = position + length <= kLZSSRingSize && m_r + length <= kLZSSRingSize;
        if (!bNoWrap) {
            for (unsigned int i = 0; i < length; ++i) {
                Put(m_ring[(position + i) & kRingMask]);
            }
            return;
        }
        unsigned char* target = m_ring + m_r;
        const unsigned char* from = m_ring + position;
        if (position + length <= m_r || m_r + length <= position) {
            std::memcpy(target, from, length);
        } else {
            // The reference overlaps the bytes it produces: byte by byte, in order.
            for (unsigned int i = 0; i < length; ++i) {
                target[i] = from[i];
            }
        }
        std::memcpy(m_out, target, length);
        m_out += length;
        m_r = (m_r + length) & kRingMask;
    }

    void Put(unsigned char byte) {
        *m_out++ = byte;
        m_ring[m_r] = byte;
        m_r = (m_r + 1) & kRingMask;
    }

    unsigned char m_ring[kLZSSRingSize];
    unsigned int m_r = kLZSSRingStart;
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
