// MNPlaceholderSubGame: a sub-game that only shows its name on a plain screen, with the
// pointer, standing in for the front end and the modes that are not built yet; a mode's
// stand-in goes back to the front end on A (pressed and released on it) or B. It registers
// its screen with the world's UI manager in Init and shows it on a layer of its own while it
// is current. Owned by the world; main thread only.
#pragma once

#include <shell/mnsubgame.h>
#include <tui/tuiart.h>
#include <tui/tuipointer.h>

#include <ui/kui.h>
#include <ui/kuiwidget.h>

namespace Kelvo_lib {

class kUILayer;

// The screen's one widget: the background, the sub-game's name and the pointer.
class MNPlaceholderWidget : public kUIWidget {
public:
    explicit MNPlaceholderWidget(const char* title);
    void Tick(float delta) override;
    void Render() override;
    // Whether A was let go after a press on this screen, or B pressed, since Activate.
    bool IsBackAsked() const { return m_bBackAsked; }
    // Forgets the presses of an earlier visit.
    void Reset();

private:
    kString m_title;
    TUIArt m_art;
    TUIPointer m_pointer;
    bool m_bArmed = false; // A went down on this screen
    bool m_bBDown = false;
    bool m_bBackAsked = false;
};

class MNPlaceholderScreen : public kUI {
public:
    explicit MNPlaceholderScreen(const char* title) : m_widget(title) {}
    MNPlaceholderWidget& GetWidget() { return m_widget; }
    void Init() override {}
    void Deinit() override {}
    void Activate(kUILayer*) override {}
    void Deactivate(kUILayer*) override {}
    kUIWidget* GetScreen() override { return &m_widget; }
    void Tick(float) override {}

private:
    MNPlaceholderWidget m_widget;
};

class MNPlaceholderSubGame : public MNSubGame {
public:
    MNPlaceholderSubGame(MNGameWorld* world, int index);
    // The world's default factory: a placeholder for every index.
    static MNSubGame* Create(MNGameWorld* world, int index);

    void Init() override;
    void Deinit() override;
    void Activate() override;
    void Deactivate() override;
    // A mode's stand-in returns to the front end when its screen asks.
    void Tick(float) override;
    kUI* GetScreen() override { return &m_screen; }

    // The screen's registered id, "placeholder_<index>".
    const char* GetScreenId() const { return m_screenId; }

private:
    int m_index;
    kString m_screenId;
    MNPlaceholderScreen m_screen;
    kUILayer* m_layer = nullptr;
};

} // namespace Kelvo_lib
