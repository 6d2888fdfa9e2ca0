// The SDL window, its renderer and one streaming RGB texture of the shown picture's size. SDL
// is loaded when the window opens.
#include "host/window.h"

#include "host/frame_clock.h"
#include "host/retrace.h"
#include "host/sdl_library.h"

#include <console/host.h>
#include <console/host_input.h>
#include <console/os.h>
#include <console/vi.h>
#include <console/wpad.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kInitialWidth = 640;
constexpr int kInitialHeight = 480;

struct Window {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    VIFrameSize textureSize{0, 0};
    bool sizedToPicture = false;
};

Window s_window;
// Set once the window host starts.
const SdlLibrary* s_sdl = nullptr;

void Fail(const char* what) {
    OSReport("host: %s: %s\n", what, s_sdl->GetError());
    HostRequestEnd();
}

// A texture of the shown size, made again when the size changes. The first picture
// also sets the window's size; after that the user's size is kept.
bool EnsureTexture(VIFrameSize size) {
    if (s_window.texture != nullptr && s_window.textureSize.width == size.width &&
        s_window.textureSize.height == size.height) {
        return true;
    }
    if (s_window.texture != nullptr) {
        s_sdl->DestroyTexture(s_window.texture);
    }
    const int width = static_cast<int>(size.width);
    const int height = static_cast<int>(size.height);
    s_window.texture = s_sdl->CreateTexture(s_window.renderer, SDL_PIXELFORMAT_RGB24,
                                            SDL_TEXTUREACCESS_STREAMING, width, height);
    s_window.textureSize = size;
    if (s_window.texture == nullptr ||
        s_sdl->RenderSetLogicalSize(s_window.renderer, width, height) != 0) {
        Fail("cannot show the picture");
        return false;
    }
    if (!s_window.sizedToPicture) {
        s_sdl->SetWindowSize(s_window.window, width, height);
        s_window.sizedToPicture = true;
    }
    return true;
}

bool UploadShownPicture(VIFrameSize size) {
    void* pixels = nullptr;
    int pitch = 0;
    if (s_sdl->LockTexture(s_window.texture, nullptr, &pixels, &pitch) != 0) {
        Fail("cannot update the picture");
        return false;
    }
    const u32 rowBytes = static_cast<u32>(pitch);
    VIConvertShownFrameToRGB(static_cast<u8*>(pixels), rowBytes, rowBytes * size.height);
    s_sdl->UnlockTexture(s_window.texture);
    return true;
}

// SDL falls back on a driver that shows nothing when no display server answers; such a
// driver is taken only when the user asks for it (SDL_VIDEODRIVER).
bool OnAChosenOrRealDisplay() {
    const char* driver = s_sdl->GetCurrentVideoDriver();
    const bool bInvisible = driver != nullptr && (std::strcmp(driver, "offscreen") == 0 ||
                                                  std::strcmp(driver, "dummy") == 0);
    return !bInvisible || std::getenv("SDL_VIDEODRIVER") != nullptr;
}

// The window's part of each retrace, while it is open.
void ShowRetrace() {
    HostWindowHandleEvents();
    HostWindowPresent();
}

} // namespace

bool HostWindowStart() {
    s_sdl = HostSdl();
    if (s_sdl == nullptr) {
        OSReport("host: no window (SDL cannot be loaded); run with --headless\n");
        return false;
    }
    if (s_sdl->Init(SDL_INIT_VIDEO) != 0) {
        OSReport("host: no window (%s); run with --headless\n", s_sdl->GetError());
        return false;
    }
    if (!OnAChosenOrRealDisplay()) {
        OSReport("host: no window (no display server answers; DISPLAY is '%s'); run with "
                 "--headless\n",
                 std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "");
        s_sdl->Quit();
        return false;
    }
    s_sdl->SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    s_window.window =
        s_sdl->CreateWindow("Puzzles", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                            kInitialWidth, kInitialHeight, SDL_WINDOW_RESIZABLE);
    if (s_window.window != nullptr) {
        s_window.renderer = s_sdl->CreateRenderer(s_window.window, -1, 0);
    }
    if (s_window.renderer == nullptr) {
        OSReport("host: no window (%s); run with --headless\n", s_sdl->GetError());
        HostWindowStop();
        return false;
    }
    s_sdl->SetRenderDrawColor(s_window.renderer, 0, 0, 0, 255);
    HostSetRetraceView(ShowRetrace);
    return true;
}

void HostWindowStop() {
    HostSetRetraceView(nullptr);
    if (s_sdl == nullptr) {
        return;
    }
    if (s_window.texture != nullptr) {
        s_sdl->DestroyTexture(s_window.texture);
    }
    if (s_window.renderer != nullptr) {
        s_sdl->DestroyRenderer(s_window.renderer);
    }
    if (s_window.window != nullptr) {
        s_sdl->DestroyWindow(s_window.window);
    }
    s_window = Window{};
    if (s_sdl->WasInit(0) != 0) {
        s_sdl->Quit();
    }
}

namespace {

// Remote 0 (player 1) follows the mouse and keyboard.
constexpr int kPlayerRemote = 0;

struct KeyButton {
    SDL_Keycode key;
    u32 button;
};
constexpr KeyButton kKeyButtons[] = {
    {SDLK_1, WPAD_BUTTON_1},
    {SDLK_2, WPAD_BUTTON_2},
    {SDLK_PLUS, WPAD_BUTTON_PLUS},
    {SDLK_EQUALS, WPAD_BUTTON_PLUS},
    {SDLK_KP_PLUS, WPAD_BUTTON_PLUS},
    {SDLK_MINUS, WPAD_BUTTON_MINUS},
    {SDLK_KP_MINUS, WPAD_BUTTON_MINUS},
    {SDLK_h, WPAD_BUTTON_HOME},
    {SDLK_HOME, WPAD_BUTTON_HOME},
    {SDLK_LEFT, WPAD_BUTTON_LEFT},
    {SDLK_RIGHT, WPAD_BUTTON_RIGHT},
    {SDLK_UP, WPAD_BUTTON_UP},
    {SDLK_DOWN, WPAD_BUTTON_DOWN},
};

u32 ButtonForKey(SDL_Keycode key) {
    for (const KeyButton& entry : kKeyButtons) {
        if (entry.key == key) {
            return entry.button;
        }
    }
    return 0;
}

u32 ButtonForMouse(u8 button) {
    if (button == SDL_BUTTON_LEFT) {
        return WPAD_BUTTON_A;
    }
    if (button == SDL_BUTTON_RIGHT) {
        return WPAD_BUTTON_B;
    }
    return 0;
}

// Mouse positions arrive in the picture's own pixels (the renderer's logical size).
void PointAt(int x, int y) {
    const VIFrameSize size = s_window.textureSize;
    if (size.width != 0 && size.height != 0) {
        HostInputSetPointer(kPlayerRemote, (static_cast<f32>(x) + 0.5f) / size.width,
                            (static_cast<f32>(y) + 0.5f) / size.height);
    }
}

void HandleKey(const SDL_KeyboardEvent& key, bool down) {
    if (down && key.repeat == 0) {
        switch (key.keysym.sym) {
        case SDLK_r:
            HostRaiseReset();
            return;
        case SDLK_c:
            HostInputToggleConnected(kPlayerRemote);
            return;
        case SDLK_s:
            HostInputPressSyncButton();
            return;
        default:
            break;
        }
    }
    const u32 button = ButtonForKey(key.keysym.sym);
    if (button != 0) {
        HostInputSetButton(kPlayerRemote, button, down);
    }
}

} // namespace

void HostWindowHandleEvents() {
    SDL_Event event;
    while (s_sdl->PollEvent(&event) != 0) {
        switch (event.type) {
        case SDL_QUIT:
            HostRequestClose();
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            HandleKey(event.key, event.type == SDL_KEYDOWN);
            break;
        case SDL_MOUSEMOTION:
            PointAt(event.motion.x, event.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            PointAt(event.button.x, event.button.y);
            HostInputSetButton(kPlayerRemote, ButtonForMouse(event.button.button),
                               event.type == SDL_MOUSEBUTTONDOWN);
            break;
        default:
            break;
        }
    }
}

void HostWindowPresent() {
    const VIFrameSize size = VIGetShownFrameSize();
    s_sdl->RenderClear(s_window.renderer);
    if (size.width != 0 && size.height != 0 && EnsureTexture(size) && UploadShownPicture(size)) {
        s_sdl->RenderCopy(s_window.renderer, s_window.texture, nullptr, nullptr);
    }
    s_sdl->RenderPresent(s_window.renderer);
}
