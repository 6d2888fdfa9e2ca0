// MNComboWidget: one row of a menu for an entry with states: its label at the left and, at
// the right, the state between two arrows, as volume bars or as "n/m". Created by class; the
// menu widget that places it owns it and lends it the art. It shows the node it is given and
// changes nothing itself. Main thread only; without a node or art it draws nothing.
#pragma once

#include <tui/tuiart.h>

#include <ui/kuiwidget.h>

namespace Kelvo_lib {

class kMenuNode;

class MNComboWidget : public kPlainNameRTTI<MNComboWidget, kUIWidget, kCLSID<0, 0, 0, 0>> {
public:
    static constexpr float kWidth = 360.0f;
    static constexpr float kValueWidth = 150.0f;
    // The label starts this far in and must end before the value's part of the row.
    static constexpr float kLabelInset = 16.0f;
    static constexpr float kLabelRoom = kWidth - kValueWidth - kLabelInset;

    // Shows node on a row whose top-left corner is (x, y) in pixels.
    void Set(kMenuNode* node, TUIArt* art, float x, float y, eTUILook look);
    bool Contains(float x, float y) const;
    // -1 over the left arrow, 1 over the right one, 0 elsewhere.
    int ArrowAt(float x, float y) const;
    void Render() override;

private:
    float LeftArrowX() const;
    float RightArrowX() const;

    kMenuNode* m_node = nullptr;
    TUIArt* m_art = nullptr;
    float m_x = 0.0f;
    float m_y = 0.0f;
    eTUILook m_look = TUI_LOOK_REST;
};

} // namespace Kelvo_lib
