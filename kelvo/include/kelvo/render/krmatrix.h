// The render layer's 4x4 matrix operations: row-major kmMatrix values used with row
// vectors (translation in row 3). Values only; any thread.
#pragma once

#include <kelvo/math/kmmatrix.h>

namespace Kelvo_lib {

using krMatrix = kmMatrix<4, 4, float, kSIMD_WII>;

inline float& krElement(krMatrix& m, unsigned int row, unsigned int col) {
    return m.m_element[row * 4 + col];
}
inline float krElement(const krMatrix& m, unsigned int row, unsigned int col) {
    return m.m_element[row * 4 + col];
}

inline krMatrix krMatrixIdentity() {
    krMatrix m;
    for (unsigned int i = 0; i < 4; ++i) {
        krElement(m, i, i) = 1.0f;
    }
    return m;
}

// (a x b)[r][c] = sum over k of a[r][k] b[k][c].
inline krMatrix krMatrixMultiply(const krMatrix& a, const krMatrix& b) {
    krMatrix product;
    for (unsigned int r = 0; r < 4; ++r) {
        for (unsigned int c = 0; c < 4; ++c) {
            float sum = 0.0f;
            for (unsigned int k = 0; k < 4; ++k) {
                sum += krElement(a, r, k) * krElement(b, k, c);
            }
            krElement(product, r, c) = sum;
        }
    }
    return product;
}

inline krMatrix krMatrixTranspose(const krMatrix& m) {
    krMatrix transposed;
    for (unsigned int r = 0; r < 4; ++r) {
        for (unsigned int c = 0; c < 4; ++c) {
            krElement(transposed, r, c) = krElement(m, c, r);
        }
    }
    return transposed;
}

} // namespace Kelvo_lib
