// Reads any bytes as a save block, as they come and sealed with a valid header over the
// same body, so that the body's fields are read too; a block taken in must write back to
// bytes that read the same, and every profile's name must end inside its field.
#include <services/mnsavedata.h>

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace Kelvo_lib;

namespace {

constexpr std::size_t kHeaderSize = 12;

void PutBig32(std::vector<std::uint8_t>& block, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        block[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

// The body (padded or cut to size) behind the header the writer would give it.
std::vector<std::uint8_t> Sealed(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> block(MN_SAVE_DATA_SIZE, 0);
    std::memcpy(block.data() + kHeaderSize, data, std::min(size, block.size() - kHeaderSize));
    PutBig32(block, 0, 0x4D4E5356);
    PutBig32(block, 4, MN_SAVE_DATA_VERSION);
    PutBig32(block, 8,
             static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0), block.data() + kHeaderSize,
                                              static_cast<uInt>(block.size() - kHeaderSize))));
    return block;
}

void CheckTakenIn(const std::uint8_t* block, int size) {
    MNSaveData data;
    if (ReadSaveData(block, size, data) != nullptr) {
        return;
    }
    std::vector<std::uint8_t> written(MN_SAVE_DATA_SIZE);
    WriteSaveData(data, written.data());
    MNSaveData again;
    std::vector<std::uint8_t> rewritten(MN_SAVE_DATA_SIZE);
    if (ReadSaveData(written.data(), MN_SAVE_DATA_SIZE, again) != nullptr) {
        std::abort();
    }
    WriteSaveData(again, rewritten.data());
    for (const MNSaveProfileData& profile : again.profiles) {
        if (std::strlen(profile.name) >= sizeof(profile.name)) {
            std::abort();
        }
    }
    if (written != rewritten) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    CheckTakenIn(bytes.data(), static_cast<int>(bytes.size()));
    const std::vector<std::uint8_t> sealed = Sealed(data, size);
    CheckTakenIn(sealed.data(), MN_SAVE_DATA_SIZE);
    return 0;
}
