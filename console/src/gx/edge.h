// A triangle's edge function over positions in 1/16 pixels, and the pixels of a line
// that lie inside it (pixel centres, top-left rule).
#pragma once

#include <console/types.h>

struct GXEdge {
    s64 a, b, c;   // a x + b y + c, in 1/16 pixels; inside where not negative
    s64 threshold; // 0 on a top or left edge (its pixels are drawn), else 1
};

// The edge from (xa, ya) to (xb, yb), inside to its right on the screen.
GXEdge GXMakeEdge(s64 xa, s64 ya, s64 xb, s64 yb);

// Narrows [left, right) of the line whose pixel centres lie at y = yCentre to the
// pixels inside the edge.
void GXNarrowToEdge(const GXEdge& e, s64 yCentre, s64& left, s64& right);

// The same narrowing for an edge that runs along its axis: a vertical edge at x = `at`
// narrowing columns [from, to), or (with the roles of x and y swapped) a horizontal one
// narrowing lines. `along` is its a (vertical) or b (horizontal), not 0. Shifts replace
// the divisions by the edge's length, which cancels.
void GXNarrowToAlignedEdge(s64 along, s64 at, s64 threshold, s64& from, s64& to);

// n / 16 rounded down and up.
constexpr s64 GXFloorSixteenth(s64 n) {
    return n >> 4;
}
constexpr s64 GXCeilSixteenth(s64 n) {
    return -(-n >> 4);
}
