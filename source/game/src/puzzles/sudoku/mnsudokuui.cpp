#include <puzzles/sudoku/mnsudokuui.h>

#include <puzzles/mnpuzzlehints.h>
#include <puzzles/sudoku/mnsudokuwidget.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

MNSudokuUI::~MNSudokuUI() {
    Deinit();
}

void MNSudokuUI::Init() {
    kClass* record = MNSudokuWidget::StaticClass();
    kObject* memory = kObject::Allocate(record, nullptr, nullptr);
    record->m_classConstructor(memory);
    m_widget = static_cast<MNSudokuWidget*>(memory);
    m_widget->MenuSignal.Connect(this, &MNSudokuUI::OnMenu);
    m_widget->HelpSignal.Connect(this, &MNSudokuUI::OnHelp);
    m_widget->HintSignal.Connect(this, &MNSudokuUI::OnHint);
    MNSudoku* model = m_widget->GetSudoku();
    model->GameOverSignal.Connect(this, &MNSudokuUI::OnGameOver);
    model->ValidEntrySignal.Connect(this, &MNSudokuUI::OnValidEntry);
    model->InvalidEntrySignal.Connect(this, &MNSudokuUI::OnInvalidEntry);
}

void MNSudokuUI::Deinit() {
    if (m_widget == nullptr) {
        return;
    }
    m_widget->HintSignal.Disconnect(this, &MNSudokuUI::OnHint);
    m_widget->HelpSignal.Disconnect(this, &MNSudokuUI::OnHelp);
    m_widget->MenuSignal.Disconnect(this, &MNSudokuUI::OnMenu);
    MNSudoku* model = m_widget->GetSudoku();
    model->GameOverSignal.Disconnect(this, &MNSudokuUI::OnGameOver);
    model->ValidEntrySignal.Disconnect(this, &MNSudokuUI::OnValidEntry);
    model->InvalidEntrySignal.Disconnect(this, &MNSudokuUI::OnInvalidEntry);
    delete m_widget;
    m_widget = nullptr;
}

kUIWidget* MNSudokuUI::GetScreen() {
    return m_widget;
}

MNSudoku* MNSudokuUI::Model() const {
    return m_widget->GetSudoku();
}

bool MNSudokuUI::SetPuzzle(Puzzle* puzzle, int gameMode) {
    if (puzzle == nullptr || puzzle->GetType() != PUZZLE_TYPE_SUDOKU) {
        kLogSys("MNSudokuUI", "SetPuzzle: not a sudoku (type %d)\n",
                puzzle != nullptr ? puzzle->GetType() : -1);
        return false;
    }
    return SetPuzzle(static_cast<SudokuPuzzle*>(puzzle)->m_sudoku, gameMode);
}

bool MNSudokuUI::SetPuzzle(SudokuData* sudoku, int gameMode) {
    return Model()->SetPuzzle(sudoku, gameMode);
}

void MNSudokuUI::Play() {
    Model()->Play();
}

void MNSudokuUI::Reset() {
    Model()->Reset(false);
    m_widget->PuzzleReset();
}

int MNSudokuUI::GetState() const {
    return Model()->GetState();
}

float MNSudokuUI::GetTime() const {
    return Model()->GetTime();
}

int MNSudokuUI::GetPuzzleId() const {
    return Model()->GetPuzzleId();
}

int MNSudokuUI::GetNumErrors() const {
    return Model()->GetNumErrors();
}

void MNSudokuUI::RemoveErrors() {
    Model()->RemoveErrors();
}

bool MNSudokuUI::IsGridFull() const {
    return Model()->IsGridFull();
}

bool MNSudokuUI::IsContinueScreenOpen() const {
    return m_widget->IsContinueScreenOpen();
}

int MNSudokuUI::SavePuzzleState(void* buffer, int bufferSize) {
    return Model()->SavePuzzleState(buffer, bufferSize);
}

int MNSudokuUI::LoadPuzzleState(void* buffer, int bufferSize) {
    return Model()->LoadPuzzleState(buffer, bufferSize);
}

void MNSudokuUI::OnHint() {
    OpenHintScreen(*this, m_layer, Model()->GetDifficulty(), Model()->GetHintsLeft(),
                   &MNSudokuUI::OnPerformHint);
}

void MNSudokuUI::OnPerformHint(int iHint) {
    kLogFmt("Hint chosen: %d\n", iHint);
    if (iHint >= 0) {
        Model()->Hint(iHint);
    }
    ReleaseHintScreen(*this, &MNSudokuUI::OnPerformHint);
}

} // namespace Kelvo_lib
