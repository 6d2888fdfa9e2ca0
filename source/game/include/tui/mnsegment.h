// MNSegment: a line between two screen points, with its ends put in the order the game draws
// a sprite stretched along a line from (the left end, then the upper one), its length and
// its angle in degrees. The score graph's lines and the wordsearch's capsules use it.
#pragma once

#include <cmath>
#include <utility>

namespace Kelvo_lib {

struct MNSegment {
    static constexpr float kDegreesPerRadian = 57.29578f;

    MNSegment(float fromX, float fromY, float toX, float toY)
        : x0(fromX), y0(fromY), x1(toX), y1(toY) {
        if (x0 > x1) {
            SwapEnds();
        }
        if (y0 > y1) {
            SwapEnds();
        }
    }

    float Dx() const { return x1 - x0; }
    float Dy() const { return y1 - y0; }
    float Length() const { return std::sqrt(Dx() * Dx() + Dy() * Dy()); }
    float Degrees() const { return std::atan2(Dy(), Dx()) * kDegreesPerRadian; }

    float x0;
    float y0;
    float x1;
    float y1;

private:
    void SwapEnds() {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
};

} // namespace Kelvo_lib
