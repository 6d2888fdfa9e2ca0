// Edge functions: the shift-only narrowing by a screen-aligned edge against the general
// one with its divisions, over positions on and around pixel centres and edges of every
// direction and length, and the sixteenths rounding around zero.
#include "gx/edge.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

constexpr std::array<s64, 6> kLengths = {1, 2, 15, 16, 17, 1 << 20};
constexpr s64 kWide = 1 << 12; // columns [-kWide, kWide) before narrowing

struct Span {
    s64 from = -kWide;
    s64 to = kWide;
};

// The span a vertical edge at x = at leaves, both ways, against the general form.
void ExpectVerticalEdgesAgree(s64 at, s64 length) {
    for (const s64 sign : {1, -1}) {
        const GXEdge edge = GXMakeEdge(at, 0, at, -sign * length);
        Span general, aligned;
        GXNarrowToEdge(edge, 8, general.from, general.to);
        GXNarrowToAlignedEdge(edge.a, at, edge.threshold, aligned.from, aligned.to);
        EXPECT_EQ(aligned.from, general.from) << "x " << at << " length " << sign * length;
        EXPECT_EQ(aligned.to, general.to) << "x " << at << " length " << sign * length;
    }
}

// The lines a horizontal edge at y = at leaves, both ways, against the general form
// with x and y swapped.
void ExpectHorizontalEdgesAgree(s64 at, s64 length) {
    for (const s64 sign : {1, -1}) {
        const GXEdge edge = GXMakeEdge(0, at, sign * length, at);
        const GXEdge transposed{edge.b, edge.a, edge.c, edge.threshold};
        Span general, aligned;
        GXNarrowToEdge(transposed, 0, general.from, general.to);
        GXNarrowToAlignedEdge(edge.b, at, edge.threshold, aligned.from, aligned.to);
        EXPECT_EQ(aligned.from, general.from) << "y " << at << " length " << sign * length;
        EXPECT_EQ(aligned.to, general.to) << "y " << at << " length " << sign * length;
    }
}

TEST(GXEdge, AlignedEdgesNarrowAsTheGeneralFormDoes) {
    for (s64 at = -100; at <= 100; ++at) {
        for (const s64 length : kLengths) {
            ExpectVerticalEdgesAgree(at, length);
            ExpectHorizontalEdgesAgree(at, length);
        }
    }
    for (const s64 at : {-(s64{1} << 30) - 1, s64{1} << 30, (s64{1} << 30) + 9}) {
        ExpectVerticalEdgesAgree(at, 3);
        ExpectHorizontalEdgesAgree(at, 3);
    }
}

TEST(GXEdge, AlignedEdgesOutsideTheSpanLeaveItEmptyOrWhole) {
    Span span{0, 10};
    GXNarrowToAlignedEdge(1, 16 * 20, 0, span.from, span.to);
    EXPECT_GE(span.from, span.to);
    span = {0, 10};
    GXNarrowToAlignedEdge(-1, 16 * 20, 1, span.from, span.to);
    EXPECT_EQ(span.from, 0);
    EXPECT_EQ(span.to, 10);
}

TEST(GXEdge, SixteenthsRoundDownAndUpOnBothSidesOfZero) {
    for (s64 n = -64; n <= 64; ++n) {
        const double exact = static_cast<double>(n) / 16.0;
        EXPECT_EQ(GXFloorSixteenth(n), static_cast<s64>(std::floor(exact))) << n;
        EXPECT_EQ(GXCeilSixteenth(n), static_cast<s64>(std::ceil(exact))) << n;
    }
}

} // namespace
