// Math: the Mersenne Twister against the standard library's, and vector and view-basis
// operations against hand-computed values.
#include <kelvo/math/kmmatrix.h>
#include <kelvo/math/kmrandom.h>

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace Kelvo_lib;

namespace {

using Vector = kmMatrix<1, 3, float, kSIMD_WII>;
using Matrix = kmMatrix<4, 4, float, kSIMD_WII>;

constexpr float kHalfPi = 1.5707963f;

const u32 kSeeds[] = {5489u, 0u, 1u, 42u, 19650218u, 0xFFFFFFFFu};

TEST(MersenneTwisterTest, MatchesTheReferenceGeneratorForEverySeed) {
    EXPECT_EQ(kmRandomMersenneTwister(5489u).draw(), 3499211612u);
    for (const u32 seed : kSeeds) {
        kmRandomMersenneTwister generator(seed);
        std::mt19937 reference(seed);
        for (int i = 0; i < 10000; ++i) {
            ASSERT_EQ(generator.draw(), reference()) << "seed " << seed << " draw " << i;
        }
    }
}

TEST(MersenneTwisterTest, RandGivesTheLowFifteenBits) {
    kmRandomMersenneTwister generator(5489u);
    std::mt19937 reference(5489u);
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(generator.rand(), reference() & 0x7FFFu) << i;
    }
}

TEST(MersenneTwisterTest, RandIntScalesTheDrawAndCoversItsRange) {
    kmRandomMersenneTwister generator(99u);
    std::mt19937 reference(99u);
    std::set<int> seenOfSix;
    for (int i = 0; i < 10000; ++i) {
        const float scaled = (6.0f / 4294967296.0f) * static_cast<float>(reference());
        const int value = generator.randInt(6);
        ASSERT_EQ(value, static_cast<int>(scaled)) << i;
        seenOfSix.insert(value);
    }
    EXPECT_EQ(seenOfSix, (std::set<int>{0, 1, 2, 3, 4, 5}));
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(generator.randInt(1), 0);
    }
    EXPECT_EQ(generator.randInt(0), 0);
    EXPECT_EQ(generator.randInt(-3), 0);
}

// Draw 8198 of seed 293 lies within 128 of 2^32, where the float scaling reaches n.
TEST(MersenneTwisterTest, RandIntStaysBelowNForADrawThatRoundsUp) {
    constexpr u32 kSeed = 293u;
    constexpr int kDrawsBefore = 8197;
    std::mt19937 reference(kSeed);
    reference.discard(kDrawsBefore);
    ASSERT_GE(reference(), 0xFFFFFF80u);
    for (const int n : {1, 2, 6, 1000, 0x7FFFFFFF}) {
        kmRandomMersenneTwister generator(kSeed);
        for (int i = 0; i < kDrawsBefore; ++i) {
            generator.draw();
        }
        EXPECT_EQ(generator.randInt(n), n - 1) << n;
    }
}

TEST(MersenneTwisterTest, RandFloatStaysInTheUnitRange) {
    kmRandomMersenneTwister generator(3u);
    for (int i = 0; i < 10000; ++i) {
        const float value = generator.randFloat();
        ASSERT_GE(value, 0.0f);
        ASSERT_LE(value, 1.0f);
    }
}

void ExpectVector(const Vector& actual, float x, float y, float z) {
    EXPECT_NEAR(actual(0), x, 1e-6f);
    EXPECT_NEAR(actual(1), y, 1e-6f);
    EXPECT_NEAR(actual(2), z, 1e-6f);
}

TEST(VectorTest, RotatesAboutXThenYThenZ) {
    struct Case {
        Vector start, angles;
        float x, y, z;
    };
    const Case cases[] = {
        {{1, 0, 0}, {0, 0, kHalfPi}, 0, 1, 0},
        {{0, 1, 0}, {kHalfPi, 0, 0}, 0, 0, 1},
        {{1, 2, 3}, {0, kHalfPi, 0}, 3, 2, -1},
        // X first takes (0, 1, 0) to (0, 0, 1), which Y then takes to (1, 0, 0).
        {{0, 1, 0}, {kHalfPi, kHalfPi, 0}, 1, 0, 0},
        {{2, -1, 0.5f}, {0, 0, 0}, 2, -1, 0.5f},
    };
    for (const Case& c : cases) {
        Vector v = c.start;
        v.Rotate(c.angles);
        ExpectVector(v, c.x, c.y, c.z);
    }
}

TEST(VectorTest, MeasuresDistance) {
    const Vector a(1, 2, 3);
    EXPECT_EQ(a.Distance(a), 0.0f);
    EXPECT_EQ(a.Distance(Vector(4, 6, 3)), 5.0f);
    EXPECT_FLOAT_EQ(Vector(0, 0, 0).Distance(Vector(1, 1, 1)), 1.7320508f);
}

TEST(VectorTest, ConvertsDegreesToRadians) {
    EXPECT_EQ(kmDeg2Rad(0.0f), 0.0f);
    EXPECT_NEAR(kmDeg2Rad(90.0f), 1.5707963f, 1e-6f);
    EXPECT_NEAR(kmDeg2Rad(180.0f), 3.1415927f, 1e-6f);
    EXPECT_NEAR(kmDeg2Rad(-45.0f), -0.7853982f, 1e-6f);
}

void ExpectRows(const Matrix& m, const float (&rows)[16]) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(m.m_element[i], rows[i], 1e-6f) << "element " << i;
    }
}

// Starts from a matrix full of 7s, so every element LookAt leaves shows.
Matrix LookAt(const Vector& eye, const Vector& up, const Vector& target) {
    Matrix m;
    for (float& element : m.m_element) {
        element = 7.0f;
    }
    m.LookAt(eye, up, target);
    return m;
}

TEST(MatrixTest, LookAtBuildsSideUpForwardAndEyeRows) {
    ExpectRows(LookAt({1, 2, 3}, {0, 1, 0}, {1, 2, -1}), {-1, 0, 0, 0, //
                                                          0, 1, 0, 0,  //
                                                          0, 0, -1, 0, //
                                                          1, 2, 3, 1});
    ExpectRows(LookAt({0, 0, 0}, {0, 1, 0}, {3, 0, 4}), {0.8f, 0, -0.6f, 0, //
                                                         0, 1, 0, 0,        //
                                                         0.6f, 0, 0.8f, 0,  //
                                                         0, 0, 0, 1});
}

TEST(MatrixTest, LookAtWithTheEyeOnTheTargetKeepsZeroAxes) {
    ExpectRows(LookAt({1, 2, 3}, {0, 1, 0}, {1, 2, 3}), {0, 0, 0, 0, //
                                                         0, 0, 0, 0, //
                                                         0, 0, 0, 0, //
                                                         1, 2, 3, 1});
}

} // namespace
