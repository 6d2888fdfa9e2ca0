// The puzzle screen suites' set-up: one screen of a kind on a UI manager walked the way the
// world walks it, frame by frame from input scripts, with a count of the signals it sends,
// clicks of the pointer and A button, and the picture on screen.
#pragma once

#include "game_golden_fixture.h"

#include <services/mnprofile.h>
#include <services/puzzlebank.h>

#include <kelvo/render/krender.h>
#include <ui/kui.h>

#include <memory>
#include <string>

class PuzzleScreenSignals : public Kelvo_lib::kHasSlots<> {
public:
    void GameOver() { ++gameOver; }
    void Valid() { ++valid; }
    void Invalid() { ++invalid; }
    void Pause() { ++pause; }
    void Help() { ++help; }
    int gameOver = 0, valid = 0, invalid = 0, pause = 0, help = 0;
};

template <class Screen>
class PuzzleScreenTest : public GameUITest {
protected:
    static constexpr float kFrame = 1.0f / 60.0f;

    void TearDown() override {
        m_screen.reset();
        GameUITest::TearDown();
    }

    // A new screen on a layer of its own, for the suite to give its puzzle.
    void OpenScreen() {
        m_screen = std::make_unique<Screen>();
        m_manager.AddUI("game", m_screen.get());
        m_manager.PushLayer("game")->PushUI(m_screen.get());
    }

    // Seeds the game's random generator (hint and prefill choices), so that what a test
    // sees does not depend on the suites that ran before it in the process.
    static void SeedRandom(u32 seed) { Kelvo_lib::MNProfile::GetRandomGen()->seed(seed); }

    // Starts play and counts the signals the screen sends from then on.
    void PlayAndListen() {
        m_screen->Play();
        m_screen->GameOverSignal.Connect(&m_signals, &PuzzleScreenSignals::GameOver);
        m_screen->ValidEntrySignal.Connect(&m_signals, &PuzzleScreenSignals::Valid);
        m_screen->InvalidEntrySignal.Connect(&m_signals, &PuzzleScreenSignals::Invalid);
        m_screen->GamePauseSignal.Connect(&m_signals, &PuzzleScreenSignals::Pause);
        m_screen->HelpSignal.Connect(&m_signals, &PuzzleScreenSignals::Help);
    }

    Kelvo_lib::kUILayer* Layer() { return m_manager.GetLayer(m_manager.GetNumLayers() - 1); }

    // One frame of the world: the top screen's input and tick, then its drawing.
    void Frame(const std::string& events = "") {
        LoadScript({events});
        Step();
        Kelvo_lib::kUI* top = Layer()->GetTopUI();
        top->GetScreen()->ProcessInput();
        top->Tick(kFrame);
        top->GetScreen()->Tick(kFrame);
        Kelvo_lib::kRender::BufferSwap();
        top->GetScreen()->Render();
        ++m_frames;
    }

    // A press and release of A at a pixel, and a frame with the button idle.
    void Click(float x, float y) {
        const std::string at = PointAt(static_cast<int>(x), static_cast<int>(y));
        Frame(at + " hold A");
        Frame("hold none");
        Frame();
    }

    void ClickIntroContinue() { Click(320.0f, 270.0f); }

    png_golden::Image Picture() { return game_golden::Picture(m_surface); }

    Kelvo_lib::PuzzleBank m_bank;
    Kelvo_lib::kUIManager m_manager;
    std::unique_ptr<Screen> m_screen;
    PuzzleScreenSignals m_signals;
    int m_frames = 0;
};
