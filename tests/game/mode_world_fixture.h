// What the game-mode suites share: the real world (front end and every mode) over a fresh
// flash memory and the built disc, its generator seeded, frames run as the game runs them
// with a scripted pointer and A button, the layers and background read back, the save.dat
// writes counted from the log, and the debug profile's key that completes a puzzle.
#pragma once

#include "game_ui_fixture.h"
#include "puzzle_test_support.h"
#include "temporary_host_directory.h"

#include <modes/mnpuzzlemode.h>
#include <puzzles/mnpuzzleui.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsavedata.h>
#include <services/puzzlebank.h>
#include <services/puzzlebankwriter.h>
#include <shell/mngame.h>
#include <shell/mngameworld.h>
#include <tui/mnbackground.h>
#include <tui/tuiart.h>

#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/math/kmrandom.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

class ModeWorldTest : public GameUITest {
protected:
    static constexpr float kFrame = 1.0f / 50.0f;
    static constexpr unsigned int kSeed = 20261207u;

    void SetUp() override {
        GameUITest::SetUp();
        Kelvo_lib::MNProfile::GetRandomGen()->seed(kSeed);
        m_game = new Kelvo_lib::MNGame;
        World().Init();
        World().BeginPlay();
        Kelvo_lib::MNProfileManager::SetActiveProfile(0);
        World().SetActiveProfile(0);
    }
    void TearDown() override {
        if (m_bankStream != nullptr) {
            Kelvo_lib::MNProfile::GetPuzzlebank()->Load(Kelvo_lib::MNProfileManager::GetLanguage());
        }
        delete m_game;
        GameUITest::TearDown();
    }

    Kelvo_lib::MNGameWorld& World() { return *m_game->GetGameWorld(); }
    Kelvo_lib::kUIManager& Manager() { return *World().GetUIManager(); }
    Kelvo_lib::MNSaveProfileData& Profile() { return *World().GetProfile()->GetSaveData(); }
    template <class Mode>
    Mode& SubGame(int index) {
        return *static_cast<Mode*>(World().GetSubGame(index));
    }
    void Enter(int subGame) { World().SetCurrentSubGame(subGame); }

    // The registered name of the top layer's top screen, and the names of the layers.
    std::string TopId() {
        const Kelvo_lib::kUI* top = Manager().GetLayer(Manager().GetNumLayers() - 1)->GetTopUI();
        return top != nullptr ? top->GetId() : "";
    }
    std::string LayerIds() {
        std::string ids;
        for (int i = 0; i < Manager().GetNumLayers(); ++i) {
            ids += std::string(i > 0 ? " " : "") + Manager().GetLayer(i)->GetId();
        }
        return ids;
    }
    static Kelvo_lib::eBackgroundLook BackgroundMode(const Kelvo_lib::MNPuzzleMode& mode) {
        return mode.GetBackgroundScreen()->GetBackground()->GetMode();
    }

    // One frame per entry of input script (empty: no new input).
    void Run(const std::vector<std::string>& frames) { RunWorld(World(), frames, kFrame); }
    void Frames(int count) { Run(std::vector<std::string>(count)); }
    // A press and release of A at a pixel of the picture.
    void ClickAt(int x, int y) { Run(ClickScript(PointAt(x, y))); }
    // The back button's place, at the bottom-left corner.
    void ClickBack() { ClickAt(30, static_cast<int>(Kelvo_lib::TUIArt::DisplayHeight()) - 30); }
    // Every puzzle kind shows its intro first; its continue button is at the same place.
    void ContinueIntro(const Kelvo_lib::MNPuzzleMode& mode) {
        Frames(2);
        ClickAt(320, 270);
        ASSERT_FALSE(mode.GetPuzzleScreen()->IsContinueScreenOpen());
    }

    // The difficulty the bank files the puzzle of that id under; past pro for none.
    static Kelvo_lib::ePuzzleDifficulty DifficultyOf(int id) {
        const Kelvo_lib::PuzzleBank& bank = *Kelvo_lib::MNProfile::GetPuzzlebank();
        const int index = bank.FindEntry(id);
        return Kelvo_lib::DifficultyOfBankValue(index < 0 ? 255u : bank.GetEntry(index).difficulty);
    }

    // The active profile named as the debug profile, whose key completes a puzzle.
    void BecomeDebugProfile() { std::strcpy(Profile().name, Kelvo_lib::MNProfile::kDebugName); }
    void DebugKey() { Run({"hold 2", "hold none"}); }

    // The bytes of a bank that holds one beginner sudoku in the current language.
    static std::vector<u8> OneSudokuBank() {
        Kelvo_lib::PuzzleBankWriter writer;
        Kelvo_lib::SudokuData sudoku = puzzle_test::MakeSudoku(1, 9);
        sudoku.difficulty = Kelvo_lib::BankValueOf(Kelvo_lib::PUZZLE_DIFFICULTY_BEGINNER);
        sudoku.language = Kelvo_lib::MNProfileManager::GetLanguage();
        writer.AddSudoku(sudoku);
        return puzzle_test::BankBytes(writer);
    }
    // The bank of bytes in place of the disc's until the test ends (the bank reads its
    // records from the stream as it needs them).
    bool UseBank(const std::vector<u8>& bytes) {
        m_bankBytes = bytes;
        m_bankStream = std::make_unique<Kelvo_lib::kMemoryIOStream>(
            m_bankBytes.data(), static_cast<unsigned int>(m_bankBytes.size()), K_IO_ACCESS_READ);
        return Kelvo_lib::MNProfile::GetPuzzlebank()->Load(m_bankStream.get());
    }

    // save.dat writes since the test began.
    int SaveWrites() const { return m_saves.count; }

    // Counts the log's lines announcing a written save, keeping nothing else, so that tests
    // counting memory blocks see none of its own.
    struct SaveCounter : Kelvo_lib::kLogHook {
        SaveCounter() { kLog->Hook(this); }
        void Reset() override {}
        void Message(long, int, int, const char*, const char* text, bool) override {
            // The hook gets each line without its newline.
            count += std::strcmp(text, "MNProfileManager: save written") == 0 ? 1 : 0;
        }
        void Print(const char*) override {}
        int count = 0;
    };

    test_support::TemporaryNand m_nand;
    SaveCounter m_saves;
    Kelvo_lib::MNGame* m_game = nullptr;
    std::vector<u8> m_bankBytes;
    std::unique_ptr<Kelvo_lib::kMemoryIOStream> m_bankStream;
};
