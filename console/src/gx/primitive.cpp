// GXBegin/GXEnd and the grouping of vertices into triangles and lines.
#include "gx/primitive.h"

#include "gx/clip.h"
#include "gx/span.h"
#include "gx/transform.h"
#include "gx/vertex.h"

#include <console/gx.h>
#include <console/os.h>

#include <cstring>

namespace {

struct Assembly {
    bool open;
    bool drawn; // the primitive type is one that is drawn
    GXPrimitive primitive;
    u32 expected;
    u32 received;
    bool heldTriangle; // a list's triangle waits in recent[0..2] for the one after it
    GXClipVertex recent[6];
};

constinit Assembly s_assembly{};

bool IsDrawnPrimitive(GXPrimitive primitive) {
    switch (primitive) {
    case GX_QUADS:
    case GX_TRIANGLES:
    case GX_TRIANGLESTRIP:
    case GX_TRIANGLEFAN:
    case GX_LINES:
    case GX_LINESTRIP:
        return true;
    default:
        return false;
    }
}

bool SameVertex(const GXClipVertex& a, const GXClipVertex& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A triangle list's triangles in pairs: when the second is (a, c, d) after (a, b, c), the
// two are the fan of quad a, b, c, d (as a 2-D batch sends its quads), drawn as one.
void CompleteTriangle(u32 n) {
    const GXClipVertex* v = s_assembly.recent;
    if (n % 6 == 2) {
        s_assembly.heldTriangle = true;
    } else if (n % 6 == 5) {
        s_assembly.heldTriangle = false;
        if (SameVertex(v[3], v[0]) && SameVertex(v[4], v[2])) {
            GXDrawQuad(v[0], v[1], v[2], v[5]);
        } else {
            GXDrawTriangle(v[0], v[1], v[2]);
            GXDrawTriangle(v[3], v[4], v[5]);
        }
    }
}

// Draws what vertex n (counted from 0, already in `recent`) completes.
void Complete(u32 n) {
    const GXClipVertex* v = s_assembly.recent;
    switch (s_assembly.primitive) {
    case GX_TRIANGLES:
        CompleteTriangle(n);
        break;
    case GX_QUADS:
        if (n % 4 == 3) {
            GXDrawQuad(v[0], v[1], v[2], v[3]);
        }
        break;
    case GX_TRIANGLESTRIP:
        // Every other triangle runs the other way round; swap two corners to keep the
        // strip's winding.
        if (n >= 2) {
            const GXClipVertex& older = v[(n - 2) % 3];
            const GXClipVertex& previous = v[(n - 1) % 3];
            if (n % 2 == 0) {
                GXDrawTriangle(older, previous, v[n % 3]);
            } else {
                GXDrawTriangle(previous, older, v[n % 3]);
            }
        }
        break;
    case GX_TRIANGLEFAN:
        if (n >= 2) {
            GXDrawTriangle(v[0], v[1 + (n - 1) % 2], v[1 + n % 2]);
        }
        break;
    case GX_LINES:
        if (n % 2 == 1) {
            GXDrawLine(v[0], v[1]);
        }
        break;
    default: // GX_LINESTRIP
        if (n >= 1) {
            GXDrawLine(v[(n - 1) % 2], v[n % 2]);
        }
        break;
    }
}

// Where vertex n is kept until the primitives that use it are drawn.
GXClipVertex& SlotFor(u32 n) {
    switch (s_assembly.primitive) {
    case GX_TRIANGLES:
        return s_assembly.recent[n % 6];
    case GX_TRIANGLESTRIP:
        return s_assembly.recent[n % 3];
    case GX_QUADS:
        return s_assembly.recent[n % 4];
    case GX_TRIANGLEFAN:
        return s_assembly.recent[n == 0 ? 0 : 1 + n % 2];
    default:
        return s_assembly.recent[n % 2];
    }
}

// Transforms each finished vertex of the open primitive and draws what it completes.
void AssembleVertex(const GXVertexInput& vertex) {
    if (!s_assembly.drawn) {
        return;
    }
    const u32 n = s_assembly.received++;
    if (n >= s_assembly.expected) {
        if (n == s_assembly.expected) {
            OSReport("GX: more than the %u vertices GXBegin announced; the rest are ignored\n",
                     s_assembly.expected);
        }
        return;
    }
    GXTransformVertex(vertex, SlotFor(n));
    Complete(n);
}

} // namespace

void GXResetPrimitiveState() {
    s_assembly = Assembly{};
}

void GXBegin(GXPrimitive primitive, GXVtxFmt format, u16 vertexCount) {
    if (s_assembly.open) {
        OSReport("GXBegin: the previous primitive was not ended; ended now\n");
        GXEnd();
    }
    s_assembly.open = true;
    s_assembly.primitive = primitive;
    s_assembly.expected = vertexCount;
    s_assembly.received = 0;
    s_assembly.heldTriangle = false;
    s_assembly.drawn = IsDrawnPrimitive(primitive);
    if (!s_assembly.drawn) {
        OSReport("GXBegin: primitive 0x%02X is not drawn\n", primitive);
    }
    if (!GXOpenVertexStream(format, AssembleVertex)) {
        s_assembly.drawn = false;
    }
    if (s_assembly.drawn) {
        GXPrepareTransform();
        GXPreparePixelPipeline();
    }
}

void GXEnd() {
    if (!s_assembly.open) {
        OSReport("GXEnd: no primitive is open\n");
        return;
    }
    s_assembly.open = false;
    if (s_assembly.heldTriangle) {
        s_assembly.heldTriangle = false;
        GXDrawTriangle(s_assembly.recent[0], s_assembly.recent[1], s_assembly.recent[2]);
    }
    const bool wholeVertex = GXCloseVertexStream();
    if (s_assembly.drawn && (s_assembly.received < s_assembly.expected || !wholeVertex)) {
        OSReport("GXEnd: %u of the %u vertices GXBegin announced were written\n",
                 s_assembly.received, s_assembly.expected);
    }
}
