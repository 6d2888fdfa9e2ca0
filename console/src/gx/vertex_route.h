// Which routine transforms the open primitive's vertices: the 2-D one, which transform
// chooses at GXBegin when the colour channels and the coordinate generation allow it, or
// the general one. The channel and coordinate generation settings, below transform, drop
// the rest of an open primitive to the general routine. Read for every vertex, so it is
// kept inline. Main thread only.
#pragma once

namespace gx_vertex_route {
inline constinit bool s_twoD = false;
} // namespace gx_vertex_route

// Chosen by transform at GXBegin (and cleared by GXInit).
inline void GXChooseVertexRoute(bool twoD) {
    gx_vertex_route::s_twoD = twoD;
}

inline bool GXVertexRouteIsTwoD() {
    return gx_vertex_route::s_twoD;
}

// Called by the channel and coordinate generation settings: the rest of the open
// primitive takes the general routine.
inline void GXVertexStateChanged() {
    gx_vertex_route::s_twoD = false;
}
