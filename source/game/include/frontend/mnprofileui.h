// MNProfileUI: the screen "profile_menu". For now it stands in for the profile chooser: on
// its first tick on top it makes the first profile active (state 2, a profile chosen) and
// gives way to "main_menu" on its layer. Registered with and owned by the world's UI
// manager. Main thread only; a missing main menu is logged and the screen stays.
#pragma once

#include <ui/kui.h>
#include <ui/kuiwidget.h>

namespace Kelvo_lib {

class MNProfileUI : public kUI {
public:
    enum eState { STATE_CHOOSING = 0, STATE_CHOSEN = 2 };

    void Init() override {}
    void Deinit() override {}
    void Activate(kUILayer* layer) override { m_layer = layer; }
    void Deactivate(kUILayer*) override {}
    kUIWidget* GetScreen() override { return &m_widget; }
    void Tick(float delta) override;

    void SetState(int state) { m_state = state; }
    int GetState() const { return m_state; }

private:
    kUIWidget m_widget;
    kUILayer* m_layer = nullptr;
    int m_state = STATE_CHOOSING;
};

} // namespace Kelvo_lib
