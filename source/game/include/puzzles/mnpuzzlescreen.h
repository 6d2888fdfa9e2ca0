// MNPuzzleScreen: what the screens of the puzzle kinds share. Init creates the kind's widget
// by class (the widget owns the model) and Deinit deletes it; the mode API passes through to
// the model, and the screen re-emits the model's game over and entry signals and the widget's
// menu and help requests. A widget with a hint button has it open the hint screen
// "hint_main" on the screen's layer, and the kind chosen there is given to the model. Main
// thread only; the mode API may be called between Init and deletion.
#pragma once

#include <puzzles/mnpuzzlehints.h>
#include <puzzles/mnpuzzlemodel.h>
#include <puzzles/mnpuzzleui.h>

#include <kelvo/platform/klog.h>

#include <type_traits>

namespace Kelvo_lib {

// GetModel is the widget's accessor of the model it owns.
template <class Widget, auto GetModel>
class MNPuzzleScreen : public MNPuzzleUI {
public:
    using PuzzleModel = std::remove_pointer_t<std::invoke_result_t<decltype(GetModel), Widget&>>;
    static_assert(MNPuzzleModel<PuzzleModel>, "a puzzle screen plays a model of the contract");

    ~MNPuzzleScreen() override { Deinit(); }

    void Init() override {
        kClass* record = Widget::StaticClass();
        kObject* memory = kObject::Allocate(record, nullptr, nullptr);
        record->m_classConstructor(memory);
        m_widget = static_cast<Widget*>(memory);
        m_widget->MenuSignal.Connect(this, &MNPuzzleScreen::OnMenu);
        m_widget->HelpSignal.Connect(this, &MNPuzzleScreen::OnHelp);
        if constexpr (kHasHintButton) {
            m_widget->HintSignal.Connect(this, &MNPuzzleScreen::OnHint);
        }
        PuzzleModel* model = Model();
        model->GameOverSignal.Connect(this, &MNPuzzleScreen::OnGameOver);
        model->ValidEntrySignal.Connect(this, &MNPuzzleScreen::OnValidEntry);
        model->InvalidEntrySignal.Connect(this, &MNPuzzleScreen::OnInvalidEntry);
    }

    void Deinit() override {
        if (m_widget == nullptr) {
            return;
        }
        if constexpr (kHasHintButton) {
            m_widget->HintSignal.Disconnect(this, &MNPuzzleScreen::OnHint);
        }
        m_widget->HelpSignal.Disconnect(this, &MNPuzzleScreen::OnHelp);
        m_widget->MenuSignal.Disconnect(this, &MNPuzzleScreen::OnMenu);
        PuzzleModel* model = Model();
        model->GameOverSignal.Disconnect(this, &MNPuzzleScreen::OnGameOver);
        model->ValidEntrySignal.Disconnect(this, &MNPuzzleScreen::OnValidEntry);
        model->InvalidEntrySignal.Disconnect(this, &MNPuzzleScreen::OnInvalidEntry);
        delete m_widget;
        m_widget = nullptr;
    }

    void Activate(kUILayer* layer) override { m_layer = layer; }
    void Deactivate(kUILayer*) override {}
    kUIWidget* GetScreen() override { return m_widget; }
    void Tick(float) override {}

    bool IsDrawable() const override { return m_widget != nullptr && m_widget->HasAllArt(); }
    void Play() override { Model()->Play(); }
    int GetState() const override { return Model()->GetState(); }
    float GetTime() const override { return Model()->GetTime(); }
    int GetPuzzleId() const override { return Model()->GetPuzzleId(); }
    int GetNumErrors() const override { return Model()->GetNumErrors(); }
    void RemoveErrors() override { Model()->RemoveErrors(); }
    int GetNumCorrect() const override { return Model()->GetNumCorrect(); }
    bool IsGridFull() const override { return Model()->IsGridFull(); }
    int GetNumErrorsMade() const override { return Model()->GetNumErrorsMade(); }
    int GetHintsUsed(int kind) const override { return Model()->GetHintsUsed(kind); }
    int GetMaxHints(int kind) const override { return Model()->GetMaxHints(kind); }
    bool IsContinueScreenOpen() const override { return m_widget->IsContinueScreenOpen(); }
    int SavePuzzleState(void* buffer, int bufferSize) override {
        return Model()->SavePuzzleState(buffer, bufferSize);
    }
    int LoadPuzzleState(void* buffer, int bufferSize) override {
        return Model()->LoadPuzzleState(buffer, bufferSize);
    }

    Widget* GetWidget() { return m_widget; }

protected:
    PuzzleModel* Model() const { return (m_widget->*GetModel)(); }

    Widget* m_widget = nullptr;

private:
    static constexpr bool kHasHintButton = requires(Widget & widget) { widget.HintSignal; };

    void OnHint() {
        OpenHintScreen(*this, m_layer, Model()->GetDifficulty(), Model()->GetHintsLeft(),
                       &MNPuzzleScreen::OnPerformHint);
    }

    void OnPerformHint(int iHint) {
        kLogFmt("Hint chosen: %d\n", iHint);
        if (iHint >= 0) {
            Model()->Hint(iHint);
        }
        ReleaseHintScreen(*this, &MNPuzzleScreen::OnPerformHint);
    }

    void OnGameOver() { GameOverSignal(); }
    void OnValidEntry() { ValidEntrySignal(); }
    void OnInvalidEntry() { InvalidEntrySignal(); }
    void OnMenu() { GamePauseSignal(); }
    void OnHelp() { HelpSignal(); }

    kUILayer* m_layer = nullptr;
};

} // namespace Kelvo_lib
