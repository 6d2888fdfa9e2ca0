// kObject and kClass: the global class list, creation by class and the presets that
// Allocate hands to the constructor. Registers the kObject and kClass records.
#include <kelvo/object/kobject.h>

#include <kelvo/object/klibrary.h>
#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace Kelvo_lib {

namespace {

// The library Allocate chose for memory it handed out, kept here until the kObject built
// in that memory collects it. It cannot be stored in the memory itself: no object lives
// there before the constructor runs, so the compiler may drop such stores (g++ does,
// with lifetime dead-store elimination), and a class new never gets to store afterwards.
struct PendingPreset {
    const char* memory;
    std::size_t size;
    kLibrary* library;
};

// Objects allocated and not yet constructed; more than one only while an argument of a
// class new creates another object.
constexpr int kMaxPendingPresets = 8;
PendingPreset s_pendingPresets[kMaxPendingPresets];
int s_pendingCount = 0;

void AddPendingPreset(void* memory, std::size_t size, kLibrary* library) {
    kAssertMsg(s_pendingCount < kMaxPendingPresets,
               "kObject::Allocate: too many objects allocated and not constructed");
    s_pendingPresets[s_pendingCount++] = {static_cast<const char*>(memory), size, library};
}

// Removes the newest preset whose memory contains address and gives its library; false
// when there is none.
bool TakePendingPreset(const void* address, kLibrary** library) {
    const auto* byte = static_cast<const char*>(address);
    const std::less<const char*> before;
    for (int i = s_pendingCount - 1; i >= 0; --i) {
        const PendingPreset& preset = s_pendingPresets[i];
        if (!before(byte, preset.memory) && before(byte, preset.memory + preset.size)) {
            *library = preset.library;
            std::copy(s_pendingPresets + i + 1, s_pendingPresets + s_pendingCount,
                      s_pendingPresets + i);
            --s_pendingCount;
            return true;
        }
    }
    return false;
}

kLibrary* LibraryFor(kLibrary* library, const char* name) {
    if (library != nullptr || (name != nullptr && std::strcmp(name, "Transient") == 0)) {
        return library;
    }
    return kLibrary::Transient();
}

const char* SkipPrefix(const char* text, const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    return std::strncmp(text, prefix, length) == 0 ? text + length : text;
}

const char* StripClassNamePrefixes(const char* name) {
    if (name == nullptr) {
        return "";
    }
    const char* afterKeyword = SkipPrefix(name, "class ");
    if (afterKeyword == name) {
        afterKeyword = SkipPrefix(name, "struct ");
    }
    return SkipPrefix(afterKeyword, "kCore_lib::");
}

[[maybe_unused]] kClass* const s_registeredRecords[] = {kObject::StaticClass(),
                                                        kClass::StaticClass()};

} // namespace

kObject::kObject() : m_library(nullptr), m_name("") {
    TakePendingPreset(this, &m_library);
}

kClass* kObject::StaticClass() {
    static kClass record("Kelvo_lib::kObject", sizeof(kObject), nullptr, &kObject::ClassInitialiser,
                         0, kGUID(0xF369CB7A, 0x882E, 0x4268, 0x94BC8217F86F475B), nullptr);
    return &record;
}

kObject* kObject::Allocate(kClass* cls, kLibrary* library, const char* name,
                           std::size_t minimumSize) {
    if (cls == nullptr) {
        kLogSys("kObject", "Allocate: no class given\n");
        return nullptr;
    }
    const std::size_t size = std::max<std::size_t>(cls->m_classSize, minimumSize);
    if (size == 0) {
        kLogSys("kObject", "Allocate: class record not registered yet\n");
        return nullptr;
    }
    kLibrary* const owner = LibraryFor(library, name);
    if (name == nullptr) {
        ++cls->m_classObjectNameId;
    }
    void* memory = kPlatform_ReleaseAlloc(K_MEM_TAG_CLASS, static_cast<u32>(size));
    AddPendingPreset(memory, size, owner);
    return static_cast<kObject*>(memory);
}

void kObject::Free(void* memory) {
    if (memory == nullptr) {
        return;
    }
    kLibrary* neverCollected = nullptr; // allocated, never constructed
    TakePendingPreset(memory, &neverCollected);
    kPlatform_ReleaseFree(memory);
}

kClass::kClass(const char* name, u32 classSize, kClassConstructor classConstructor,
               kClassInitialiser classInitialiser, u32 classVersion, const kGUID& guid,
               kClass* superClass)
    : m_guid(guid), m_className(StripClassNamePrefixes(name)), m_classSize(classSize),
      m_classConstructor(classConstructor), m_classInitialiser(classInitialiser),
      m_classVersion(classVersion), m_superClass(superClass), m_nextClass(s_classHead) {
    s_classHead = this;
    s_registerClassHead = this;
}

kClass::~kClass() {
    kClass** link = &s_classHead;
    while (*link != nullptr && *link != this) {
        link = &(*link)->m_nextClass;
    }
    if (*link == this) {
        *link = m_nextClass;
    }
    if (s_registerClassHead == this) {
        s_registerClassHead = s_classHead;
    }
}

kClass* kClass::StaticClass() {
    static kClass record("Kelvo_lib::kClass", sizeof(kClass), nullptr, &kObject::ClassInitialiser,
                         0, kGUID(0x56DADCBF, 0x7661, 0x4FFE, 0x9D531DD8D1581E13), nullptr);
    return &record;
}

} // namespace Kelvo_lib
