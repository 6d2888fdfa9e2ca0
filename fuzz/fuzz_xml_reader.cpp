// Reads any bytes as an XML archive and loads every attribute a property could ask for,
// as each type, from the root and its children; then saves the numbers it got into a new
// document and loads them back: each must come back unchanged.
#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/xml/kxmlarchive.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace Kelvo_lib;

namespace {

constexpr const char* kElements[] = {"b", "i", "f", "link", "align", "point", "rect", "sample"};
constexpr const char* kAttributes[] = {"value", "id", "x", "y", "w", "h"};
constexpr int kValueCount = std::size(kElements) * std::size(kAttributes);

struct Numbers {
    int ints[kValueCount] = {};
    float floats[kValueCount] = {};
};

// Loads every attribute of every named child of root <sample> as an int and as a float.
void LoadFromAnyDocument(kXMLArchive& ar, Numbers& numbers) {
    kXMLNode root = ar.Root("sample");
    int n = 0;
    for (const char* element : kElements) {
        kXMLNode node = root.Child(element);
        for (const char* attribute : kAttributes) {
            node.Attribute(attribute, numbers.ints[n], -1);
            node.Attribute(attribute, numbers.floats[n], -1.0f);
            ++n;
        }
    }
}

// Saves (or loads) the numbers, one element each.
void Exchange(kXMLArchive& ar, Numbers& numbers) {
    kXMLNode root = ar.Root("numbers");
    for (int n = 0; n < kValueCount; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "n%d", n);
        root.Child(name).Attribute("i", numbers.ints[n], 0).Attribute("f", numbers.floats[n], 0.0f);
    }
}

bool SameFloat(float a, float b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    kMemoryIOStream input(bytes.data(), static_cast<unsigned int>(bytes.size()), K_IO_ACCESS_READ);
    kXMLArchive in(XMLArchiveMode::load);
    in.Read(input);
    Numbers loaded;
    LoadFromAnyDocument(in, loaded);
    kString text;
    in.Root("sample").Attribute("value", text, nullptr);

    kXMLArchive out(XMLArchiveMode::save);
    Exchange(out, loaded);
    std::vector<char> printed(64 * 1024);
    kMemoryIOStream output(printed.data(), static_cast<unsigned int>(printed.size()),
                           K_IO_ACCESS_WRITE);
    if (!out.Write(output)) {
        abort();
    }
    kMemoryIOStream again(printed.data(), output.Tell(), K_IO_ACCESS_READ);
    kXMLArchive back(XMLArchiveMode::load);
    if (!back.Read(again)) {
        abort();
    }
    Numbers reloaded;
    Exchange(back, reloaded);
    for (int n = 0; n < kValueCount; ++n) {
        if (reloaded.ints[n] != loaded.ints[n] ||
            !SameFloat(reloaded.floats[n], loaded.floats[n])) {
            abort();
        }
    }
    return 0;
}
