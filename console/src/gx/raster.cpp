// Culling, triangle set-up and the per-line span search; the scissor.
#include "gx/raster.h"

#include "gx/edge.h"
#include "gx/efb.h"
#include "gx/plane_setup.h"
#include "gx/span.h"

#include <console/gx.h>
#include <console/os.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr s64 kSubpixels = 16;

struct RasterState {
    u32 scissorLeft, scissorTop, scissorRight, scissorBottom; // right and bottom exclusive
    GXCullMode cull;
};

constinit RasterState s_raster{};

void ComputePlanes(const GXPixelPipeline& p, const GXScreenVertex* v[3], const GXPlaneSetup& s,
                   bool perspective, GXTrianglePlanes& t) {
    f32 inverseW[3];
    for (u32 i = 0; i < 3; ++i) {
        inverseW[i] = perspective ? 1.0f / v[i]->w : 1.0f;
    }
    const GXPlane q = s.Of(inverseW[0], inverseW[1], inverseW[2]);
    t.inverseWBase = q.base;
    t.inverseWDx = q.dx;
    t.inverseWDy = q.dy;
    for (u32 i = 0; i < p.interpolantCount; ++i) {
        const u32 slot = p.gather[i];
        const GXPlane plane =
            s.Of(v[0]->attributes[slot] * inverseW[0], v[1]->attributes[slot] * inverseW[1],
                 v[2]->attributes[slot] * inverseW[2]);
        t.base[i] = plane.base;
        t.dx[i] = plane.dx;
        t.dy[i] = plane.dy;
    }
    // Depth is linear on the screen; kept in double so that 24 bits survive. Only the
    // depth test reads it, so without one it is left at nothing.
    if (!p.ops.zCompare) {
        t.depthBase = t.depthDx = t.depthDy = 0.0;
        return;
    }
    const f64 x1 = s.x[1] - s.x[0], y1 = s.y[1] - s.y[0];
    const f64 x2 = s.x[2] - s.x[0], y2 = s.y[2] - s.y[0];
    const f64 d1 = v[1]->depth - v[0]->depth, d2 = v[2]->depth - v[0]->depth;
    const f64 determinant = x1 * y2 - x2 * y1;
    t.depthDx = (d1 * y2 - d2 * y1) / determinant;
    t.depthDy = (d2 * x1 - d1 * x2) / determinant;
    t.depthBase = v[0]->depth - t.depthDx * s.x[0] - t.depthDy * s.y[0];
}

// Twice the area of the snapped triangle a, b, c; positive when clockwise.
s64 SnappedArea(const s64* x, const s64* y, u32 a, u32 b, u32 c) {
    return (x[b] - x[a]) * (y[c] - y[a]) - (x[c] - x[a]) * (y[b] - y[a]);
}

// The planes of the triangle with these corners and set-up; `centre` gets its centre.
GXTrianglePlanes PlanesOf(const GXPixelPipeline& pipeline, const GXScreenVertex* corners[3],
                          const GXPlaneSetup& setup, bool perspective, f32 centre[2]) {
    GXTrianglePlanes planes;
    ComputePlanes(pipeline, corners, setup, perspective, planes);
    centre[0] = (setup.x[0] + setup.x[1] + setup.x[2]) / 3.0f;
    centre[1] = (setup.y[0] + setup.y[1] + setup.y[2]) / 3.0f;
    return planes;
}

// Lines [top, bottom) and columns [left, right) of the scissor.
struct PixelBox {
    s64 top, bottom, left, right;
};

// The pixels whose centres lie in the closed box of snapped corners (xMin, yMin) and
// (xMax, yMax), within the scissor.
PixelBox ScissoredBox(s64 xMin, s64 yMin, s64 xMax, s64 yMax) {
    return {std::max<s64>(s_raster.scissorTop, GXCeilSixteenth(yMin - 8)),
            std::min<s64>(s_raster.scissorBottom, GXFloorSixteenth(yMax - 8) + 1),
            std::max<s64>(s_raster.scissorLeft, GXCeilSixteenth(xMin - 8)),
            std::min<s64>(s_raster.scissorRight, GXFloorSixteenth(xMax - 8) + 1)};
}

// Readies the planes for the pixels of `box`; false when it holds none.
bool PrepareBox(const GXPixelPipeline& pipeline, const PixelBox& box, GXTrianglePlanes& planes,
                const f32 centre[2], bool perspective) {
    if (box.top >= box.bottom || box.left >= box.right) {
        return false;
    }
    GXPrepareTriangle(pipeline, planes, centre[0], centre[1], perspective,
                      static_cast<u32>(box.left), static_cast<u32>(box.right));
    return true;
}

// Hands lines [top, bottom), columns [from, to) over whole when any pixel is left.
void HandOverRectangle(const GXPixelPipeline& pipeline, const GXTrianglePlanes& planes, s64 top,
                       s64 bottom, s64 from, s64 to) {
    if (top < bottom && from < to) {
        pipeline.rectangle(pipeline, planes, static_cast<u32>(top), static_cast<u32>(bottom),
                           static_cast<u32>(from), static_cast<u32>(to));
    }
}

// Draws the screen-aligned rectangle of snapped corners (left, top) and (right, bottom),
// every pixel with the given planes: its edges narrow as a clockwise polygon's would,
// the top and left ones keeping the pixels on them.
void DrawSnappedRectangle(s64 left, s64 top, s64 right, s64 bottom, GXTrianglePlanes& planes,
                          const f32 centre[2]) {
    const GXPixelPipeline& pipeline = GXActivePixelPipeline();
    PixelBox box = ScissoredBox(left, top, right, bottom);
    if (!PrepareBox(pipeline, box, planes, centre, false)) {
        return;
    }
    s64 from = s_raster.scissorLeft;
    s64 to = s_raster.scissorRight;
    GXNarrowToAlignedEdge(1, left, 0, from, to);
    GXNarrowToAlignedEdge(-1, right, 1, from, to);
    GXNarrowToAlignedEdge(1, top, 0, box.top, box.bottom);
    GXNarrowToAlignedEdge(-1, bottom, 1, box.top, box.bottom);
    HandOverRectangle(pipeline, planes, box.top, box.bottom, from, to);
}

// Draws the lines of the convex polygon with `count` snapped corners (clockwise) and
// its edges (edges[i] from corner i to the next), every pixel with the given planes.
void WalkSpans(const s64* x, const s64* y, const GXEdge* edges, u32 count, GXTrianglePlanes& planes,
               const f32 centre[2], bool perspective) {
    const PixelBox box =
        ScissoredBox(*std::min_element(x, x + count), *std::min_element(y, y + count),
                     *std::max_element(x, x + count), *std::max_element(y, y + count));
    const GXPixelPipeline& pipeline = GXActivePixelPipeline();
    if (!PrepareBox(pipeline, box, planes, centre, perspective)) {
        return;
    }
    s64 top = box.top;
    s64 bottom = box.bottom;
    // A vertical edge narrows every line alike and a horizontal one the range of lines:
    // once, before the lines; the others per line.
    s64 steadyFrom = s_raster.scissorLeft;
    s64 steadyTo = s_raster.scissorRight;
    GXEdge sloping[4];
    u32 slopingCount = 0;
    for (u32 i = 0; i < count; ++i) {
        if (edges[i].b == 0) {
            GXNarrowToAlignedEdge(edges[i].a, x[i], edges[i].threshold, steadyFrom, steadyTo);
        } else if (edges[i].a == 0) {
            GXNarrowToAlignedEdge(edges[i].b, y[i], edges[i].threshold, top, bottom);
        } else {
            sloping[slopingCount++] = edges[i];
        }
    }
    if (slopingCount == 0 && !perspective) {
        // A screen-aligned rectangle: every line the same span.
        HandOverRectangle(pipeline, planes, top, bottom, steadyFrom, steadyTo);
        return;
    }
    const GXSpanFunction span = pipeline.span[perspective ? 1 : 0];
    for (s64 line = top; line < bottom; ++line) {
        const s64 yCentre = line * kSubpixels + 8;
        s64 from = steadyFrom;
        s64 to = steadyTo;
        for (u32 i = 0; i < slopingCount; ++i) {
            GXNarrowToEdge(sloping[i], yCentre, from, to);
        }
        if (from < to) {
            span(pipeline, planes, static_cast<u32>(line), static_cast<u32>(from),
                 static_cast<u32>(to));
        }
    }
}

// Draws a triangle whose corners run clockwise on the screen (or that snapping made
// flat or reversed, which draws nothing).
void RasteriseTriangle(const GXScreenVertex* corners[3], bool perspective) {
    s64 x[3], y[3];
    for (u32 i = 0; i < 3; ++i) {
        x[i] = GXSnapToSubpixel(corners[i]->x);
        y[i] = GXSnapToSubpixel(corners[i]->y);
    }
    const s64 area = SnappedArea(x, y, 0, 1, 2);
    if (area <= 0) {
        return;
    }
    const GXEdge edges[3] = {GXMakeEdge(x[0], y[0], x[1], y[1]), GXMakeEdge(x[1], y[1], x[2], y[2]),
                             GXMakeEdge(x[2], y[2], x[0], y[0])};
    f32 centre[2];
    GXTrianglePlanes planes = PlanesOf(GXActivePixelPipeline(), corners,
                                       GXPlaneSetup::OfSnapped(x, y, area), perspective, centre);
    WalkSpans(x, y, edges, 3, planes, centre, perspective);
}

bool SamePlanes(const GXPixelPipeline& pipeline, const GXTrianglePlanes& a,
                const GXTrianglePlanes& b) {
    const auto same = [](const auto* p, const auto* q, u32 count) {
        return std::memcmp(p, q, count * sizeof(*p)) == 0;
    };
    const u32 n = pipeline.interpolantCount;
    return same(a.base, b.base, n) && same(a.dx, b.dx, n) && same(a.dy, b.dy, n) &&
           same(&a.inverseWBase, &b.inverseWBase, 1) && same(&a.inverseWDx, &b.inverseWDx, 1) &&
           same(&a.inverseWDy, &b.inverseWDy, 1) && same(&a.depthBase, &b.depthBase, 1) &&
           same(&a.depthDx, &b.depthDx, 1) && same(&a.depthDy, &b.depthDy, 1);
}

// Whether the snapped corners, clockwise, make a screen-aligned rectangle with corner 0
// at its top left.
bool TopLeftRectangle(const s64* x, const s64* y) {
    return y[0] == y[1] && x[1] == x[2] && y[2] == y[3] && x[3] == x[0] && x[1] > x[0] &&
           y[2] > y[0];
}

// Whether the second fan triangle of such a rectangle, with the set-up of the first,
// has the very same planes without working them out: every interpolant's plane shared
// (as the 1/w plane, all ones, always is) and no depth planes.
bool SecondPlanesFollow(const GXPixelPipeline& pipeline, const GXScreenVertex* corners[4],
                        const GXPlaneSetup& first) {
    if (pipeline.ops.zCompare) {
        return false;
    }
    const f32 width = first.x[1] - first.x[0];
    const f32 height = first.y[2] - first.y[0];
    for (u32 i = 0; i < pipeline.interpolantCount; ++i) {
        const u32 slot = pipeline.gather[i];
        if (!GXRectangleHalvesShareThePlane(
                corners[0]->attributes[slot], corners[1]->attributes[slot],
                corners[2]->attributes[slot], corners[3]->attributes[slot], width, height)) {
            return false;
        }
    }
    return true;
}

// Whether the snapped corners (clockwise) make a convex quad: each three of them
// clockwise. A screen-aligned rectangle always does.
bool Convex(const s64* x, const s64* y) {
    return SnappedArea(x, y, 0, 1, 2) > 0 && SnappedArea(x, y, 0, 2, 3) > 0 &&
           SnappedArea(x, y, 0, 1, 3) > 0 && SnappedArea(x, y, 1, 2, 3) > 0;
}

// Whether the quad's second fan triangle, worked out in full, has the very same planes
// as the first.
bool SecondPlanesMatch(const GXPixelPipeline& pipeline, const GXScreenVertex* corners[4],
                       const s64* x, const s64* y, const GXTrianglePlanes& planes) {
    const GXScreenVertex* secondCorners[3] = {corners[0], corners[2], corners[3]};
    const s64 secondX[3] = {x[0], x[2], x[3]};
    const s64 secondY[3] = {y[0], y[2], y[3]};
    f32 secondCentre[2];
    const GXTrianglePlanes secondPlanes = PlanesOf(
        pipeline, secondCorners,
        GXPlaneSetup::OfSnapped(secondX, secondY, SnappedArea(x, y, 0, 2, 3)), false, secondCentre);
    return SamePlanes(pipeline, planes, secondPlanes);
}

// A convex quad (corners clockwise) whose two fan triangles have the very same planes,
// as a sprite's do, drawn as one polygon: one span a line instead of two, the same
// pixels (the triangles' shared edge gives each of its pixels to one of them). False
// when it is not such a quad.
bool RasteriseQuadAsOne(const GXScreenVertex* corners[4]) {
    s64 x[4], y[4];
    for (u32 i = 0; i < 4; ++i) {
        x[i] = GXSnapToSubpixel(corners[i]->x);
        y[i] = GXSnapToSubpixel(corners[i]->y);
    }
    const bool rectangle = TopLeftRectangle(x, y);
    if (!rectangle && !Convex(x, y)) {
        return false;
    }
    const GXPixelPipeline& pipeline = GXActivePixelPipeline();
    const GXScreenVertex* firstCorners[3] = {corners[0], corners[1], corners[2]};
    const GXPlaneSetup firstSetup = GXPlaneSetup::OfSnapped(x, y, SnappedArea(x, y, 0, 1, 2));
    f32 centre[2];
    GXTrianglePlanes planes = PlanesOf(pipeline, firstCorners, firstSetup, false, centre);
    if (!(rectangle && SecondPlanesFollow(pipeline, corners, firstSetup)) &&
        !SecondPlanesMatch(pipeline, corners, x, y, planes)) {
        return false;
    }
    if (rectangle) {
        DrawSnappedRectangle(x[0], y[0], x[2], y[2], planes, centre);
        return true;
    }
    const GXEdge edges[4] = {GXMakeEdge(x[0], y[0], x[1], y[1]), GXMakeEdge(x[1], y[1], x[2], y[2]),
                             GXMakeEdge(x[2], y[2], x[3], y[3]),
                             GXMakeEdge(x[3], y[3], x[0], y[0])};
    WalkSpans(x, y, edges, 4, planes, centre, false);
    return true;
}

// Twice the signed area; positive when the corners run clockwise on the screen.
f32 SignedArea(const GXScreenVertex* corners, u32 count) {
    f32 sum = 0.0f;
    for (u32 i = 0; i < count; ++i) {
        const GXScreenVertex& a = corners[i];
        const GXScreenVertex& b = corners[(i + 1) % count];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum;
}

// SignedArea of the triangle a, b, c, summed in the same order.
f32 TriangleArea(const GXScreenVertex& a, const GXScreenVertex& b, const GXScreenVertex& c) {
    f32 sum = a.x * b.y - b.x * a.y;
    sum += b.x * c.y - c.x * b.y;
    sum += c.x * a.y - a.x * c.y;
    return sum;
}

bool Culled(f32 area) {
    switch (s_raster.cull) {
    case GX_CULL_FRONT:
        return area > 0.0f;
    case GX_CULL_BACK:
        return area < 0.0f;
    case GX_CULL_ALL:
        return true;
    default:
        return false;
    }
}

// Fans the polygon out into clockwise triangles.
void RasteriseFan(const GXScreenVertex* corners, u32 count, f32 area) {
    bool perspective = false;
    for (u32 i = 1; i < count; ++i) {
        perspective = perspective || corners[i].w != corners[0].w;
    }
    for (u32 i = 1; i + 1 < count; ++i) {
        const GXScreenVertex* triangle[3] = {&corners[0], &corners[i], &corners[i + 1]};
        if (area < 0.0f) {
            std::swap(triangle[1], triangle[2]);
        }
        RasteriseTriangle(triangle, perspective);
    }
}

} // namespace

void GXResetRasterState() {
    s_raster = RasterState{};
    GXSetScissor(0, 0, 640, 480);
    GXSetCullMode(GX_CULL_BACK);
}

s64 GXSnapToSubpixel(f32 coordinate) {
    // As llround, without the call.
    const f32 scaled = coordinate * static_cast<f32>(kSubpixels);
    const s64 truncated = static_cast<s64>(scaled);
    // Exact: below 2^24 both are floats, above it the value is whole.
    const f32 fraction = scaled - static_cast<f32>(truncated);
    if (fraction >= 0.5f) {
        return truncated + 1;
    }
    return fraction <= -0.5f ? truncated - 1 : truncated;
}

void GXRasterisePolygon(const GXScreenVertex* corners, u32 count) {
    const f32 area = SignedArea(corners, count);
    if (area == 0.0f || Culled(area)) {
        return;
    }
    RasteriseFan(corners, count, area);
}

bool GXRasteriseQuad(const GXScreenVertex* corners) {
    const f32 area = TriangleArea(corners[0], corners[1], corners[2]);
    const f32 secondArea = TriangleArea(corners[0], corners[2], corners[3]);
    if (area == 0.0f || secondArea == 0.0f || (area < 0.0f) != (secondArea < 0.0f)) {
        return false;
    }
    if (Culled(area)) {
        return true;
    }
    // Clockwise, each fan triangle keeps the corner order its own drawing would give it.
    const GXScreenVertex* clockwise[4] = {&corners[0], &corners[1], &corners[2], &corners[3]};
    if (area < 0.0f) {
        std::swap(clockwise[1], clockwise[3]);
    }
    return RasteriseQuadAsOne(clockwise);
}

void GXRasteriseLine(const GXScreenVertex& a, const GXScreenVertex& b) {
    const f32 dx = b.x - a.x;
    const f32 dy = b.y - a.y;
    if (dx == 0.0f && dy == 0.0f) {
        return;
    }
    // One pixel wide across the line's minor axis.
    const bool xMajor = std::fabs(dx) >= std::fabs(dy);
    const f32 offsetX = xMajor ? 0.0f : 0.5f;
    const f32 offsetY = xMajor ? 0.5f : 0.0f;
    GXScreenVertex quad[4] = {a, a, b, b};
    quad[0].x -= offsetX;
    quad[0].y -= offsetY;
    quad[1].x += offsetX;
    quad[1].y += offsetY;
    quad[2].x += offsetX;
    quad[2].y += offsetY;
    quad[3].x -= offsetX;
    quad[3].y -= offsetY;
    RasteriseFan(quad, 4, SignedArea(quad, 4));
}

void GXSetScissor(u32 left, u32 top, u32 width, u32 height) {
    constexpr u32 kWidth = EmbeddedFrameBuffer::kWidth;
    constexpr u32 kHeight = EmbeddedFrameBuffer::kHeight;
    s_raster.scissorLeft = std::min(left, kWidth);
    s_raster.scissorTop = std::min(top, kHeight);
    s_raster.scissorRight = std::min(s_raster.scissorLeft + std::min(width, kWidth), kWidth);
    s_raster.scissorBottom = std::min(s_raster.scissorTop + std::min(height, kHeight), kHeight);
}

void GXSetCullMode(GXCullMode mode) {
    if (mode > GX_CULL_ALL) {
        OSReport("GXSetCullMode: unknown mode %u; ignored\n", mode);
        return;
    }
    s_raster.cull = mode;
}
