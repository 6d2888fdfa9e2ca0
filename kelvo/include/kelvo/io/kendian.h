// kEndian: how a field of a file or hardware buffer is stored. Each helper takes the
// field's raw value as it lies in memory (its bytes copied into the integer) and gives
// its value, or the reverse for writing: identity when the host has the field's byte
// order, a swap otherwise. Stateless.
#pragma once

#include <bit>

namespace Kelvo_lib {

class kEndian {
public:
    static unsigned short Big16(unsigned short raw) { return Stored(raw, std::endian::big); }
    static unsigned int Big32(unsigned int raw) { return Stored(raw, std::endian::big); }
    static unsigned short Little16(unsigned short raw) { return Stored(raw, std::endian::little); }
    static unsigned int Little32(unsigned int raw) { return Stored(raw, std::endian::little); }

private:
    static unsigned short Swap(unsigned short value) { return __builtin_bswap16(value); }
    static unsigned int Swap(unsigned int value) { return __builtin_bswap32(value); }

    template <typename T>
    static T Stored(T raw, std::endian order) {
        return order == std::endian::native ? raw : Swap(raw);
    }
};

} // namespace Kelvo_lib
