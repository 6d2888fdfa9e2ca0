// The menu host of the game modes: a TUI menu is not a widget, so each mode shows it through
// a screen (MNModeHostUI) whose one widget (MNModeHostWidget) emits TickSignal and
// RenderSignal; the mode connects them to its own TickUI and RenderUI. The world ticks only
// the top screen, so the menu is live exactly while its host is on top. The mode owns the
// host and its widget (the screen does not delete the widget). Main thread only.
#pragma once

#include <ui/kui.h>
#include <ui/kuiwidget.h>

#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class MNModeHostWidget : public kUIWidget {
public:
    void Tick(float delta) override { TickSignal(delta); }
    void Render() override { RenderSignal(); }

    kSignal1<float> TickSignal;
    kSignal0<> RenderSignal;
};

class MNModeHostUI : public kUI {
public:
    void Init() override {}
    void Deinit() override {}
    void Activate(kUILayer* layer) override { m_layer = layer; }
    void Deactivate(kUILayer*) override {}
    kUIWidget* GetScreen() override { return m_widget; }
    void Tick(float) override {}
    void SetWidget(kUIWidget* widget) { m_widget = widget; }
    // The layer the screen was last activated on.
    kUILayer* GetLayer() const { return m_layer; }

private:
    kUILayer* m_layer = nullptr;
    kUIWidget* m_widget = nullptr;
};

// One registered widget class and one screen class per mode.
#define MN_MODE_HOST_PAIR(Name)                                                                    \
    class Name##Widget                                                                             \
        : public kPlainNameRTTI<Name##Widget, MNModeHostWidget, kCLSID<0, 0, 0, 0>> {};            \
    class Name : public MNModeHostUI {};

MN_MODE_HOST_PAIR(TournamentUI)
MN_MODE_HOST_PAIR(QuickBlastUI)
MN_MODE_HOST_PAIR(SimplyPuzzleUI)
MN_MODE_HOST_PAIR(FastAndFunUI)
MN_MODE_HOST_PAIR(HeadToHeadUI)

#undef MN_MODE_HOST_PAIR

} // namespace Kelvo_lib
