// MNSudokuUI: the screen a game mode plays one sudoku on. Init creates the widget by class
// (the widget owns the model); the mode API passes through to the model, and the screen
// re-emits the model's game over and entry signals and the widget's menu and help requests.
// The widget's hint button opens the hint screen "hint_main" on the screen's layer and the
// kind chosen there is given to the model. Main thread only; the mode API may be called
// between Init and deletion.
#pragma once

#include <puzzles/mnpuzzleui.h>

namespace Kelvo_lib {

class MNSudoku;
class MNSudokuWidget;

class MNSudokuUI : public MNPuzzleUI {
public:
    MNSudokuUI() = default;
    ~MNSudokuUI() override;

    void Init() override;
    void Deinit() override;
    void Activate(kUILayer* layer) override { m_layer = layer; }
    void Deactivate(kUILayer*) override {}
    kUIWidget* GetScreen() override;
    void Tick(float) override {}

    int GetPuzzleType() const override { return PUZZLE_FLAG_SUDOKU; }
    // A sudoku of the bank; another kind is refused (logged).
    bool SetPuzzle(Puzzle* puzzle, int gameMode) override;
    bool SetPuzzle(SudokuData* sudoku, int gameMode);
    void Play() override;
    void Reset() override;
    int GetState() const override;
    float GetTime() const override;
    int GetPuzzleId() const override;
    int GetNumErrors() const override;
    void RemoveErrors() override;
    bool IsGridFull() const override;
    bool IsContinueScreenOpen() const override;
    int SavePuzzleState(void* buffer, int bufferSize) override;
    int LoadPuzzleState(void* buffer, int bufferSize) override;

    MNSudokuWidget* GetWidget() { return m_widget; }

private:
    MNSudoku* Model() const;
    void OnHint();
    void OnPerformHint(int iHint);
    void OnGameOver() { GameOverSignal(); }
    void OnValidEntry() { ValidEntrySignal(); }
    void OnInvalidEntry() { InvalidEntrySignal(); }
    void OnMenu() { GamePauseSignal(); }
    void OnHelp() { HelpSignal(); }

    MNSudokuWidget* m_widget = nullptr;
    kUILayer* m_layer = nullptr;
};

} // namespace Kelvo_lib
