// Near, far and guard-band clipping; the viewport mapping.
#include "gx/clip.h"

#include "gx/raster.h"
#include "gx/span.h"
#include "gx/transform.h"

#include <cmath>

namespace {

constexpr u32 kPlanes = 6;
// Triangle corners plus one per plane, with room to spare for rounding.
constexpr u32 kMaxPolygon = 16;
// Screen positions stay within this many pixels of the frame buffer's origin.
constexpr f32 kGuardBand = 8192.0f;

// Signed distances to the planes (inside when not negative): near, far, then the
// guard band's left, right, top and bottom. `T` is f32, or four lanes of it for four
// vertices at once.
template <typename T>
void Distances(const GXViewportMapping& m, T x, T y, T z, T w, T out[kPlanes]) {
    const T sx = m.xOrigin * w + m.xScale * x; // screen x times w
    const T sy = m.yOrigin * w + m.yScale * y;
    out[0] = z + w;
    out[1] = -z;
    out[2] = kGuardBand * w + sx;
    out[3] = kGuardBand * w - sx;
    out[4] = kGuardBand * w + sy;
    out[5] = kGuardBand * w - sy;
}

void Distances(const GXClipVertex& v, f32 out[kPlanes]) {
    Distances(GXCurrentViewportMapping(), v.clip[0], v.clip[1], v.clip[2], v.clip[3], out);
}

u32 Outcode(const GXClipVertex& v) {
    f32 d[kPlanes];
    Distances(v, d);
    u32 code = 0;
    for (u32 plane = 0; plane < kPlanes; ++plane) {
        code |= (d[plane] < 0.0f ? 1u : 0u) << plane;
    }
    return code;
}

bool Finite(const GXClipVertex& v) {
    return std::isfinite(v.clip[0]) && std::isfinite(v.clip[1]) && std::isfinite(v.clip[2]) &&
           std::isfinite(v.clip[3]);
}

f32 PlaneDistance(const GXClipVertex& v, u32 plane) {
    f32 d[kPlanes];
    Distances(v, d);
    return d[plane];
}

void Lerp(const GXClipVertex& a, const GXClipVertex& b, f32 t, GXClipVertex& out) {
    for (u32 i = 0; i < 4; ++i) {
        out.clip[i] = a.clip[i] + (b.clip[i] - a.clip[i]) * t;
    }
    for (u32 i = 0; i < kGXAttributeSlots; ++i) {
        out.attributes[i] = a.attributes[i] + (b.attributes[i] - a.attributes[i]) * t;
    }
}

// Keeps the part of the polygon on the inside of one plane; returns the new count.
u32 ClipPolygon(const GXClipVertex* in, u32 count, u32 plane, GXClipVertex* out) {
    u32 written = 0;
    for (u32 i = 0; i < count; ++i) {
        const GXClipVertex& current = in[i];
        const GXClipVertex& next = in[(i + 1) % count];
        const f32 dCurrent = PlaneDistance(current, plane);
        const f32 dNext = PlaneDistance(next, plane);
        if (dCurrent >= 0.0f && written < kMaxPolygon) {
            out[written++] = current;
        }
        if ((dCurrent >= 0.0f) != (dNext >= 0.0f) && written < kMaxPolygon) {
            Lerp(current, next, dCurrent / (dCurrent - dNext), out[written++]);
        }
    }
    return written;
}

// Whether w lies far enough from the eye's plane for a vertex to be projected.
bool Projectable(f32 w) {
    return w > 1e-30f;
}

// The vertex's depth on the screen.
f64 ScreenDepth(const GXViewportMapping& m, const GXClipVertex& v) {
    return m.depthFar + m.depthRange * static_cast<f64>(v.clip[2]) / v.clip[3];
}

// The vertex on the screen but for its depth, `inverseW` being 1 / its w.
void ProjectPlace(const GXViewportMapping& m, const GXClipVertex& v, f32 inverseW,
                  GXScreenVertex& out) {
    out.x = m.xOrigin + m.xScale * v.clip[0] * inverseW;
    out.y = m.yOrigin + m.yScale * v.clip[1] * inverseW;
    out.w = v.clip[3];
    out.attributes = v.attributes;
}

// False when the vertex sits on the eye's plane and cannot be projected.
bool ToScreen(const GXClipVertex& v, GXScreenVertex& out) {
    const f32 w = v.clip[3];
    if (!Projectable(w)) {
        return false;
    }
    const GXViewportMapping& m = GXCurrentViewportMapping();
    ProjectPlace(m, v, 1.0f / w, out);
    out.depth = ScreenDepth(m, v);
    return true;
}

void DrawPolygon(const GXClipVertex* const* polygon, u32 count) {
    GXScreenVertex screen[kMaxPolygon];
    for (u32 i = 0; i < count; ++i) {
        if (!ToScreen(*polygon[i], screen[i])) {
            return;
        }
    }
    GXRasterisePolygon(screen, count);
}

using Lanes = f32 __attribute__((vector_size(16)));

// Whether the four corners are finite, inside every plane (their outcodes 0) and of
// w `w`, tested together, four lanes at a time.
bool AllWhole(const GXViewportMapping& m, const GXClipVertex* const corners[4], f32 w) {
    Lanes clip[4];
    for (u32 i = 0; i < 4; ++i) {
        for (u32 corner = 0; corner < 4; ++corner) {
            clip[i][corner] = corners[corner]->clip[i];
        }
    }
    Lanes d[kPlanes];
    Distances(m, clip[0], clip[1], clip[2], clip[3], d);
    // Comparisons give -1 where true; x - x is 0 for a finite x alone.
    auto whole = clip[3] == w;
    for (u32 i = 0; i < 4; ++i) {
        whole &= clip[i] - clip[i] == 0.0f;
    }
    for (u32 plane = 0; plane < kPlanes; ++plane) {
        whole &= !(d[plane] < 0.0f);
    }
    return (whole[0] & whole[1] & whole[2] & whole[3]) != 0;
}

// Projects the quad's corners when all four are finite, inside the clip volume and of
// one w, the only quads drawn whole; false otherwise. Only the depth test reads depths,
// so without one they are left at nothing.
bool ProjectWholeQuad(const GXClipVertex* const corners[4], GXScreenVertex screen[4]) {
    const GXViewportMapping& m = GXCurrentViewportMapping();
    const f32 w = corners[0]->clip[3];
    if (!Projectable(w) || !AllWhole(m, corners, w)) {
        return false;
    }
    const f32 inverseW = 1.0f / w;
    const bool depthRead = GXActivePixelPipeline().ops.zCompare;
    for (u32 i = 0; i < 4; ++i) {
        ProjectPlace(m, *corners[i], inverseW, screen[i]);
        screen[i].depth = depthRead ? ScreenDepth(m, *corners[i]) : 0.0;
    }
    return true;
}

} // namespace

void GXDrawTriangle(const GXClipVertex& a, const GXClipVertex& b, const GXClipVertex& c) {
    if (!Finite(a) || !Finite(b) || !Finite(c)) {
        return;
    }
    const u32 codeA = Outcode(a);
    const u32 codeB = Outcode(b);
    const u32 codeC = Outcode(c);
    if ((codeA & codeB & codeC) != 0) {
        return;
    }
    const u32 crossed = codeA | codeB | codeC;
    if (crossed == 0) {
        const GXClipVertex* const corners[] = {&a, &b, &c};
        DrawPolygon(corners, 3);
        return;
    }
    GXClipVertex buffers[2][kMaxPolygon];
    buffers[0][0] = a;
    buffers[0][1] = b;
    buffers[0][2] = c;
    u32 count = 3;
    u32 current = 0;
    for (u32 plane = 0; plane < kPlanes && count >= 3; ++plane) {
        if ((crossed >> plane) & 1) {
            count = ClipPolygon(buffers[current], count, plane, buffers[current ^ 1]);
            current ^= 1;
        }
    }
    const GXClipVertex* polygon[kMaxPolygon];
    for (u32 i = 0; i < count; ++i) {
        polygon[i] = &buffers[current][i];
    }
    if (count >= 3) {
        DrawPolygon(polygon, count);
    }
}

void GXDrawLine(const GXClipVertex& a, const GXClipVertex& b) {
    if (!Finite(a) || !Finite(b)) {
        return;
    }
    f32 dA[kPlanes];
    f32 dB[kPlanes];
    Distances(a, dA);
    Distances(b, dB);
    f32 from = 0.0f;
    f32 to = 1.0f;
    for (u32 plane = 0; plane < kPlanes; ++plane) {
        if (dA[plane] < 0.0f && dB[plane] < 0.0f) {
            return;
        }
        if (dA[plane] < 0.0f) {
            from = std::fmax(from, dA[plane] / (dA[plane] - dB[plane]));
        } else if (dB[plane] < 0.0f) {
            to = std::fmin(to, dA[plane] / (dA[plane] - dB[plane]));
        }
    }
    if (from > to) {
        return;
    }
    GXClipVertex ends[2];
    Lerp(a, b, from, ends[0]);
    Lerp(a, b, to, ends[1]);
    GXScreenVertex screen[2];
    if (ToScreen(ends[0], screen[0]) && ToScreen(ends[1], screen[1])) {
        GXRasteriseLine(screen[0], screen[1]);
    }
}

void GXDrawQuad(const GXClipVertex& a, const GXClipVertex& b, const GXClipVertex& c,
                const GXClipVertex& d) {
    const GXClipVertex* const corners[] = {&a, &b, &c, &d};
    GXScreenVertex screen[4];
    if (ProjectWholeQuad(corners, screen) && GXRasteriseQuad(screen)) {
        return;
    }
    GXDrawTriangle(a, b, c);
    GXDrawTriangle(a, c, d);
}
