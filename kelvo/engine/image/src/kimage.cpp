// The descriptor table of the 44 image types, constant-initialised from the same layouts
// that instantiate each type's converters, so table and converters cannot disagree; the
// identity channel map; the importer and exporter registries.
#include "kpixelfmt.h"

#include <kelvo/containers/karray.h>
#include <kelvo/image/kimage.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

#include <cctype>
#include <cstring>

namespace Kelvo_lib {

namespace {

using kPixelFmt::Describe;
using kPixelFmt::kEmpty;
using kPixelFmt::PixelFormatDesc;
using kPixelFmt::Slot;

constexpr Slot X(u32 width, u32 shift) {
    return {K_CHANNEL_X, width, shift};
}
constexpr Slot Pal(u32 width) {
    return {K_CHANNEL_PAL, width, 0};
}
constexpr Slot R(u32 width, u32 shift) {
    return {K_CHANNEL_R, width, shift};
}
constexpr Slot G(u32 width, u32 shift) {
    return {K_CHANNEL_G, width, shift};
}
constexpr Slot B(u32 width, u32 shift) {
    return {K_CHANNEL_B, width, shift};
}
constexpr Slot A(u32 width, u32 shift) {
    return {K_CHANNEL_A, width, shift};
}
constexpr Slot U(u32 width, u32 shift) {
    return {K_CHANNEL_U, width, shift};
}
constexpr Slot V(u32 width, u32 shift) {
    return {K_CHANNEL_V, width, shift};
}
constexpr Slot Z(u32 width, u32 shift) {
    return {K_CHANNEL_Z, width, shift};
}
constexpr Slot Stencil(u32 width, u32 shift) {
    return {K_CHANNEL_STENCIL, width, shift};
}
constexpr Slot Exponent(u32 width, u32 shift) {
    return {K_CHANNEL_EXPONENT, width, shift};
}

// The X slot of width 0 in front of the three colour slots of the 565 and 888 types.
constexpr Slot kNoBits = X(0, 0);

template <u32 Bpp, Slot S0, Slot S1 = kEmpty, Slot S2 = kEmpty, Slot S3 = kEmpty>
constexpr PixelFormatDescData Plain() {
    return Describe<PixelFormatDesc<false, Bpp, S0, S1, S2, S3>>();
}

// Block-compressed types are converted as packed pixels with every channel at shift 0.
template <u32 Bpp, u32 AlphaBits>
constexpr PixelFormatDescData Compressed() {
    return Describe<PixelFormatDesc<true, Bpp, R(5, 0), G(5, 0), B(5, 0), A(AlphaBits, 0)>>();
}

constexpr PixelFormatDescData s_fmtDesc[K_IMAGE_MAX + 1] = {
    Describe<PixelFormatDesc<false, 0, kEmpty, kEmpty, kEmpty, kEmpty>>(), // UNKNOWN
    Plain<1, Pal(1)>(),
    Plain<4, Pal(4)>(),
    Plain<8, Pal(8)>(),
    Plain<16, kNoBits, R(5, 11), G(6, 5), B(5, 0)>(), // RGB_565
    Plain<16, kNoBits, B(5, 11), G(6, 5), R(5, 0)>(), // BGR_565
    Plain<16, R(4, 12), G(4, 8), B(4, 4), X(4, 0)>(), // RGBX_4444
    Plain<16, B(4, 12), G(4, 8), R(4, 4), X(4, 0)>(),
    Plain<16, R(4, 12), G(4, 8), B(4, 4), A(4, 0)>(), // RGBA_4444
    Plain<16, B(4, 12), G(4, 8), R(4, 4), A(4, 0)>(),
    Plain<16, X(4, 12), R(4, 8), G(4, 4), B(4, 0)>(), // XRGB_4444
    Plain<16, X(4, 12), B(4, 8), G(4, 4), R(4, 0)>(),
    Plain<16, A(4, 12), R(4, 8), G(4, 4), B(4, 0)>(), // ARGB_4444
    Plain<16, A(4, 12), B(4, 8), G(4, 4), R(4, 0)>(),
    Plain<16, R(5, 11), G(5, 6), B(5, 1), X(1, 0)>(), // RGBX_5551
    Plain<16, B(5, 11), G(5, 6), R(5, 1), X(1, 0)>(),
    Plain<16, R(5, 11), G(5, 6), B(5, 1), A(1, 0)>(), // RGBA_5551
    Plain<16, B(5, 11), G(5, 6), R(5, 1), A(1, 0)>(),
    Plain<16, X(1, 15), R(5, 10), G(5, 5), B(5, 0)>(), // XRGB_1555
    Plain<16, X(1, 15), B(5, 10), G(5, 5), R(5, 0)>(),
    Plain<16, A(1, 15), R(5, 10), G(5, 5), B(5, 0)>(), // ARGB_1555
    Plain<16, A(1, 15), B(5, 10), G(5, 5), R(5, 0)>(),
    Plain<24, kNoBits, R(8, 16), G(8, 8), B(8, 0)>(), // RGB_888
    Plain<24, kNoBits, B(8, 16), G(8, 8), R(8, 0)>(),
    Plain<32, R(8, 24), G(8, 16), B(8, 8), X(8, 0)>(), // RGBX_8888
    Plain<32, B(8, 24), G(8, 16), R(8, 8), X(8, 0)>(),
    Plain<32, R(8, 24), G(8, 16), B(8, 8), A(8, 0)>(), // RGBA_8888
    Plain<32, B(8, 24), G(8, 16), R(8, 8), A(8, 0)>(),
    Plain<32, X(8, 24), R(8, 16), G(8, 8), B(8, 0)>(), // XRGB_8888
    Plain<32, X(8, 24), B(8, 16), G(8, 8), R(8, 0)>(),
    Plain<32, A(8, 24), R(8, 16), G(8, 8), B(8, 0)>(), // ARGB_8888
    Plain<32, A(8, 24), B(8, 16), G(8, 8), R(8, 0)>(),
    Plain<8, A(8, 0)>(),                                      // A_8
    Plain<16, Z(16, 0)>(),                                    // Z_16
    Plain<32, Z(32, 0)>(),                                    // Z_32
    Compressed<4, 1>(),                                       // COMP_DXT1
    Compressed<8, 4>(),                                       // COMP_DXT2
    Compressed<8, 4>(),                                       // COMP_DXT3
    Compressed<8, 8>(),                                       // COMP_DXT4
    Compressed<8, 8>(),                                       // COMP_DXT5
    Plain<16, U(8, 8), V(8, 0)>(),                            // UV_88
    Plain<16, V(8, 8), U(8, 0)>(),                            // VU_88
    Plain<32, Z(24, 8), Stencil(8, 0)>(),                     // Z_24_S_8
    Plain<32, R(8, 24), G(8, 16), B(8, 8), Exponent(8, 0)>(), // RGBE_8888
};

bool IsImageType(kIMAGE_TYPE type) {
    return type >= K_IMAGE_UNKNOWN && type <= K_IMAGE_MAX;
}

constexpr kImageChannelMap IdentityChannelMap() {
    kImageChannelMap map{};
    for (u32 channel = 0; channel < K_IMAGE_NUM_CHANNEL_TYPES; ++channel) {
        map.channelMap[channel] = static_cast<kCHANNEL_TYPE>(channel);
        map.channelDefault[channel] = channel == K_CHANNEL_A ? 1.0f : 0.0f;
    }
    return map;
}

// A copy of text from the tracked allocator (image tag).
char* CopyText(const char* text) {
    const u32 size = static_cast<u32>(std::strlen(text)) + 1;
    char* copy = static_cast<char*>(kPlatform_ReleaseAlloc(K_MEM_TAG_IMAGE, size));
    std::memcpy(copy, text, size);
    return copy;
}

bool SameLetters(const char* a, const char* b, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Whether the list ("png;tga") holds the extension, in any case.
bool ListHoldsExtension(const char* list, const char* extension) {
    const size_t length = std::strlen(extension);
    for (const char* entry = list;;) {
        const size_t entryLength = std::strcspn(entry, ";");
        if (length > 0 && entryLength == length && SameLetters(entry, extension, length)) {
            return true;
        }
        if (entry[entryLength] == '\0') {
            return false;
        }
        entry += entryLength + 1;
    }
}

// Handlers of one kind with the extensions each takes, in the order registered. The
// entries' texts are the table's own; it frees them, and its storage, at exit.
template <class Function>
class FunctionTable {
public:
    struct Entry {
        Function m_function;
        char* m_extensionList;
        char* m_description;
    };

    FunctionTable() = default;
    FunctionTable(const FunctionTable&) = delete;
    FunctionTable& operator=(const FunctionTable&) = delete;
    ~FunctionTable() {
        for (s32 i = 0; i < m_entryList.Size(); ++i) {
            kPlatform_ReleaseFree(m_entryList(i).m_extensionList);
            kPlatform_ReleaseFree(m_entryList(i).m_description);
        }
        m_entryList.Empty();
    }

    bool Add(Function function, const char* extensionList, const char* description) {
        if (function == nullptr || extensionList == nullptr || extensionList[0] == '\0') {
            kLogFmt("kImage: a handler needs a function and its extensions\n");
            return false;
        }
        m_entryList.Push({function, CopyText(extensionList),
                          CopyText(description != nullptr ? description : "")});
        return true;
    }

    // The first handler for the extension of name, or null (logged).
    Function Find(const char* name) const {
        const char* dot = name != nullptr ? std::strrchr(name, '.') : nullptr;
        for (s32 i = 0; dot != nullptr && i < m_entryList.Size(); ++i) {
            if (ListHoldsExtension(m_entryList(i).m_extensionList, dot + 1)) {
                return m_entryList(i).m_function;
            }
        }
        kLogFmt("kImage: no handler for %s\n", name != nullptr ? name : "(no name)");
        return nullptr;
    }

private:
    kArray<Entry, TArrayTrait<3, 8, 16, K_MEM_TAG_IMAGE>> m_entryList;
};

FunctionTable<kImageImportFunction> s_importFunctionTable;
FunctionTable<kImageExportFunction> s_exportFunctionTable;

} // namespace

constinit const kImageChannelMap identityChannelMap = IdentityChannelMap();

u32 kImage::BitsPerPixel(kIMAGE_TYPE type) {
    return IsImageType(type) ? s_fmtDesc[type].bitsPerPixel : 0;
}

const PixelFormatDescData* kImage::FormatDesc(kIMAGE_TYPE type) {
    return IsImageType(type) ? &s_fmtDesc[type] : nullptr;
}

bool kImage::RegisterImporter(kImageImportFunction function, const char* extensionList,
                              const char* description) {
    return s_importFunctionTable.Add(function, extensionList, description);
}

bool kImage::RegisterExporter(kImageExportFunction function, const char* extensionList,
                              const char* description) {
    return s_exportFunctionTable.Add(function, extensionList, description);
}

kImage* kImage::Import(kIOStreamSeekable* stream, const char* name) {
    const kImageImportFunction function = s_importFunctionTable.Find(name);
    return function != nullptr ? function(stream, name) : nullptr;
}

bool kImage::Export(const kImage* image, kIOStreamSeekable* stream, const char* name) {
    const kImageExportFunction function = s_exportFunctionTable.Find(name);
    return function != nullptr && function(image, stream, name);
}

} // namespace Kelvo_lib
