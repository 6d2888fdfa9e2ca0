// The matrix library: orthographic projections onto GX's clip volume, translation,
// scale and concatenation, including products written over an operand.
#include <console/mtx.h>

#include <gtest/gtest.h>

#include <array>

namespace {

using Point = std::array<f32, 3>;

Point Apply(const Mtx m, const Point& p) {
    Point out{};
    for (u32 row = 0; row < 3; ++row) {
        out[row] = m[row][0] * p[0] + m[row][1] * p[1] + m[row][2] * p[2] + m[row][3];
    }
    return out;
}

// Clip coordinates of p (w is 1 for these projections).
Point Project(const Mtx44 m, const Point& p) {
    Point out{};
    for (u32 row = 0; row < 3; ++row) {
        out[row] = m[row][0] * p[0] + m[row][1] * p[1] + m[row][2] * p[2] + m[row][3];
    }
    return out;
}

void ExpectNear(const Point& actual, const Point& expected, const char* what) {
    for (u32 i = 0; i < 3; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-5f) << what << " component " << i;
    }
}

TEST(MtxTest, OrthoMapsTheVolumeOntoTheClipVolume) {
    struct Volume {
        const char* what;
        f32 top, bottom, left, right, nearZ, farZ;
    };
    const Volume volumes[] = {
        {"frame buffer pixels", 0, 480, 0, 640, 0, 1},
        {"movie frame, far behind", 0, 496, 0, 640, 0, -1},
        {"off-centre, y up", 30, -10, -5, 75, 2, 6},
    };
    for (const Volume& v : volumes) {
        Mtx44 m;
        MTXOrtho(m, v.top, v.bottom, v.left, v.right, v.nearZ, v.farZ);
        ExpectNear(Project(m, {v.left, v.top, -v.nearZ}), {-1, 1, -1}, v.what);
        ExpectNear(Project(m, {v.right, v.bottom, -v.farZ}), {1, -1, 0}, v.what);
        EXPECT_EQ(m[3][0], 0.0f);
        EXPECT_EQ(m[3][3], 1.0f) << v.what;
    }
}

TEST(MtxTest, EmptyOrthoVolumeGivesTheIdentity) {
    Mtx44 m;
    MTXOrtho(m, 0, 0, 0, 640, 0, 1);
    for (u32 row = 0; row < 4; ++row) {
        for (u32 column = 0; column < 4; ++column) {
            EXPECT_EQ(m[row][column], row == column ? 1.0f : 0.0f);
        }
    }
}

TEST(MtxTest, IdentityTranslationAndScaleMovePoints) {
    Mtx m;
    MTXIdentity(m);
    ExpectNear(Apply(m, {3, -4, 5}), {3, -4, 5}, "identity");
    MTXTrans(m, 10, 20, -30);
    ExpectNear(Apply(m, {3, -4, 5}), {13, 16, -25}, "translation");
    MTXScale(m, 2, -1, 0.5f);
    ExpectNear(Apply(m, {3, -4, 5}), {6, 4, 2.5f}, "scale");
}

TEST(MtxTest, ConcatAppliesTheRightOperandFirstEvenInPlace) {
    Mtx translate, scale, product;
    MTXTrans(translate, 10, 20, 30);
    MTXScale(scale, 2, 3, 4);
    MTXConcat(translate, scale, product);
    const Point p{1, 1, 1};
    ExpectNear(Apply(product, p), {12, 23, 34}, "scale, then translate");

    Mtx intoLeft, intoRight;
    MTXTrans(intoLeft, 10, 20, 30);
    MTXScale(intoRight, 2, 3, 4);
    MTXConcat(intoLeft, scale, intoLeft);
    MTXConcat(translate, intoRight, intoRight);
    ExpectNear(Apply(intoLeft, p), {12, 23, 34}, "written over the left operand");
    ExpectNear(Apply(intoRight, p), {12, 23, 34}, "written over the right operand");

    MTXConcat(scale, translate, product);
    ExpectNear(Apply(product, p), {22, 63, 124}, "translate, then scale");
}

} // namespace
