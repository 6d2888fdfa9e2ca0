#include <puzzles/crossword/mncrosswordui.h>

#include <puzzles/crossword/mncrosswordwidget.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

MNCrosswordUI::~MNCrosswordUI() {
    Deinit();
}

void MNCrosswordUI::Init() {
    kClass* record = MNCrosswordWidget::StaticClass();
    kObject* memory = kObject::Allocate(record, nullptr, nullptr);
    record->m_classConstructor(memory);
    m_widget = static_cast<MNCrosswordWidget*>(memory);
    m_widget->MenuSignal.Connect(this, &MNCrosswordUI::OnMenu);
    m_widget->HelpSignal.Connect(this, &MNCrosswordUI::OnHelp);
    MNCrossword* model = m_widget->GetCrossword();
    model->GameOverSignal.Connect(this, &MNCrosswordUI::OnGameOver);
    model->ValidEntrySignal.Connect(this, &MNCrosswordUI::OnValidEntry);
    model->InvalidEntrySignal.Connect(this, &MNCrosswordUI::OnInvalidEntry);
}

void MNCrosswordUI::Deinit() {
    if (m_widget == nullptr) {
        return;
    }
    m_widget->HelpSignal.Disconnect(this, &MNCrosswordUI::OnHelp);
    m_widget->MenuSignal.Disconnect(this, &MNCrosswordUI::OnMenu);
    MNCrossword* model = m_widget->GetCrossword();
    model->GameOverSignal.Disconnect(this, &MNCrosswordUI::OnGameOver);
    model->ValidEntrySignal.Disconnect(this, &MNCrosswordUI::OnValidEntry);
    model->InvalidEntrySignal.Disconnect(this, &MNCrosswordUI::OnInvalidEntry);
    delete m_widget;
    m_widget = nullptr;
}

kUIWidget* MNCrosswordUI::GetScreen() {
    return m_widget;
}

MNCrossword* MNCrosswordUI::Model() const {
    return m_widget->GetCrossword();
}

bool MNCrosswordUI::SetPuzzle(Puzzle* puzzle, int gameMode) {
    if (puzzle == nullptr || puzzle->GetType() != PUZZLE_TYPE_CROSSWORD) {
        kLogSys("MNCrosswordUI", "SetPuzzle: not a crossword (type %d)\n",
                puzzle != nullptr ? puzzle->GetType() : -1);
        return false;
    }
    SetPuzzle(static_cast<CrosswordPuzzle*>(puzzle)->m_crossword, gameMode);
    return true;
}

void MNCrosswordUI::SetPuzzle(CrosswordData* crossword, int gameMode) {
    Model()->SetPuzzle(crossword, gameMode);
    m_widget->InitWordList();
}

void MNCrosswordUI::SetSpellout(SpelloutData* spellout) {
    Model()->SetSpellout(spellout);
}

void MNCrosswordUI::Play() {
    Model()->Play();
}

void MNCrosswordUI::Reset() {
    Model()->Reset(false);
    m_widget->PuzzleReset();
}

int MNCrosswordUI::GetState() const {
    return Model()->GetState();
}

float MNCrosswordUI::GetTime() const {
    return Model()->GetTime();
}

int MNCrosswordUI::GetPuzzleId() const {
    return Model()->GetPuzzleId();
}

int MNCrosswordUI::GetNumErrors() const {
    return Model()->GetNumErrors();
}

void MNCrosswordUI::RemoveErrors() {
    Model()->RemoveErrors();
}

bool MNCrosswordUI::IsGridFull() const {
    return Model()->IsGridFull();
}

bool MNCrosswordUI::IsContinueScreenOpen() const {
    return m_widget->IsContinueScreenOpen();
}

int MNCrosswordUI::SavePuzzleState(void* buffer, int bufferSize) {
    return Model()->SavePuzzleState(buffer, bufferSize);
}

int MNCrosswordUI::LoadPuzzleState(void* buffer, int bufferSize) {
    return Model()->LoadPuzzleState(buffer, bufferSize);
}

} // namespace Kelvo_lib
