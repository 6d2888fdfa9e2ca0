// krCamera: the fixed perspective camera (90-degree horizontal field of view, y scaled
// by 1.3, near plane 1, far plane 3000) placed by localToWorld. Select loads its view and
// projection into kRender; the world transform is left alone. A value; main thread.
#pragma once

#include <kelvo/render/krmatrix.h>

namespace Kelvo_lib {

class krCamera {
public:
    krCamera();

    void Select() const;

    krMatrix localToWorld;     // rigid: rotation in the upper 3 x 3, position in row 3
    krMatrix projectionMatrix; // for row vectors
};

} // namespace Kelvo_lib
