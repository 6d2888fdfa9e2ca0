// A stand-in for the game's entry point that plays the start-up sequence from the disc image
// (the title picture with its fades, then the five logo movies, which the A button skips)
// on the engine's frame loop, then shows black until the run ends.
#include <framework/ksplashscreen.h>
#include <framework/kspritebank.h>

#include <kelvo/audio/kaudio.h>
#include <kelvo/input/kinputsystemwii.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

namespace {

using namespace Kelvo_lib;

constexpr float kFrameTime = 1.0f / 50;
constexpr const char* kMovies[] = {"logo_studio", "logo_engine", "logo_audio", "logo_video",
                                   "logo_puzzles"};
constexpr float kMovieSeconds[] = {10.0f, 5.5f, 4.0f, 4.2f, 5.5f};

void BuildSequence() {
    kSharedPtr<kSpriteBank> bank(new kSpriteBank("wii/splash.KSB", false));
    kSplashScreen::AddImage(bank, "nintendo", 1.0f, 0.5f, 0.5f, false);
    for (int i = 0; i < 5; ++i) {
        kSplashScreen::AddMovie(kMovies[i], kMovieSeconds[i], true);
    }
}

} // namespace

int GameMain() {
    kPlatform_Init();
    kRender::Init();
    krSurface* surface = kRender::SurfaceCreate(krSurfaceDesc());
    kAudio::Init();
    kAudio::DeviceCreate(0, 0, nullptr);
    kInputSystemWII input;
    kInputSystemBase::Select(&input);
    input.Init(nullptr);
    BuildSequence();
    kSplashScreen::Start();
    bool wasHeld = false;
    while (kPlatform_Process() != 0) {
        input.Update();
        const bool held = input.GetInputState(KI_WII_PAD1_BUTTON_A, 0) > 0.5f;
        if (held && !wasHeld && !kSplashScreen::IsFinished() && kSplashScreen::IsAllowKeySkip()) {
            kLogFmt("Key skip\n");
            kSplashScreen::AdvanceState(true);
        }
        wasHeld = held;
        kAudio::Update();
        kSplashScreen::Tick(kFrameTime);
        kRender::BufferClear(0xFF000000);
        kSplashScreen::Render();
        krDrawHelp::Flush();
        kRender::BufferSwap();
    }
    kSplashScreen::Clear();
    kInputSystemBase::Select(nullptr);
    kAudio::Deinit();
    kRender::SurfaceDestroy(surface);
    kRender::Deinit();
    return 0;
}
