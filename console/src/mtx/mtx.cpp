// Identity, orthographic projection, translation, scale and concatenation.
#include <console/mtx.h>
#include <console/os.h>

namespace {

void Identity44(Mtx44 m) {
    for (u32 row = 0; row < 4; ++row) {
        for (u32 column = 0; column < 4; ++column) {
            m[row][column] = row == column ? 1.0f : 0.0f;
        }
    }
}

} // namespace

void MTXIdentity(Mtx m) {
    MTXScale(m, 1.0f, 1.0f, 1.0f);
}

void MTXOrtho(Mtx44 m, f32 top, f32 bottom, f32 left, f32 right, f32 nearZ, f32 farZ) {
    Identity44(m);
    if (right == left || top == bottom || farZ == nearZ) {
        OSReport("MTXOrtho: empty volume (%g..%g, %g..%g, %g..%g); identity used\n", left, right,
                 top, bottom, nearZ, farZ);
        return;
    }
    const f32 width = 1.0f / (right - left);
    const f32 height = 1.0f / (top - bottom);
    const f32 depth = 1.0f / (farZ - nearZ);
    m[0][0] = 2.0f * width;
    m[0][3] = -(right + left) * width;
    m[1][1] = 2.0f * height;
    m[1][3] = -(top + bottom) * height;
    m[2][2] = -depth;
    m[2][3] = -farZ * depth;
}

void MTXTrans(Mtx m, f32 x, f32 y, f32 z) {
    MTXIdentity(m);
    m[0][3] = x;
    m[1][3] = y;
    m[2][3] = z;
}

void MTXScale(Mtx m, f32 x, f32 y, f32 z) {
    const f32 diagonal[3] = {x, y, z};
    for (u32 row = 0; row < 3; ++row) {
        for (u32 column = 0; column < 4; ++column) {
            m[row][column] = row == column ? diagonal[row] : 0.0f;
        }
    }
}

void MTXConcat(const Mtx a, const Mtx b, Mtx ab) {
    // The fourth row of both is (0, 0, 0, 1).
    Mtx product;
    for (u32 row = 0; row < 3; ++row) {
        for (u32 column = 0; column < 4; ++column) {
            const f32 translation = column == 3 ? a[row][3] : 0.0f;
            product[row][column] = a[row][0] * b[0][column] + a[row][1] * b[1][column] +
                                   a[row][2] * b[2][column] + translation;
        }
    }
    for (u32 row = 0; row < 3; ++row) {
        for (u32 column = 0; column < 4; ++column) {
            ab[row][column] = product[row][column];
        }
    }
}
