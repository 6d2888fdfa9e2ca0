#include <puzzles/mnpuzzlesweep.h>

#include <services/mnsound.h>

namespace Kelvo_lib {

namespace {

constexpr float kPassSeconds = 1.0f;
constexpr float kFlickerSeconds = 2.0f;
constexpr float kFlickerPeriod = 1.0f;
constexpr float kClosingSeconds = 2.0f;

} // namespace

void MNPuzzleSweep::Start(int cols, int rows) {
    m_cols = cols;
    m_rows = rows;
    m_column = -1;
    m_passTime = kPassSeconds;
    m_flickerTime = 0.0f;
    m_closingTime = 0.0f;
    m_marks.Empty();
    m_marks.Add(cols * rows);
    for (int cell = 0; cell < m_marks.Size(); ++cell) {
        m_marks(cell) = SCAN_NONE;
    }
}

bool MNPuzzleSweep::Tick(float delta, const Grid& grid) {
    if (m_passTime > 0.0f) {
        if (m_pace == PACE_EVEN) {
            PassEvenly(delta, grid);
        } else {
            PassFrameByFrame(delta, grid);
        }
    } else if (m_flickerTime > 0.0f) {
        FlickerStep(delta);
    } else if (m_closingTime > 0.0f) {
        return ClosingStep(delta);
    }
    return false;
}

unsigned char MNPuzzleSweep::GetMark(int cell) const {
    return cell >= 0 && cell < m_marks.Size() ? m_marks(cell)
                                              : static_cast<unsigned char>(SCAN_NONE);
}

// Every column the share of the second gone has reached is passed, each with a tick.
void MNPuzzleSweep::PassEvenly(float delta, const Grid& grid) {
    m_passTime -= delta;
    const float done = m_passTime > 0.0f ? (kPassSeconds - m_passTime) / kPassSeconds : 1.0f;
    const int column = static_cast<int>(done * m_cols);
    while (m_column < column && m_column < m_cols) {
        UnlightColumn();
        ++m_column;
        MNSound::PlaySoundEffect(SFX_SWEEP_TICK);
        if (m_column < m_cols) {
            LightNextColumn(grid);
        }
    }
    if (m_passTime <= 0.0f) {
        EndPass();
    }
}

// Every frame ticks; the column moves on by one when the time gone has reached the next.
void MNPuzzleSweep::PassFrameByFrame(float delta, const Grid& grid) {
    m_passTime -= delta;
    MNSound::PlaySoundEffect(SFX_SWEEP_TICK);
    if (m_passTime <= 0.0f) {
        EndPass();
        return;
    }
    const int column = static_cast<int>((kPassSeconds - m_passTime) *
                                        (1.0f / kPassSeconds + static_cast<float>(m_cols)));
    if (column <= m_column) {
        return;
    }
    UnlightColumn();
    if (column < m_cols) {
        ++m_column;
        LightNextColumn(grid);
    }
}

void MNPuzzleSweep::EndPass() {
    m_passTime = 0.0f;
    ReplaceMarks(SCAN_LIT, SCAN_NONE);
    if (m_bFlicker) {
        m_flickerTime = kFlickerSeconds;
        m_flickerPhase = kFlickerPeriod;
    } else {
        m_closingTime = kClosingSeconds;
    }
}

// The hidden-word cells swap looks every frame but the one that ends a period.
void MNPuzzleSweep::FlickerStep(float delta) {
    m_flickerTime -= delta;
    if (m_flickerTime <= 0.0f) {
        m_flickerTime = 0.0f;
        m_closingTime = kClosingSeconds;
        ReplaceMarks(SCAN_HIDDEN2, SCAN_HIDDEN);
    } else if (m_flickerPhase > 0.0f) {
        m_flickerPhase -= delta;
        if (m_flickerPhase <= 0.0f) {
            m_flickerPhase = kFlickerPeriod;
        } else {
            SwapHiddenMarks();
        }
    }
}

bool MNPuzzleSweep::ClosingStep(float delta) {
    m_closingTime -= delta;
    SwapHiddenMarks();
    if (m_closingTime > 0.0f) {
        return false;
    }
    m_closingTime = 0.0f;
    return true;
}

void MNPuzzleSweep::UnlightColumn() {
    for (int row = 0; m_column >= 0 && row < m_rows; ++row) {
        unsigned char& mark = m_marks(row * m_cols + m_column);
        if (mark == SCAN_LIT) {
            mark = SCAN_NONE;
        }
    }
}

void MNPuzzleSweep::LightNextColumn(const Grid& grid) {
    for (int row = 0; row < m_rows; ++row) {
        const int cell = row * m_cols + m_column;
        if (!grid.IsCellRight(cell)) {
            m_marks(cell) = SCAN_WRONG;
        } else {
            m_marks(cell) =
                grid.IsHiddenWordCell(cell) && IsGridRight(grid) ? SCAN_HIDDEN : SCAN_LIT;
        }
    }
}

bool MNPuzzleSweep::IsGridRight(const Grid& grid) const {
    for (int cell = 0; cell < m_cols * m_rows; ++cell) {
        if (!grid.IsCellRight(cell)) {
            return false;
        }
    }
    return true;
}

void MNPuzzleSweep::SwapHiddenMarks() {
    for (int cell = 0; cell < m_marks.Size(); ++cell) {
        unsigned char& mark = m_marks(cell);
        if (mark == SCAN_HIDDEN || mark == SCAN_HIDDEN2) {
            mark = mark == SCAN_HIDDEN ? SCAN_HIDDEN2 : SCAN_HIDDEN;
        }
    }
}

void MNPuzzleSweep::ReplaceMarks(unsigned char from, unsigned char to) {
    for (int cell = 0; cell < m_marks.Size(); ++cell) {
        if (m_marks(cell) == from) {
            m_marks(cell) = to;
        }
    }
}

} // namespace Kelvo_lib
