// Edge functions and the span each leaves of a line.
#include "gx/edge.h"

#include <algorithm>

namespace {

constexpr s64 kSubpixels = 16;

s64 FloorDiv(s64 n, s64 d) {
    const s64 q = n / d;
    return (n % d != 0 && ((n < 0) != (d < 0))) ? q - 1 : q;
}

s64 CeilDiv(s64 n, s64 d) {
    return -FloorDiv(-n, d);
}

} // namespace

GXEdge GXMakeEdge(s64 xa, s64 ya, s64 xb, s64 yb) {
    GXEdge e{ya - yb, xb - xa, 0, 0};
    e.c = -(e.a * xa + e.b * ya);
    const bool topLeft = e.a > 0 || (e.a == 0 && e.b > 0);
    e.threshold = topLeft ? 0 : 1;
    return e;
}

void GXNarrowToEdge(const GXEdge& e, s64 yCentre, s64& left, s64& right) {
    const s64 rest = e.b * yCentre + e.c;
    if (e.a == 0) {
        if (rest < e.threshold) {
            right = left;
        }
        return;
    }
    // a (16 x + 8) + rest >= threshold
    const s64 bound = e.threshold - rest - 8 * e.a;
    if (e.a > 0) {
        left = std::max(left, CeilDiv(bound, kSubpixels * e.a));
    } else {
        right = std::min(right, FloorDiv(bound, kSubpixels * e.a) + 1);
    }
}

// With rest = -along * at the bound above is along (at - 8) + threshold, and as the
// threshold is 0 or 1 and |along| at least 1, dividing it by 16 along rounds as
// dividing at - 8 +- threshold by 16 does.
void GXNarrowToAlignedEdge(s64 along, s64 at, s64 threshold, s64& from, s64& to) {
    if (along > 0) {
        from = std::max(from, GXCeilSixteenth(at - 8 + threshold));
    } else {
        to = std::min(to, GXFloorSixteenth(at - 8 - threshold) + 1);
    }
}
