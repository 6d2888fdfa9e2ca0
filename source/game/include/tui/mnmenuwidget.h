// MNMenuWidget: draws a kMenu tree as a screen: the current node's label as the title, its
// visible children as buttons (entries with states as MNComboWidget rows), the highlighted
// entry's help line, back and help buttons, scroll arrows; the pointer and the A button move
// the menu and raise the signals. Created by class; it owns its kMenu cursor, art and rows,
// never the nodes. Main thread only; without a current node it draws and does nothing.
#pragma once

#include <services/mninputedge.h>
#include <tui/mncombowidget.h>
#include <tui/tuiart.h>

#include <framework/kmenu.h>
#include <ui/kuiwidget.h>

#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class MNMenuWidget : public kPlainNameRTTI<MNMenuWidget, kUIWidget, kCLSID<0, 0, 0, 0>> {
public:
    static constexpr int kMaxRows = 6;
    // The width of a row without states; a row with states is a combo.
    static constexpr float kPlainRowWidth = 256.0f;
    // Children of a node beyond this many are never shown.
    static constexpr int kMaxChildren = 64;

    MNMenuWidget();
    ~MNMenuWidget() override;

    void Tick(float delta) override;
    void Render() override;

    kMenu* GetMenu() { return &m_menu; }
    // Whether back shows, and raises SignalBack, at a node without parent (off at first).
    void SetAllowBackAtRoot(bool bAllow) { m_bAllowBackAtRoot = bAllow; }
    // The help button and the help line (on at first).
    void SetShowHelp(bool bShow) { m_bShowHelp = bShow; }
    // The help button alone, while the help line shows (on at first).
    void SetShowHelpButton(bool bShow) { m_bShowHelpButton = bShow; }
    // Where the help line's first line is drawn and the width it wraps to, as fractions of
    // the display height and width (0.80 and 0.55 at first): pages of text need more room.
    void SetHelpArea(float top, float width);
    // Up and down buttons scroll a list longer than the screen holds (off at first: the list
    // follows the highlight).
    void SetButtonScroll(bool bScroll) { m_bButtonScroll = bScroll; }
    // Hides the node with that id in the current node's subtree; logged when there is none.
    void DisableItem(int id);
    // Title and help line in black, each on a paper field of its own so that it reads on the
    // dark background too, for a sudoku; else white on the background.
    void SetSudokuMode(bool bSudoku) {
        m_textColour = bSudoku ? 0xFF000000 : 0xFFFFFFFF;
        m_bTextOnPaper = bSudoku;
    }

    // Where the entry with that id is drawn now, in pixels; false when it is not shown.
    bool GetEntryRect(int id, kUIRect& rect) const;

    kSignal1<int> SignalHighlight;
    // Every tick while the current node is a leaf.
    kSignal1<int> SignalSelect;
    // When the highlight lands on an entry with states, and when its state changes.
    kSignal2<int, int> SignalStateChange;
    // Back at a node without parent.
    kSignal0<> SignalBack;
    kSignal0<> SignalHelp;

private:
    // What the pointer is over.
    struct Target {
        enum Kind { NONE, ROW, LEFT_ARROW, RIGHT_ARROW, BACK, HELP, SCROLL_UP, SCROLL_DOWN };
        Kind kind = NONE;
        int child = -1; // the row's index in the node's child list
        bool operator==(const Target&) const = default;
    };

    // The node whose children are listed: the current node, or a leaf's parent.
    kMenuNode* ListedNode() const;
    // The listed node's visible children's indices, in order, at most capacity of them;
    // returns how many were written, or, without indices, how many there are.
    int VisibleChildren(int* indices, int capacity) const;
    int RowCount() const;
    float RowStep() const;
    float RowY(int row) const;
    kUIRect RowRect(const kMenuNode* child, int row) const;
    // Calls visit(row, child index, child, row rect) for each row shown, top first, until it
    // returns true; returns how many children are visible.
    template <typename Visit>
    int VisitShownRows(Visit visit) const;
    kUIRect BackRect() const;
    kUIRect HelpRect() const;
    kUIRect ScrollRect(bool bUp) const;
    bool ShowsBack() const;
    bool ShowsHelpButton() const;
    bool ShowsScroll() const;
    Target TargetAt(float x, float y);
    void HandleInput(float delta);
    void HoverScroll(const Target& target, float delta);
    void Scroll(int rows);
    void KeepHighlightVisible();
    void ReportHighlight(bool bByPointer);
    void Act(const Target& target);
    void StepState(int child, kMenuAction action);
    void RenderRows();
    void RenderHelpLine();
    // The title or the help line centred at y, on its paper field in sudoku mode: as wide as
    // the text, or as minWidth when that is wider.
    void RenderOwnText(kFont* font, float y, const char* text, float minWidth);

    kMenu m_menu;
    TUIArt* m_art;
    MNInputEdge m_pointer;
    MNComboWidget* m_combos[kMaxRows];
    Target m_pressed;
    Target m_hover;
    kMenuNode* m_reportedNode = nullptr; // the highlighted entry last reported
    int m_firstRow = 0;                  // the first visible child shown
    kMenuNode* m_scrolledNode = nullptr; // the node m_firstRow belongs to
    float m_fHoverScrollTime = 0.0f;
    const char* m_wrappedHelpSource = nullptr; // the help text m_wrappedHelp was made from
    kString m_wrappedHelp;
    unsigned int m_textColour = 0xFFFFFFFF;
    bool m_bTextOnPaper = false;
    bool m_bAllowBackAtRoot = false;
    bool m_bShowHelp = true;
    bool m_bShowHelpButton = true;
    float m_fHelpTop;
    float m_fHelpWidth;
    bool m_bButtonScroll = false;
};

} // namespace Kelvo_lib
