// The SDL window, its renderer and one streaming RGB texture of the shown picture's size.
#include "host/window.h"

#include <console/host.h>
#include <console/os.h>
#include <console/vi.h>

#include <SDL.h>

namespace {

constexpr int kInitialWidth = 640;
constexpr int kInitialHeight = 480;

struct Window {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    VIFrameSize textureSize{0, 0};
    bool sizedToPicture = false;
    bool closeRequested = false;
};

Window s_window;

void Fail(const char* what) {
    OSReport("host: %s: %s\n", what, SDL_GetError());
    s_window.closeRequested = true;
}

// A texture of the shown size, made again when the size changes. The first picture
// also sets the window's size; after that the user's size is kept.
bool EnsureTexture(VIFrameSize size) {
    if (s_window.texture != nullptr && s_window.textureSize.width == size.width &&
        s_window.textureSize.height == size.height) {
        return true;
    }
    if (s_window.texture != nullptr) {
        SDL_DestroyTexture(s_window.texture);
    }
    const int width = static_cast<int>(size.width);
    const int height = static_cast<int>(size.height);
    s_window.texture = SDL_CreateTexture(s_window.renderer, SDL_PIXELFORMAT_RGB24,
                                         SDL_TEXTUREACCESS_STREAMING, width, height);
    s_window.textureSize = size;
    if (s_window.texture == nullptr ||
        SDL_RenderSetLogicalSize(s_window.renderer, width, height) != 0) {
        Fail("cannot show the picture");
        return false;
    }
    if (!s_window.sizedToPicture) {
        SDL_SetWindowSize(s_window.window, width, height);
        s_window.sizedToPicture = true;
    }
    return true;
}

bool UploadShownPicture(VIFrameSize size) {
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(s_window.texture, nullptr, &pixels, &pitch) != 0) {
        Fail("cannot update the picture");
        return false;
    }
    const u32 rowBytes = static_cast<u32>(pitch);
    VIConvertShownFrameToRGB(static_cast<u8*>(pixels), rowBytes, rowBytes * size.height);
    SDL_UnlockTexture(s_window.texture);
    return true;
}

} // namespace

bool HostWindowStart() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        OSReport("host: no window (%s); run with --headless\n", SDL_GetError());
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    s_window.window = SDL_CreateWindow("Puzzles", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                       kInitialWidth, kInitialHeight, SDL_WINDOW_RESIZABLE);
    if (s_window.window != nullptr) {
        s_window.renderer = SDL_CreateRenderer(s_window.window, -1, 0);
    }
    if (s_window.renderer == nullptr) {
        OSReport("host: no window (%s); run with --headless\n", SDL_GetError());
        HostWindowStop();
        return false;
    }
    SDL_SetRenderDrawColor(s_window.renderer, 0, 0, 0, 255);
    return true;
}

void HostWindowStop() {
    if (s_window.texture != nullptr) {
        SDL_DestroyTexture(s_window.texture);
    }
    if (s_window.renderer != nullptr) {
        SDL_DestroyRenderer(s_window.renderer);
    }
    if (s_window.window != nullptr) {
        SDL_DestroyWindow(s_window.window);
    }
    const bool closeRequested = s_window.closeRequested;
    s_window = Window{};
    s_window.closeRequested = closeRequested;
    if (SDL_WasInit(0) != 0) {
        SDL_Quit();
    }
}

bool HostWindowRunning() {
    return s_window.renderer != nullptr;
}

bool HostWindowCloseRequested() {
    return s_window.closeRequested;
}

void HostWindowHandleEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (event.type == SDL_QUIT) {
            // Closing is the POWER button while the program listens for it.
            if (OSHasPowerCallback()) {
                HostRaisePower();
            } else {
                s_window.closeRequested = true;
            }
        } else if (event.type == SDL_KEYDOWN && event.key.repeat == 0 &&
                   event.key.keysym.sym == SDLK_r) {
            HostRaiseReset();
        }
    }
}

void HostWindowPresent() {
    const VIFrameSize size = VIGetShownFrameSize();
    SDL_RenderClear(s_window.renderer);
    if (size.width != 0 && size.height != 0 && EnsureTexture(size) && UploadShownPicture(size)) {
        SDL_RenderCopy(s_window.renderer, s_window.texture, nullptr, nullptr);
    }
    SDL_RenderPresent(s_window.renderer);
}
