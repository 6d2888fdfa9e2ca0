#include <services/mnresourcemanager.h>

#include <kelvo/containers/karray.h>
#include <kelvo/containers/kstring.h>
#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/platform/klog.h>

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "MNResourceManager";
constexpr const char* kWiiPrefix = "wii_";
constexpr int kMaxNameLength = 96;

// Banks that every screen draws from: once loaded they stay until Deinit.
constexpr const char* kResidentBanks[] = {"fe", "bg", "ptr"};

// A font asked for under another bank and font name than the one the bank holds.
struct FontAlias {
    const char* bank;
    const char* font;
    const char* realBank;
    const char* realFont;
};
constexpr FontAlias kFontAliases[] = {
    {"wii_keyboard", "keyboard", "keyboard", "wii_keyboard"},
};

struct SharedBank {
    kString name;
    kWeakPtr<kSpriteBank> bank;
};

struct BuiltInBank {
    kString name;
    const unsigned char* bytes;
    unsigned int size;
};

} // namespace

template <>
struct kIsBitwiseMovable<SharedBank> : std::true_type {};
template <>
struct kIsBitwiseMovable<BuiltInBank> : std::true_type {};

namespace {

kArray<SharedBank> s_sharedBanks;
kArray<kSharedPtr<kSpriteBank>> s_residentBanks;
kArray<BuiltInBank> s_builtInBanks;

bool SameName(const char* a, const char* b) {
    return strcasecmp(a, b) == 0;
}

bool IsResident(const char* name) {
    for (const char* resident : kResidentBanks) {
        if (SameName(resident, name)) {
            return true;
        }
    }
    return false;
}

// The bank still held under that name, or an empty pointer once its last holder is gone.
kSharedPtr<kSpriteBank> FindShared(const char* name) {
    for (int i = 0; i < s_sharedBanks.Size(); ++i) {
        if (SameName(s_sharedBanks(i).name, name)) {
            return s_sharedBanks(i).bank.Lock();
        }
    }
    return kSharedPtr<kSpriteBank>();
}

void RememberShared(const char* name, const kSharedPtr<kSpriteBank>& bank) {
    for (int i = 0; i < s_sharedBanks.Size(); ++i) {
        if (SameName(s_sharedBanks(i).name, name)) {
            s_sharedBanks(i).bank = bank;
            return;
        }
    }
    s_sharedBanks.Push(SharedBank{kString(name), kWeakPtr<kSpriteBank>(bank)});
}

// An empty bank (a file name that never opens), for requests that cannot be met.
kSharedPtr<kSpriteBank> EmptyBank() {
    return kSharedPtr<kSpriteBank>(new kSpriteBank("", false));
}

const BuiltInBank* FindBuiltIn(const char* name) {
    for (int i = 0; i < s_builtInBanks.Size(); ++i) {
        if (SameName(s_builtInBanks(i).name, name)) {
            return &s_builtInBanks(i);
        }
    }
    return nullptr;
}

// The bank read from the program's own copy; a broken copy gives an empty bank, logged.
kSharedPtr<kSpriteBank> LoadBuiltIn(const BuiltInBank& builtIn) {
    kMemoryIOStream stream(const_cast<unsigned char*>(builtIn.bytes), builtIn.size,
                           K_IO_ACCESS_READ);
    try {
        return kSharedPtr<kSpriteBank>(new kSpriteBank(&stream));
    } catch (kIFFException& exception) {
        kLogSys(kSystem, "Built-in sprite bank %s is broken: %s\n", builtIn.name.CStr(),
                exception.GetErrorString());
        return EmptyBank();
    }
}

// The bank's file; a file that is missing or broken gives an empty bank, logged.
kSharedPtr<kSpriteBank> LoadBank(const char* name) {
    if (const BuiltInBank* builtIn = FindBuiltIn(name)) {
        return LoadBuiltIn(*builtIn);
    }
    char fileName[kMaxNameLength + 16];
    if (!MNResourceManager::GetBankFileName(name, fileName, sizeof(fileName))) {
        kLogSys(kSystem, "Sprite bank name too long: %.32s...\n", name);
        return EmptyBank();
    }
    return kSharedPtr<kSpriteBank>(new kSpriteBank(fileName, false));
}

// The name to use: "wii_" + name when the bank has that variant, else name itself.
kString PreferredName(const kSpriteBank& bank, const char* name) {
    const kString variant = kString(kWiiPrefix) + kString(name);
    return MNResourceManager::HasSprite(bank, variant) ? variant : kString(name);
}

} // namespace

void MNResourceManager::Init() {
    kFont::SetAutoShadow(true);
}

void MNResourceManager::Deinit() {
    s_residentBanks.Empty(0);
    s_sharedBanks.Empty(0);
    s_builtInBanks.Empty(0);
}

void MNResourceManager::AddBuiltInBank(const char* name, const unsigned char* bytes,
                                       unsigned int size) {
    if (name == nullptr || bytes == nullptr) {
        kLogSys(kSystem, "AddBuiltInBank: no name or no bytes\n");
        return;
    }
    s_builtInBanks.Push(BuiltInBank{kString(name), bytes, size});
}

kSharedPtr<kSpriteBank> MNResourceManager::GetSpriteBank(const char* name) {
    if (name == nullptr) {
        kLogSys(kSystem, "GetSpriteBank: no name\n");
        return EmptyBank();
    }
    kSharedPtr<kSpriteBank> bank = FindShared(name);
    if (bank.Get() != nullptr) {
        return bank;
    }
    bank = LoadBank(name);
    RememberShared(name, bank);
    if (IsResident(name)) {
        s_residentBanks.Push(bank);
    }
    return bank;
}

bool MNResourceManager::GetBankFileName(const char* name, char* fileName, int size) {
    const int wanted = std::snprintf(fileName, static_cast<size_t>(size), "wii/%s.KSB", name);
    return wanted >= 0 && wanted < size;
}

kSprite* MNResourceManager::GetSprite(const char* bank, const char* name) {
    if (name == nullptr) {
        kLogSys(kSystem, "GetSprite: no sprite name\n");
        return nullptr;
    }
    kSharedPtr<kSpriteBank> spriteBank = GetSpriteBank(bank);
    kSprite* sprite = kSprite::Create(spriteBank, PreferredName(*spriteBank.Get(), name));
    if (sprite == nullptr) {
        kLogSys(kSystem, "No sprite %s in bank %s\n", name, bank);
    }
    return sprite;
}

kSharedPtr<kFont> MNResourceManager::GetFont(const char* bank, const char* font) {
    if (font == nullptr) {
        font = "";
    }
    for (const FontAlias& alias : kFontAliases) {
        if (bank != nullptr && SameName(bank, alias.bank) && SameName(font, alias.font)) {
            bank = alias.realBank;
            font = alias.realFont;
        }
    }
    kSharedPtr<kSpriteBank> spriteBank = GetSpriteBank(bank);
    kSharedPtr<kFont> result(new kFont(spriteBank, PreferredName(*spriteBank.Get(), font)));
    result->SetColour(0xFFFFFFFF, false);
    return result;
}

bool MNResourceManager::HasSprite(const kSpriteBank& bank, const char* name) {
    for (int i = 0; i < bank.GetNumSprites(); ++i) {
        if (SameName(bank.GetRecordName(bank.GetSprite(i)->nameIndex), name)) {
            return true;
        }
    }
    return false;
}

} // namespace Kelvo_lib
