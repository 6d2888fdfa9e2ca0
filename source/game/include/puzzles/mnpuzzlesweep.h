// MNPuzzleSweep: the check sweep of a full grid, as every puzzle widget shows it: a lit column
// passes from left to right over one second, ticking, marking the wrong cells it passes and,
// on a right grid, its hidden-word cells; those may flicker for two seconds once the pass is
// over; then two seconds' pause, after which the widget judges the grid. The widget owns it
// and tells it what each cell holds through Grid. Main thread only; a cell outside the grid
// reads unmarked.
#pragma once

#include <kelvo/containers/karray.h>

namespace Kelvo_lib {

class MNPuzzleSweep {
public:
    // A cell's look during the sweep.
    enum eScanMark : unsigned char {
        SCAN_NONE = 0,
        SCAN_LIT = 1,    // the column being swept
        SCAN_WRONG = 2,  // a wrong entry
        SCAN_HIDDEN = 3, // a hidden-word cell of a right grid, and its other look
        SCAN_HIDDEN2 = 4,
    };
    // How the column moves: evenly over the second (each column passed ticks), or one
    // column a frame at most (every frame ticks).
    enum ePace { PACE_EVEN, PACE_FRAME_BY_FRAME };

    // What the swept grid holds.
    class Grid {
    public:
        virtual bool IsCellRight(int cell) const = 0;
        virtual bool IsHiddenWordCell(int cell) const = 0;

    protected:
        ~Grid() = default;
    };

    // bFlickerHidden: the hidden-word cells flicker once the pass is over.
    MNPuzzleSweep(ePace pace, bool bFlickerHidden) : m_pace(pace), m_bFlicker(bFlickerHidden) {}

    // A new pass over a grid of the size given, every cell unmarked.
    void Start(int cols, int rows);
    // One frame of the sweep; true on the frame its closing pause ends.
    bool Tick(float delta, const Grid& grid);
    unsigned char GetMark(int cell) const;

private:
    void PassEvenly(float delta, const Grid& grid);
    void PassFrameByFrame(float delta, const Grid& grid);
    void EndPass();
    void FlickerStep(float delta);
    bool ClosingStep(float delta);
    void UnlightColumn();
    void LightNextColumn(const Grid& grid);
    bool IsGridRight(const Grid& grid) const;
    void SwapHiddenMarks();
    void ReplaceMarks(unsigned char from, unsigned char to);

    ePace m_pace;
    bool m_bFlicker;
    int m_cols = 0;
    int m_rows = 0;
    int m_column = -1;
    float m_passTime = 0.0f;
    float m_flickerTime = 0.0f;
    float m_flickerPhase = 0.0f;
    float m_closingTime = 0.0f;
    kArray<unsigned char> m_marks;
};

} // namespace Kelvo_lib
