#include <puzzles/fitword/mnfitwordui.h>

#include <puzzles/fitword/mnfitwordwidget.h>
#include <puzzles/mnpuzzlehints.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

MNFitwordUI::~MNFitwordUI() {
    Deinit();
}

void MNFitwordUI::Init() {
    kClass* record = MNFitwordWidget::StaticClass();
    kObject* memory = kObject::Allocate(record, nullptr, nullptr);
    record->m_classConstructor(memory);
    m_widget = static_cast<MNFitwordWidget*>(memory);
    m_widget->MenuSignal.Connect(this, &MNFitwordUI::OnMenu);
    m_widget->HelpSignal.Connect(this, &MNFitwordUI::OnHelp);
    m_widget->HintSignal.Connect(this, &MNFitwordUI::OnHint);
    MNFitword* model = m_widget->GetFitword();
    model->GameOverSignal.Connect(this, &MNFitwordUI::OnGameOver);
    model->ValidEntrySignal.Connect(this, &MNFitwordUI::OnValidEntry);
    model->InvalidEntrySignal.Connect(this, &MNFitwordUI::OnInvalidEntry);
}

void MNFitwordUI::Deinit() {
    if (m_widget == nullptr) {
        return;
    }
    m_widget->HintSignal.Disconnect(this, &MNFitwordUI::OnHint);
    m_widget->HelpSignal.Disconnect(this, &MNFitwordUI::OnHelp);
    m_widget->MenuSignal.Disconnect(this, &MNFitwordUI::OnMenu);
    MNFitword* model = m_widget->GetFitword();
    model->GameOverSignal.Disconnect(this, &MNFitwordUI::OnGameOver);
    model->ValidEntrySignal.Disconnect(this, &MNFitwordUI::OnValidEntry);
    model->InvalidEntrySignal.Disconnect(this, &MNFitwordUI::OnInvalidEntry);
    delete m_widget;
    m_widget = nullptr;
}

kUIWidget* MNFitwordUI::GetScreen() {
    return m_widget;
}

MNFitword* MNFitwordUI::Model() const {
    return m_widget->GetFitword();
}

bool MNFitwordUI::SetPuzzle(Puzzle* puzzle, int gameMode) {
    if (puzzle == nullptr || puzzle->GetType() != PUZZLE_TYPE_FITWORD) {
        kLogSys("MNFitwordUI", "SetPuzzle: not a fitword (type %d)\n",
                puzzle != nullptr ? puzzle->GetType() : -1);
        return false;
    }
    SetPuzzle(static_cast<FitwordPuzzle*>(puzzle)->m_fitword, gameMode);
    return true;
}

void MNFitwordUI::SetPuzzle(FitwordData* fitword, int gameMode) {
    Model()->SetPuzzle(fitword, gameMode);
    m_widget->InitWordList();
}

void MNFitwordUI::SetSpellout(SpelloutData* spellout) {
    Model()->SetSpellout(spellout);
}

void MNFitwordUI::Play() {
    Model()->Play();
}

void MNFitwordUI::Reset() {
    Model()->Reset(false);
    m_widget->PuzzleReset();
}

int MNFitwordUI::GetState() const {
    return Model()->GetState();
}

float MNFitwordUI::GetTime() const {
    return Model()->GetTime();
}

int MNFitwordUI::GetPuzzleId() const {
    return Model()->GetPuzzleId();
}

int MNFitwordUI::GetNumErrors() const {
    return Model()->GetNumErrors();
}

void MNFitwordUI::RemoveErrors() {
    Model()->RemoveErrors();
}

bool MNFitwordUI::IsGridFull() const {
    return Model()->IsGridFull();
}

bool MNFitwordUI::IsContinueScreenOpen() const {
    return m_widget->IsContinueScreenOpen();
}

int MNFitwordUI::SavePuzzleState(void* buffer, int bufferSize) {
    return Model()->SavePuzzleState(buffer, bufferSize);
}

int MNFitwordUI::LoadPuzzleState(void* buffer, int bufferSize) {
    return Model()->LoadPuzzleState(buffer, bufferSize);
}

void MNFitwordUI::OnHint() {
    OpenHintScreen(*this, m_layer, Model()->GetDifficulty(), Model()->GetHintsLeft(),
                   &MNFitwordUI::OnPerformHint);
}

void MNFitwordUI::OnPerformHint(int iHint) {
    kLogFmt("Hint chosen: %d\n", iHint);
    if (iHint >= 0) {
        Model()->Hint(iHint);
    }
    ReleaseHintScreen(*this, &MNFitwordUI::OnPerformHint);
}

} // namespace Kelvo_lib
