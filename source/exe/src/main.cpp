// The game's entry point: brings the console's services up in order, shows the strap
// screen, then (unless the run ended meanwhile) builds the game, its client and the splash
// sequence and runs the main loop until the host or the player ends the run, and shuts
// everything down in order.
#include <services/mndialog.h>
#include <services/mnresourcemanager.h>
#include <services/mnsound.h>
#include <shell/mainclient.h>
#include <shell/mnbuiltinbanks.h>
#include <shell/mndiscfiles.h>
#include <shell/mnframeclock.h>
#include <shell/mngame.h>
#include <shell/mngameworld.h>
#include <shell/mnremotes.h>
#include <shell/mnstrapscreen.h>
#include <shell/mntitlescreen.h>

#include <framework/kdialog.h>
#include <framework/kevent.h>
#include <framework/kfont.h>
#include <framework/ksplashscreen.h>
#include <framework/kstoragenand.h>
#include <framework/ktext.h>

#include <kelvo/audio/kaudio.h>
#include <kelvo/input/kinputsystemwii.h>
#include <kelvo/platform/kfile.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

#include <console/dvd.h>
#include <console/os.h>
#include <console/vi.h>

#include <cstdio>
#include <cstring>

namespace {

using namespace Kelvo_lib;

constexpr const char* kBuildName = "1.0";
constexpr unsigned int kBlack = 0xFF000000;
constexpr const char* kDiscCheckFile = "wii/uk_english.txz";
// Built into the program, so that it shows before the disc is read.
constexpr const char* kStrapBank = "strap";
constexpr int kEffectVolume = 3;
constexpr int kMusicVolume = 2;

// The splash sequence: our title picture, then the five logo movies.
constexpr const char* kSplashBank = "splash";
constexpr const char* kSplashImage = "nintendo";
constexpr const char* kSplashMovies[] = {"logo_studio", "logo_engine", "logo_audio", "logo_video",
                                         "logo_puzzles"};
constexpr float kSplashMovieSeconds[] = {10.0f, 5.5f, 4.0f, 4.2f, 5.5f};

// The shipped program prints no log but its errors: each line whose message begins with
// "ERROR" reaches standard error once.
class ErrorLines {
public:
    static void Print(const char* text) {
        if (IsError(text) && Remember(text)) {
            std::fputs(text, stderr);
        }
    }

private:
    // At the start of the line, or past a system tag ("kStorage: ") and the indentation.
    static bool IsError(const char* text) {
        const char* tag = std::strstr(text, ": ");
        return StartsWithError(text) ||
               (tag != nullptr && StartsWithError(tag + 2 + std::strspn(tag + 2, " ")));
    }

    static bool StartsWithError(const char* text) { return std::strncmp(text, "ERROR", 5) == 0; }

    // False for a line printed before; once the table is full, lines are no longer held back.
    static bool Remember(const char* text) {
        const u64 hash = Fnv1a(text);
        for (u32 i = 0; i < s_count; ++i) {
            if (s_hashes[i] == hash) {
                return false;
            }
        }
        if (s_count < kMaxLines) {
            s_hashes[s_count++] = hash;
        }
        return true;
    }

    static u64 Fnv1a(const char* text) {
        u64 hash = 14695981039346656037ull;
        for (; *text != '\0'; ++text) {
            hash = (hash ^ static_cast<unsigned char>(*text)) * 1099511628211ull;
        }
        return hash;
    }

    static constexpr u32 kMaxLines = 256;
    static inline u64 s_hashes[kMaxLines] = {};
    static inline u32 s_count = 0;
};

const char* TvFormatName(u32 format) {
    switch (format) {
    case VI_NTSC:
        return "NTSC";
    case VI_PAL:
        return "PAL";
    case VI_EURGB60:
        return "EU60";
    case VI_MPAL:
        return "MPAL";
    default:
        return "unknown";
    }
}

void InitText() {
    kText::Reset();
    kArray<int> languages;
    for (int language = KTEXT_UK_ENGLISH; language < KTEXT_NUM_LANGUAGES; ++language) {
        languages.Push(language);
    }
    kText::SetSupportedLanguages(languages);
    kFont::SetAutoShadow(true);
}

// The frame's end: the swap, with RESET held back to the flag meanwhile.
void SwapFrame() {
    krDrawHelp::Flush();
    kEvent::DisableResetSignal();
    kRender::BufferSwap();
    kEvent::EnableResetSignal();
}

// One frame of every loop: the platform's step, RESET's flag, input, sound and console
// events, then the system dialogs over a frozen scene, or the scene (the strap, nothing, the
// game) with the sign of a refused HOME press over it, and the swap. The game's frames also
// drop every remote but player 1's, check the disc and let the frame time follow the splash.
// False when the run ends.
template <typename Scene>
bool RunFrame(kInputSystemWII& input, MNFrameClock& clock, bool bGame, Scene&& scene) {
    if (kPlatform_Process() == 0 || MNDialog::IsExitRequested()) {
        return false;
    }
    if (g_bResetFlag) {
        g_bResetFlag = false;
        kLogFmt("ALTERNATIVE RESET\n");
        MNDialog::Reset();
        return true;
    }
    if (!kRender::IsReady()) {
        return true;
    }
    const float delta =
        clock.NextFrameTime(kPlatform_GetSeconds(), bGame && kSplashScreen::IsFinished());
    input.Update();
    MNSound::Tick(delta);
    kAudio::Update();
    if (bGame) {
        MNRemotes::DisconnectAllButPlayerOne();
        if (clock.IsDiscCheckDue()) {
            kEvent::WiiDiscCheck(kDiscCheckFile);
        }
    }
    kEvent::Check();
    MNDialog::Tick(delta);
    if (MNDialog::IsDialogOpen() || MNDialog::IsScreenBlack()) {
        MNDialog::Tick(delta);
        MNDialog::Render(); // nothing while the screen is held black
    } else {
        scene(delta);
        MNDialog::RenderHomeButtonIcon();
    }
    SwapFrame();
    return true;
}

// The frames that disc reads the game waits for run meanwhile.
struct DiscWait {
    kInputSystemWII* input = nullptr; // null: no frames
    MNFrameClock clock{0.0f};
    bool bInFrame = false;
    bool bRunEnded = false;
};

DiscWait s_discWait;

// Called on each poll of a disc read the game waits for. While the drive is in an error that
// puts up a system dialog (no disc, wrong disc, unreadable, fatal error), each poll is a frame
// of the dialogs over the frozen game, as in the main loop: the dialog shows, and RESET, POWER
// and the host's stop still end the run. A read merely under way is waited out by the drive's
// own polls. Once the run has ended the reads still waiting are cancelled, so that their
// waits end and the main loop carries the end out.
void ServeDiscWait(bool bError) {
    DiscWait& wait = s_discWait;
    if (!bError || wait.input == nullptr || wait.bInFrame) {
        return;
    }
    if (!wait.bRunEnded) {
        kEvent::Check();
        if (!MNDialog::IsDialogOpen() && !MNDialog::IsScreenBlack()) {
            return;
        }
        wait.bInFrame = true;
        wait.bRunEnded = !RunFrame(*wait.input, wait.clock, false, [](float) {});
        wait.bInFrame = false;
    }
    if (wait.bRunEnded) {
        DVDCancelAll();
    }
}

void BeginDiscWaitFrames(kInputSystemWII& input) {
    s_discWait = DiscWait();
    s_discWait.input = &input;
    s_discWait.clock = MNFrameClock(kPlatform_GetSeconds());
    kPlatformWii_Temp_SetIOCallback(ServeDiscWait);
}

void EndDiscWaitFrames() {
    kPlatformWii_Temp_SetIOCallback(nullptr);
    s_discWait = DiscWait();
}

bool ShowStrapScreen(kInputSystemWII& input) {
    MNDialog::SetHomeButtonEnabled(false);
    MNStrapScreen strap(MNResourceManager::GetSpriteBank(kStrapBank));
    MNFrameClock clock(kPlatform_GetSeconds());
    bool bRunning = true;
    // RESET ends the strap too; the main loop acts on the flag.
    while (bRunning && !strap.IsFinished() && !g_bResetFlag) {
        bRunning = RunFrame(input, clock, false, [&strap](float delta) {
            strap.Tick(delta);
            strap.Render();
        });
    }
    MNDialog::SetHomeButtonEnabled(true);
    return bRunning;
}

// While a system dialog is open nothing else runs.
bool RunDialogLoop(kInputSystemWII& input) {
    MNFrameClock clock(kPlatform_GetSeconds());
    while (MNDialog::IsDialogOpen()) {
        if (!RunFrame(input, clock, false, [](float) {})) {
            return false;
        }
    }
    return true;
}

void BuildSplashSequence() {
    kSplashScreen::AddImage(MNResourceManager::GetSpriteBank(kSplashBank), kSplashImage, 1.0f, 0.5f,
                            0.5f, false);
    for (int i = 0; i < 5; ++i) {
        kSplashScreen::AddMovie(kSplashMovies[i], kSplashMovieSeconds[i], true);
    }
    kSplashScreen::Start();
}

void RunMainLoop(kInputSystemWII& input, MNGame& game, MainClient& client) {
    MNFrameClock clock(kPlatform_GetSeconds());
    while (RunFrame(input, clock, true, [&game, &client](float delta) {
        game.Tick(delta);
        client.Render();
    })) {
    }
}

// Loads the sounds and the home-button menu, builds the game, its client and the splash
// sequence, runs the main loop, and takes the game down again. Returns how the run ended.
MNDialog::eExit PlayGame(kInputSystemWII& input) {
    // MNSound::Init sets the volumes, then loads every effect and music cue.
    kLogFmt("begin load\n");
    MNSound::Init(kEffectVolume, kMusicVolume);
    MNDialog::PreloadHomeMenu();

    MNGame* const game = new MNGame();
    MainClient* const client = new MainClient();
    BuildSplashSequence();
    game->AddClient(client);
    game->GetGameWorld()->Init();
    MNTitleScreen::Init();
    RunMainLoop(input, *game, *client);

    const MNDialog::eExit exit = MNDialog::GetExit();
    game->GetGameWorld()->EndPlay();
    delete game; // the client's ClientDeinit runs here
    delete client;
    MNTitleScreen::Deinit();
    kSplashScreen::Clear();
    return exit;
}

} // namespace

int GameMain() {
    MNRemotes::TurnPointersOff();
    kPlatform_Init();
    kLogCHook(ErrorLines::Print);
    kLogFmt("Build: %s\n", kBuildName);
    // A disc folder without a file the game cannot be played without ends the program here.
    MNDiscFiles::Check();

    kRender::Init();
    kAudio::Init();
    kAudio::DeviceCreate(0, 0, nullptr);
    krSurface* const surface = kRender::SurfaceCreate(krSurfaceDesc());

    StorageManagerWiiForceEnglishOnly(true);
    kRender::BufferClear(kBlack);
    kRender::BufferSwap();
    kRender::BufferSwap();
    kInputSystemWII input;
    kInputSystemBase::Select(&input);
    // Off again before the input system's Init turns the pointer on for the game.
    MNRemotes::TurnPointersOff();
    input.Init(nullptr);

    InitText();
    kLogFmt("TV format: %s\n", TvFormatName(VIGetTvFormat()));

    MNResourceManager::Init();
    MNBuiltInBanks::Register();
    g_bEnableControllerCheck = false;
    kEvent::Init();
    kDialogManager::Init(nullptr, nullptr, nullptr);
    MNDialog::Init();
    BeginDiscWaitFrames(input);
    bool bRunning = ShowStrapScreen(input);
    g_bEnableControllerCheck = true;
    bRunning = bRunning && RunDialogLoop(input);
    // A run that ends before the main loop builds no game.
    const MNDialog::eExit exit = bRunning ? PlayGame(input) : MNDialog::GetExit();

    EndDiscWaitFrames();
    MNDialog::Deinit();
    kDialogManager::Deinit();
    kEvent::Deinit();
    MNSound::Deinit();
    MNResourceManager::Deinit();
    kInputSystemBase::Select(nullptr);
    kRender::SurfaceDestroy(surface);
    kRender::Deinit();
    kAudio::Deinit();
    if (exit == MNDialog::EXIT_RESET) {
        OSRestart(); // the program starts again from here, as after RESET on the console
    }
    return 0;
}
