#include <puzzles/wordsearch/mnwordsearchui.h>

#include <puzzles/mnpuzzlehints.h>
#include <puzzles/wordsearch/mnwordsearchwidget.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

MNWordsearchUI::~MNWordsearchUI() {
    Deinit();
}

void MNWordsearchUI::Init() {
    kClass* record = MNWordsearchWidget::StaticClass();
    kObject* memory = kObject::Allocate(record, nullptr, nullptr);
    record->m_classConstructor(memory);
    m_widget = static_cast<MNWordsearchWidget*>(memory);
    m_widget->MenuSignal.Connect(this, &MNWordsearchUI::OnMenu);
    m_widget->HintSignal.Connect(this, &MNWordsearchUI::OnHint);
    m_widget->HelpSignal.Connect(this, &MNWordsearchUI::OnHelp);
    MNWordsearch* model = Model();
    model->GameOverSignal.Connect(this, &MNWordsearchUI::OnGameOver);
    model->ValidEntrySignal.Connect(this, &MNWordsearchUI::OnValidEntry);
    model->InvalidEntrySignal.Connect(this, &MNWordsearchUI::OnInvalidEntry);
}

void MNWordsearchUI::Deinit() {
    if (m_widget == nullptr) {
        return;
    }
    m_widget->MenuSignal.Disconnect(this, &MNWordsearchUI::OnMenu);
    m_widget->HintSignal.Disconnect(this, &MNWordsearchUI::OnHint);
    m_widget->HelpSignal.Disconnect(this, &MNWordsearchUI::OnHelp);
    MNWordsearch* model = Model();
    model->GameOverSignal.Disconnect(this, &MNWordsearchUI::OnGameOver);
    model->ValidEntrySignal.Disconnect(this, &MNWordsearchUI::OnValidEntry);
    model->InvalidEntrySignal.Disconnect(this, &MNWordsearchUI::OnInvalidEntry);
    delete m_widget;
    m_widget = nullptr;
}

kUIWidget* MNWordsearchUI::GetScreen() {
    return m_widget;
}

MNWordsearch* MNWordsearchUI::Model() const {
    return m_widget->GetWordsearch();
}

void MNWordsearchUI::OnHint() {
    OpenHintScreen(*this, m_layer, Model()->GetDifficulty(), Model()->GetHintsLeft(),
                   &MNWordsearchUI::OnPerformHint);
}

void MNWordsearchUI::OnPerformHint(int iHint) {
    kLogFmt("Hint chosen: %d\n", iHint);
    if (iHint >= 0) {
        Model()->Hint(iHint);
    }
    ReleaseHintScreen(*this, &MNWordsearchUI::OnPerformHint);
}

bool MNWordsearchUI::SetPuzzle(Puzzle* puzzle, int gameMode) {
    if (puzzle == nullptr || puzzle->GetType() != PUZZLE_TYPE_WORDSEARCH) {
        kLogSys("MNWordsearchUI", "SetPuzzle: not a wordsearch (type %d)\n",
                puzzle != nullptr ? puzzle->GetType() : -1);
        return false;
    }
    SetPuzzle(static_cast<WordsearchPuzzle*>(puzzle)->m_wordsearch, gameMode);
    return true;
}

void MNWordsearchUI::SetPuzzle(WordsearchData* wordsearch, int gameMode) {
    Model()->SetPuzzle(wordsearch, gameMode);
}

void MNWordsearchUI::Play() {
    Model()->Play();
}

void MNWordsearchUI::Reset() {
    Model()->ResetPuzzle(false);
}

int MNWordsearchUI::GetState() const {
    return Model()->GetState();
}

float MNWordsearchUI::GetTime() const {
    return Model()->GetTime();
}

int MNWordsearchUI::GetPuzzleId() const {
    return Model()->GetPuzzleId();
}

bool MNWordsearchUI::IsGridFull() const {
    return Model()->CheckWin();
}

bool MNWordsearchUI::IsContinueScreenOpen() const {
    return m_widget->IsContinueScreenOpen();
}

int MNWordsearchUI::SavePuzzleState(void* buffer, int bufferSize) {
    return Model()->SavePuzzleState(buffer, bufferSize);
}

int MNWordsearchUI::LoadPuzzleState(void* buffer, int bufferSize) {
    return Model()->LoadPuzzleState(buffer, bufferSize);
}

} // namespace Kelvo_lib
