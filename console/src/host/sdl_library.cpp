// Opens SDL by its shared object's name and looks up each call the table holds.
#include "host/sdl_library.h"

#include <console/os.h>

#include <dlfcn.h>

namespace {

// The name every SDL 2 release keeps for its shared object.
constexpr const char* kSdlObject = "libSDL2-2.0.so.0";

// Null when the library cannot be opened or lacks a call (reported).
const SdlLibrary* Open() {
    void* const handle = dlopen(kSdlObject, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        OSReport("host: cannot load %s (%s)\n", kSdlObject, dlerror());
        return nullptr;
    }
    static SdlLibrary library;
    bool bComplete = true;
#define HOST_SDL_LOOKUP(name)                                                                      \
    library.name = reinterpret_cast<decltype(library.name)>(dlsym(handle, "SDL_" #name));          \
    if (library.name == nullptr) {                                                                 \
        OSReport("host: %s has no SDL_%s\n", kSdlObject, #name);                                   \
        bComplete = false;                                                                         \
    }
    HOST_SDL_CALLS(HOST_SDL_LOOKUP)
#undef HOST_SDL_LOOKUP
    return bComplete ? &library : nullptr;
}

} // namespace

const SdlLibrary* HostSdl() {
    static const SdlLibrary* const library = Open();
    return library;
}
