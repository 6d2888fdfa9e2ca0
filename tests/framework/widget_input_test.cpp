// Pointer and A-button input reaching a widget tree the way the game's does: an input
// script replayed through the console's remotes into the input system, one frame at a
// time, then the root's ProcessInput. Each frame's events are checked in order.
#include "log_capture.h"
#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;
using test_support::LogCapture;
using ui_test::Journal;
using ui_test::Probe;

// A screen-sized root with, in child order:
//   panel (100, 100) 300 x 200, holding ok (120, 120) 100 x 50 and field (250, 120)
//     100 x 50, which takes the focus when pressed;
//   hidden (400, 320) 200 x 150, hidden, with a child covering it;
//   grip (20, 400) 60 x 60, which captures the pointer while pressed, with a knob
//     (30, 410) 20 x 20;
//   name (460, 20) 160 x 80, which takes the focus when hit.
// Positions above are on the screen; the probes hold them relative to their parents.
class WidgetInputTest : public ui_test::ScriptedInputTest {
protected:
    void SetUp() override {
        ScriptedInputTest::SetUp();
        m_root = std::make_unique<Probe>(&m_journal, "screen", kUIRect{});
        m_root->m_size = {KUI_POSITION_PERCENT, 100.0f, 100.0f};
        Probe* const panel = m_root->Add("panel", {100, 100, 300, 200});
        panel->Add("ok", {20, 20, 100, 50});
        panel->Add("field", {150, 20, 100, 50}, KUI_WIDGET_FOCUS_ON_PRESS);
        m_root->Add("hidden", {400, 320, 200, 150}, KUI_WIDGET_HIDDEN)
            ->Add("hidden.child", {0, 0, 200, 150});
        m_grip = m_root->Add("grip", {20, 400, 60, 60});
        m_grip->m_bGrip = true;
        m_grip->Add("knob", {10, 10, 20, 20});
        m_name = m_root->Add("name", {460, 20, 160, 80}, KUI_WIDGET_FOCUS_ON_HIT);
    }

    void TearDown() override {
        m_root.reset();
        ScriptedInputTest::TearDown();
    }

    void Play(const std::vector<ScriptFrame>& frames) {
        PlayScript(frames, m_journal, [this] { RunFrame(m_root.get()); });
    }

    Journal m_journal;
    std::unique_ptr<Probe> m_root;
    Probe* m_grip = nullptr;
    Probe* m_name = nullptr;
};

TEST_F(WidgetInputTest, ScriptedPointerAndButtonGiveTheEventsInOrder) {
    LogCapture log;
    Play({
        {PointAt(300, 250), {"screen.over", "panel.over", "panel.hot"}},
        {PointAt(170, 145), {"ok.over", "ok.hot", "panel.leavehot"}},
        {"hold A", {"ok.down"}},
        {"hold none", {"ok.up"}},
        // A widget that takes the focus never keeps the press from its parent.
        {PointAt(300, 145) + " hold A",
         {"field.down", "field.gain", "panel.down", "ok.leave", "ok.leavehot", "field.over",
          "field.hot", "panel.hot"}},
        {"hold none", {"field.up", "panel.up"}},
        {PointAt(70, 450),
         {"field.leave", "field.leavehot", "panel.leave", "panel.leavehot", "grip.over",
          "grip.hot"}},
        // The capture: the grip alone gets the pointer, inside it or out; its knob and
        // the rest of the tree get nothing until it lets go.
        {"hold A", {"grip.down", "grip.drag"}},
        {PointAt(40, 420), {"screen.leave", "grip.drag"}},
        {PointAt(300, 250), {"grip.drag", "grip.leave", "grip.leavehot"}},
        {"hold none", {"grip.drag", "grip.up"}},
        {"", {"screen.over", "panel.over", "panel.hot"}},
        // Over the hidden subtree only the root is under the pointer.
        {PointAt(450, 350), {"screen.hot", "panel.leave", "panel.leavehot"}},
        // The focus moves to another branch: only its two ends hear of it.
        {PointAt(500, 60), {"field.lose", "name.gain", "name.over", "name.hot"}},
    });
    EXPECT_EQ(log.Count("OnMouseDown: ok"), 1);
    EXPECT_EQ(log.Count("OnMouseDown: field"), 1);
    EXPECT_EQ(log.Count("OnMouseDown: panel"), 1);
    EXPECT_EQ(log.Count("OnMouseDown: screen"), 0);
    EXPECT_EQ(m_root->m_focusChild, m_name);
    EXPECT_EQ(m_name->m_focusChild, nullptr);
}

TEST_F(WidgetInputTest, GripDestroyedWhileHoldingTheCaptureLetsTheTreeHaveThePointer) {
    Play({
        {PointAt(70, 450), {"screen.over", "grip.over", "grip.hot"}},
        {"hold A", {"grip.down", "grip.drag"}},
    });
    delete m_grip;
    Play({
        {PointAt(300, 250), {"panel.over", "panel.hot"}},
        {"hold none", {"panel.up"}},
    });
}

TEST_F(WidgetInputTest, NothingUnderAHiddenOrInputlessRootHearsThePointer) {
    for (unsigned int flag : {KUI_WIDGET_HIDDEN, KUI_WIDGET_NOINPUT}) {
        SCOPED_TRACE(flag);
        m_root->m_widgetFlags = flag;
        Play({
            {PointAt(170, 145), {}},
            {"hold A", {}},
            {"hold none", {}},
        });
    }
}

} // namespace
