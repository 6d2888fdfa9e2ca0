// MNPlaceholderSubGame: a sub-game that only shows its name on a plain screen, standing in
// for the front end and the modes that are not built yet. It registers its screen with
// the world's UI manager in Init and shows it on a layer of its own while it is current.
// Owned by the world; main thread only.
#pragma once

#include <shell/mnsubgame.h>

#include <ui/kui.h>
#include <ui/kuiwidget.h>

namespace Kelvo_lib {

class kUILayer;

// The screen's one widget: the background and the sub-game's name.
class MNPlaceholderWidget : public kUIWidget {
public:
    explicit MNPlaceholderWidget(const char* title);
    void Render() override;

private:
    kString m_title;
};

class MNPlaceholderScreen : public kUI {
public:
    explicit MNPlaceholderScreen(const char* title) : m_widget(title) {}
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
    void Tick(float) override {}
    kUI* GetScreen() override { return &m_screen; }

    // The screen's registered id, "placeholder_<index>".
    const char* GetScreenId() const { return m_screenId; }

private:
    kString m_screenId;
    MNPlaceholderScreen m_screen;
    kUILayer* m_layer = nullptr;
};

} // namespace Kelvo_lib
