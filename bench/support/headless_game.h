// The whole game brought up in the benchmark's process as the entry point does, headless,
// over the build's disc image and a flash memory directory of its own (removed at the end),
// showing the title screen: each Frame is the platform's step, input, sound, the game's
// tick and, when asked, the client's picture with the buffer swap. Main thread only.
#pragma once

#include <services/mnresourcemanager.h>
#include <services/mnsound.h>
#include <shell/mainclient.h>
#include <shell/mngame.h>
#include <shell/mngameworld.h>
#include <shell/mntitlescreen.h>

#include <kelvo/input/kinputsystemwii.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

#include <console/host.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace bench {

class HeadlessGame {
public:
    static constexpr float kFrame = 0.02f;

    explicit HeadlessGame(const char* nandName)
        : m_nand(std::filesystem::temp_directory_path() / nandName) {
        using namespace Kelvo_lib;
        std::filesystem::create_directories(m_nand);
        HostOptions options = HostGetOptions();
        std::snprintf(options.discDir, sizeof(options.discDir), "%s", PUZZLES_DISC_DIR);
        std::snprintf(options.nandDir, sizeof(options.nandDir), "%s", m_nand.c_str());
        HostSetOptions(options);
        kLog->Hook(&m_quiet);
        kRender::Init();
        m_surface = kRender::SurfaceCreate(krSurfaceDesc());
        m_input.Init(nullptr);
        kInputSystemBase::Select(&m_input);
        MNResourceManager::Init();
        MNSound::Init(3, 2);
        m_game.AddClient(&m_client);
        m_game.GetGameWorld()->Init();
        MNTitleScreen::Init();
    }

    ~HeadlessGame() {
        using namespace Kelvo_lib;
        MNTitleScreen::Deinit();
        m_game.GetGameWorld()->Deinit();
        m_game.RemoveClient(&m_client);
        MNSound::Deinit();
        MNResourceManager::Deinit();
        kInputSystemBase::Select(nullptr);
        kRender::SurfaceDestroy(m_surface);
        kRender::Deinit();
        std::filesystem::remove_all(m_nand);
    }

    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    void Frame(bool bDraw = true) {
        using namespace Kelvo_lib;
        kPlatform_Process();
        m_input.Update();
        MNSound::Tick(kFrame);
        m_game.Tick(kFrame);
        if (bDraw) {
            m_client.Render();
        }
        krDrawHelp::Flush();
        kRender::BufferSwap();
    }

    // The frame step and the buffer swap alone: the copy of a frame nothing drew.
    void CopyFrame() {
        kPlatform_Process();
        Kelvo_lib::kRender::BufferSwap();
    }

    Kelvo_lib::MNGameWorld& World() { return *m_game.GetGameWorld(); }

private:
    class QuietLog : public Kelvo_lib::kLogHook {
    public:
        void Reset() override {}
        void Message(long, int, int, const char*, const char*, bool) override {}
        void Print(const char*) override {}
    };

    std::filesystem::path m_nand;
    QuietLog m_quiet;
    Kelvo_lib::krSurface* m_surface = nullptr;
    Kelvo_lib::kInputSystemWII m_input;
    Kelvo_lib::MNGame m_game;
    Kelvo_lib::MainClient m_client;
};

} // namespace bench
