// The menu widget: layout of a menu node's entries, the pointer rules and the signals.
#include <tui/mnmenuwidget.h>

#include <services/mnsound.h>
#include <services/splittext.h>

#include <framework/ktext.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {MNMenuWidget::StaticClass()};

constexpr float kTitleY = 0.05f; // fractions of the display height
constexpr float kListTop = 0.19f;
constexpr float kListBottom = 0.78f; // the last row ends above this
constexpr float kHelpLineY = 0.80f;
constexpr float kRowStep = 0.10f;
constexpr float kMinRowGap = 4.0f; // pixels between rows when the list is squeezed
constexpr float kHelpLineWidth = 0.55f;
constexpr float kScrollGap = 12.0f;
constexpr float kHoverScrollPeriod = 0.3f;
constexpr float kPaperPadX = 14.0f; // pixels of paper around a text on its field
constexpr float kPaperPadY = 6.0f;

const char* TextOrEmpty(int id) {
    const char* text = id >= 0 ? kText::Text(id) : nullptr;
    return text != nullptr ? text : "";
}

bool HasStates(const kMenuNode* node) {
    return node->m_numStates > 0 && node->m_childList.Size() == 0;
}

bool Contains(const kUIRect& rect, float x, float y) {
    return x >= rect.x && x < rect.x + rect.w && y >= rect.y && y < rect.y + rect.h;
}

} // namespace

MNMenuWidget::MNMenuWidget()
    : m_art(new TUIArt), m_fHelpTop(kHelpLineY), m_fHelpWidth(kHelpLineWidth) {
    for (MNComboWidget*& combo : m_combos) {
        combo = new MNComboWidget;
    }
}

MNMenuWidget::~MNMenuWidget() {
    for (MNComboWidget* combo : m_combos) {
        delete combo;
    }
    delete m_art;
}

void MNMenuWidget::DisableItem(int id) {
    kMenuNode* node = m_menu.GetNodeById(id);
    if (node == nullptr) {
        kLogFmt("MNMenuWidget::DisableItem: no node %d below the current one\n", id);
        return;
    }
    node->m_bHide = true;
}

kMenuNode* MNMenuWidget::ListedNode() const {
    kMenuNode* node = m_menu.GetCurrentNode();
    if (node != nullptr && node->m_childList.Size() == 0 && node->m_parent != nullptr) {
        return node->m_parent;
    }
    return node;
}

int MNMenuWidget::VisibleChildren(int* indices, int capacity) const {
    const kMenuNode* node = ListedNode();
    int count = 0;
    for (int i = 0; node != nullptr && i < node->m_childList.Size(); ++i) {
        if (node->m_childList(i)->m_bHide) {
            continue;
        }
        if (indices != nullptr) {
            if (count == capacity) {
                break;
            }
            indices[count] = i;
        }
        ++count;
    }
    return count;
}

int MNMenuWidget::RowCount() const {
    const int count = VisibleChildren(nullptr, 0);
    return count < kMaxRows ? count : kMaxRows;
}

float MNMenuWidget::RowStep() const {
    const float height = TUIArt::DisplayHeight();
    const int rows = RowCount();
    const float room = (kListBottom - kListTop) * height - TUIArt::kButtonHeight;
    const float step = rows > 1 ? room / static_cast<float>(rows - 1) : room;
    const float wanted = kRowStep * height;
    const float least = TUIArt::kButtonHeight + kMinRowGap;
    return step < wanted ? (step > least ? step : least) : wanted;
}

float MNMenuWidget::RowY(int row) const {
    return kListTop * TUIArt::DisplayHeight() + static_cast<float>(row) * RowStep();
}

kUIRect MNMenuWidget::RowRect(const kMenuNode* child, int row) const {
    const float width = HasStates(child) ? MNComboWidget::kWidth : kPlainRowWidth;
    return kUIRect{(TUIArt::DisplayWidth() - width) * 0.5f, RowY(row), width,
                   TUIArt::kButtonHeight};
}

template <typename Visit>
int MNMenuWidget::VisitShownRows(Visit visit) const {
    const kMenuNode* node = ListedNode();
    int indices[kMaxChildren];
    const int total = VisibleChildren(indices, kMaxChildren);
    for (int row = 0; row < kMaxRows && m_firstRow + row < total; ++row) {
        const int child = indices[m_firstRow + row];
        kMenuNode* entry = node->m_childList(child);
        if (visit(row, child, entry, RowRect(entry, row))) {
            break;
        }
    }
    return total;
}

bool MNMenuWidget::GetEntryRect(int id, kUIRect& rect) const {
    bool bFound = false;
    VisitShownRows([&](int, int, const kMenuNode* entry, const kUIRect& rowRect) {
        if (entry->m_menuIdx != id) {
            return false;
        }
        rect = rowRect;
        bFound = true;
        return true;
    });
    return bFound;
}

kUIRect MNMenuWidget::BackRect() const {
    return kUIRect{TUIArt::kMargin,
                   TUIArt::DisplayHeight() - TUIArt::kMargin - TUIArt::kButtonHeight,
                   m_art->BackButtonWidth(""), TUIArt::kButtonHeight};
}

kUIRect MNMenuWidget::HelpRect() const {
    const float size = m_art->HelpButtonSize();
    return kUIRect{TUIArt::DisplayWidth() - TUIArt::kMargin - size,
                   TUIArt::DisplayHeight() - TUIArt::kMargin - size, size, size};
}

kUIRect MNMenuWidget::ScrollRect(bool bUp) const {
    const float size = m_art->ArrowWidth();
    const float x = (TUIArt::DisplayWidth() + MNComboWidget::kWidth) * 0.5f + kScrollGap;
    const float rowY = RowY(bUp ? 0 : RowCount() - 1);
    return kUIRect{x, rowY + (TUIArt::kButtonHeight - size) * 0.5f, size, size};
}

bool MNMenuWidget::ShowsBack() const {
    const kMenuNode* node = m_menu.GetCurrentNode();
    return node != nullptr && (node->m_parent != nullptr || m_bAllowBackAtRoot);
}

bool MNMenuWidget::ShowsHelpButton() const {
    return m_bShowHelp && m_bShowHelpButton;
}

void MNMenuWidget::SetHelpArea(float top, float width) {
    m_fHelpTop = top;
    m_fHelpWidth = width;
    m_wrappedHelpSource = nullptr; // wrap again at the new width
}

bool MNMenuWidget::ShowsScroll() const {
    return VisibleChildren(nullptr, 0) > kMaxRows;
}

MNMenuWidget::Target MNMenuWidget::TargetAt(float x, float y) {
    Target target;
    if (ShowsBack() && Contains(BackRect(), x, y)) {
        target.kind = Target::BACK;
    } else if (ShowsHelpButton() && Contains(HelpRect(), x, y)) {
        target.kind = Target::HELP;
    } else if (ShowsScroll() && Contains(ScrollRect(true), x, y)) {
        target.kind = Target::SCROLL_UP;
    } else if (ShowsScroll() && Contains(ScrollRect(false), x, y)) {
        target.kind = Target::SCROLL_DOWN;
    }
    if (target.kind != Target::NONE) {
        return target;
    }
    VisitShownRows([&](int row, int child, kMenuNode* entry, const kUIRect& rect) {
        if (!Contains(rect, x, y)) {
            return false;
        }
        target.child = child;
        target.kind = Target::ROW;
        if (HasStates(entry)) {
            m_combos[row]->Set(entry, m_art, rect.x, rect.y, TUI_LOOK_REST);
            const int arrow = m_combos[row]->ArrowAt(x, y);
            if (arrow != 0) {
                target.kind = arrow < 0 ? Target::LEFT_ARROW : Target::RIGHT_ARROW;
            }
        }
        return true;
    });
    return target;
}

// Puts the highlight on a visible child and the view where the highlight shows.
void MNMenuWidget::KeepHighlightVisible() {
    kMenuNode* node = ListedNode();
    if (node != m_scrolledNode) {
        m_scrolledNode = node;
        m_firstRow = 0;
    }
    int indices[kMaxChildren];
    const int total = VisibleChildren(indices, kMaxChildren);
    if (total == 0) {
        return;
    }
    int row = -1;
    for (int i = 0; i < total; ++i) {
        if (indices[i] == node->m_currentChild) {
            row = i;
        }
    }
    if (row < 0) {
        row = 0;
        node->m_currentChild = indices[0];
    }
    const int lastFirst = total > kMaxRows ? total - kMaxRows : 0;
    if (!m_bButtonScroll && row < m_firstRow) {
        m_firstRow = row;
    } else if (!m_bButtonScroll && row >= m_firstRow + kMaxRows) {
        m_firstRow = row - kMaxRows + 1;
    }
    m_firstRow = m_firstRow < 0 ? 0 : (m_firstRow > lastFirst ? lastFirst : m_firstRow);
}

void MNMenuWidget::ReportHighlight(bool bByPointer) {
    kMenuNode* node = ListedNode();
    const int index = node->m_currentChild;
    if (index < 0 || index >= node->m_childList.Size()) {
        return;
    }
    kMenuNode* entry = node->m_childList(index);
    if (entry == m_reportedNode) {
        return;
    }
    m_reportedNode = entry;
    if (bByPointer) {
        MNSound::PlaySoundEffect(SFX_HIGHLIGHT);
    }
    SignalHighlight(entry->m_menuIdx);
    if (HasStates(entry)) {
        SignalStateChange(entry->m_menuIdx, entry->m_currentState);
    }
}

void MNMenuWidget::Tick(float delta) {
    m_pointer.Update();
    kMenuNode* current = m_menu.GetCurrentNode();
    if (current != nullptr && current->m_childList.Size() != 0) {
        HandleInput(delta);
    }
    current = m_menu.GetCurrentNode();
    if (current != nullptr && current->m_childList.Size() == 0) {
        SignalSelect(current->m_menuIdx);
    }
}

void MNMenuWidget::HandleInput(float delta) {
    KeepHighlightVisible();
    ReportHighlight(false);
    const Target target = TargetAt(m_pointer.GetX(), m_pointer.GetY());
    m_hover = target;
    kMenuNode* node = ListedNode();
    if (target.child >= 0 && target.child != node->m_currentChild) {
        node->m_currentChild = target.child;
        ReportHighlight(true);
    }
    HoverScroll(target, delta);
    if (m_pointer.WasPressed()) {
        m_pressed = target;
    }
    if (m_pointer.WasReleased()) {
        const Target pressed = m_pressed;
        m_pressed = Target();
        if (pressed == target && target.kind != Target::NONE) {
            Act(target);
        }
    }
}

// Without scroll buttons, resting the pointer on an arrow scrolls a row every period.
void MNMenuWidget::HoverScroll(const Target& target, float delta) {
    const bool bOnArrow = target.kind == Target::SCROLL_UP || target.kind == Target::SCROLL_DOWN;
    if (m_bButtonScroll || !bOnArrow) {
        m_fHoverScrollTime = 0.0f;
        return;
    }
    m_fHoverScrollTime += delta;
    if (m_fHoverScrollTime >= kHoverScrollPeriod) {
        m_fHoverScrollTime = 0.0f;
        Scroll(target.kind == Target::SCROLL_UP ? -1 : 1);
    }
}

void MNMenuWidget::Scroll(int rows) {
    const int total = VisibleChildren(nullptr, 0);
    const int lastFirst = total > kMaxRows ? total - kMaxRows : 0;
    const int first = m_firstRow + rows;
    m_firstRow = first < 0 ? 0 : (first > lastFirst ? lastFirst : first);
}

void MNMenuWidget::Act(const Target& target) {
    kMenuNode* node = ListedNode();
    switch (target.kind) {
    case Target::ROW:
        node->m_currentChild = target.child;
        if (HasStates(node->m_childList(target.child))) {
            if (!node->m_childList(target.child)->m_bVolumeBars) {
                StepState(target.child, KMENU_SELECT);
            }
            return;
        }
        MNSound::PlaySoundEffect(SFX_PRESS);
        m_menu.DoAction(KMENU_SELECT);
        return;
    case Target::LEFT_ARROW:
        StepState(target.child, KMENU_PREV_STATE);
        return;
    case Target::RIGHT_ARROW:
        StepState(target.child, KMENU_NEXT_STATE);
        return;
    case Target::BACK:
        MNSound::PlaySoundEffect(SFX_BACK);
        if (m_menu.GetCurrentNode()->m_parent != nullptr) {
            m_menu.DoAction(KMENU_BACK);
        } else {
            SignalBack();
        }
        return;
    case Target::HELP:
        MNSound::PlaySoundEffect(SFX_PRESS);
        SignalHelp();
        return;
    case Target::SCROLL_UP:
    case Target::SCROLL_DOWN:
        if (m_bButtonScroll) {
            MNSound::PlaySoundEffect(SFX_HIGHLIGHT);
            Scroll(target.kind == Target::SCROLL_UP ? -1 : 1);
        }
        return;
    case Target::NONE:
        return;
    }
}

// Steps (or, for a select, cycles) the state of a child; a change is reported. Volume
// entries leave their sound to the owner, who hears the new level.
void MNMenuWidget::StepState(int child, kMenuAction action) {
    kMenuNode* node = ListedNode();
    node->m_currentChild = child;
    kMenuNode* entry = node->m_childList(child);
    const int before = entry->m_currentState;
    m_menu.DoAction(action);
    if (entry->m_currentState == before) {
        return;
    }
    if (!entry->m_bVolumeBars) {
        MNSound::PlaySoundEffect(SFX_SPINNER);
    }
    SignalStateChange(entry->m_menuIdx, entry->m_currentState);
}

void MNMenuWidget::Render() {
    const kMenuNode* node = ListedNode();
    if (node == nullptr) {
        return;
    }
    RenderOwnText(m_art->GetTitleFont(), kTitleY * TUIArt::DisplayHeight(),
                  TextOrEmpty(node->m_scriptId), 0.0f);
    RenderRows();
    if (m_bShowHelp) {
        RenderHelpLine();
    }
    if (ShowsHelpButton()) {
        const kUIRect help = HelpRect();
        m_art->DrawHelpButton(help.x, help.y,
                              m_hover.kind == Target::HELP ? TUI_LOOK_HOT : TUI_LOOK_REST);
    }
    if (ShowsBack()) {
        const kUIRect back = BackRect();
        m_art->DrawBackButton(back.x, back.y, "",
                              m_hover.kind == Target::BACK ? TUI_LOOK_HOT : TUI_LOOK_REST);
    }
    m_art->DrawPointer(m_pointer.GetX(), m_pointer.GetY());
}

void MNMenuWidget::RenderRows() {
    const int current = ListedNode()->m_currentChild;
    const int total =
        VisitShownRows([&](int row, int child, kMenuNode* entry, const kUIRect& rect) {
            const eTUILook look = child == current ? TUI_LOOK_HOT : TUI_LOOK_REST;
            if (HasStates(entry)) {
                m_combos[row]->Set(entry, m_art, rect.x, rect.y, look);
                m_combos[row]->Render();
            } else {
                m_art->DrawButton(rect.x, rect.y, rect.w, TextOrEmpty(entry->m_scriptId), look);
            }
            return false;
        });
    if (total > kMaxRows) {
        for (const bool bUp : {true, false}) {
            const kUIRect arrow = ScrollRect(bUp);
            const bool bHot = m_hover.kind == (bUp ? Target::SCROLL_UP : Target::SCROLL_DOWN);
            m_art->DrawScrollArrow(arrow.x, arrow.y, bUp, bHot ? TUI_LOOK_HOT : TUI_LOOK_REST);
        }
    }
}

void MNMenuWidget::RenderHelpLine() {
    const kMenuNode* node = ListedNode();
    const int index = node->m_currentChild;
    if (index < 0 || index >= node->m_childList.Size()) {
        return;
    }
    const char* help = TextOrEmpty(node->m_childList(index)->m_helpId);
    if (help != m_wrappedHelpSource) {
        m_wrappedHelpSource = help;
        m_wrappedHelp = SplitText(m_art->GetBodyFont(), kString(help), m_fHelpWidth);
    }
    // One width for every page, so that the field does not jump as the pages turn.
    RenderOwnText(m_art->GetBodyFont(), m_fHelpTop * TUIArt::DisplayHeight(), m_wrappedHelp,
                  m_fHelpWidth * TUIArt::DisplayWidth());
}

void MNMenuWidget::RenderOwnText(kFont* font, float y, const char* text, float minWidth) {
    const float centreX = TUIArt::DisplayWidth() * 0.5f;
    if (m_bTextOnPaper && text[0] != 0) {
        int width = 0;
        int height = 0;
        TUIArt::Measure(font, text, width, height);
        const float fieldWidth =
            (static_cast<float>(width) > minWidth ? static_cast<float>(width) : minWidth) +
            2.0f * kPaperPadX;
        m_art->DrawTextBox(centreX - fieldWidth * 0.5f, y - kPaperPadY, fieldWidth,
                           static_cast<float>(height) + 2.0f * kPaperPadY);
    }
    m_art->DrawText(font, centreX, y, text, m_textColour, TUI_ALIGN_CENTRE);
}

} // namespace Kelvo_lib
