// A state row of the menu widget.
#include <tui/mncombowidget.h>

#include <framework/kmenu.h>
#include <framework/ktext.h>

#include <cstdio>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {MNComboWidget::StaticClass()};

constexpr float kInset = 8.0f;

const char* TextOrEmpty(int id) {
    const char* text = kText::Text(id);
    return text != nullptr ? text : "";
}

} // namespace

void MNComboWidget::Set(kMenuNode* node, TUIArt* art, float x, float y, eTUILook look) {
    m_node = node;
    m_art = art;
    m_x = x;
    m_y = y;
    m_look = look;
}

bool MNComboWidget::Contains(float x, float y) const {
    return x >= m_x && x < m_x + kWidth && y >= m_y && y < m_y + TUIArt::kButtonHeight;
}

float MNComboWidget::LeftArrowX() const {
    return m_x + kWidth - kValueWidth;
}

float MNComboWidget::RightArrowX() const {
    const float arrow = m_art != nullptr ? m_art->ArrowWidth() : 0.0f;
    return m_x + kWidth - kInset - arrow;
}

int MNComboWidget::ArrowAt(float x, float y) const {
    if (m_art == nullptr || !Contains(x, y)) {
        return 0;
    }
    const float arrow = m_art->ArrowWidth();
    if (x >= LeftArrowX() && x < LeftArrowX() + arrow) {
        return -1;
    }
    return x >= RightArrowX() && x < RightArrowX() + arrow ? 1 : 0;
}

void MNComboWidget::Render() {
    if (m_node == nullptr || m_art == nullptr) {
        return;
    }
    m_art->DrawButtonBody(m_x, m_y, kWidth, m_look);
    m_art->DrawLabel(m_x + kLabelInset, m_y, TextOrEmpty(m_node->m_scriptId), m_look,
                     TUI_ALIGN_LEFT);
    const float arrow = m_art->ArrowWidth();
    const float arrowY = m_y + (TUIArt::kButtonHeight - arrow) * 0.5f;
    const float valueCentre = (LeftArrowX() + arrow + RightArrowX()) * 0.5f;
    const eTUILook arrowLook = m_look == TUI_LOOK_HOT ? TUI_LOOK_REST : TUI_LOOK_HOT;
    m_art->DrawArrow(LeftArrowX(), arrowY, false, arrowLook);
    m_art->DrawArrow(RightArrowX(), arrowY, true, arrowLook);
    if (m_node->m_bVolumeBars) {
        m_art->DrawVolumeBars(valueCentre, m_y, m_node->m_currentState, m_node->m_numStates,
                              m_look);
        return;
    }
    char value[16];
    std::snprintf(value, sizeof(value), "%d/%d", m_node->m_currentState + 1, m_node->m_numStates);
    m_art->DrawLabel(valueCentre, m_y, value, m_look, TUI_ALIGN_CENTRE);
}

} // namespace Kelvo_lib
