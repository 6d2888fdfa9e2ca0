// Small fixed-size float matrices, row-major: 1x3 is a 3-vector (x, y, z) with distance
// and rotation, 4x4 the renderer's transform with its view basis (LookAt), 1x4 a plain
// 4-vector. Values only, no allocation, any thread. Single-precision arithmetic; square
// roots, sines and cosines are taken in double and rounded back. Zero-length vectors are
// never divided by: they stay as they are.
#pragma once

#include <cmath>

namespace Kelvo_lib {

// Selects this implementation of the matrix operations.
struct kSIMD_WII {};

template <unsigned int rows, unsigned int cols, typename T>
struct MatrixElements {
    T m_element[rows * cols];
};

template <unsigned int rows, unsigned int cols, typename T, typename SIMD>
class kmMatrix : public MatrixElements<rows, cols, T> {};

template <>
class kmMatrix<1, 3, float, kSIMD_WII> : public MatrixElements<1, 3, float> {
public:
    kmMatrix() : kmMatrix(0.0f, 0.0f, 0.0f) {}
    kmMatrix(float x, float y, float z) : MatrixElements{{x, y, z}} {}

    // Component 0 (x), 1 (y) or 2 (z); no bound check.
    float& operator()(unsigned int i) { return m_element[i]; }
    float operator()(unsigned int i) const { return m_element[i]; }

    float Distance(const kmMatrix& other) const {
        const float dx = m_element[0] - other.m_element[0];
        const float dy = m_element[1] - other.m_element[1];
        const float dz = m_element[2] - other.m_element[2];
        return static_cast<float>(
            std::sqrt(static_cast<double>(0.0f + dx * dx + dy * dy + dz * dz)));
    }

    // Rotates in place by a's angles in radians: about X, then Y, then Z.
    void Rotate(const kmMatrix& a) {
        const float sx = Sine(a.m_element[0]), cx = Cosine(a.m_element[0]);
        const float sy = Sine(a.m_element[1]), cy = Cosine(a.m_element[1]);
        const float sz = Sine(a.m_element[2]), cz = Cosine(a.m_element[2]);
        const float x = m_element[0], y = m_element[1], z = m_element[2];
        const float y1 = y * cx - z * sx;
        const float z1 = y * sx + z * cx;
        const float x2 = x * cy + z1 * sy;
        const float z2 = z1 * cy - x * sy;
        m_element[0] = x2 * cz - y1 * sz;
        m_element[1] = x2 * sz + y1 * cz;
        m_element[2] = z2;
    }

    kmMatrix operator-(const kmMatrix& other) const {
        return {m_element[0] - other.m_element[0], m_element[1] - other.m_element[1],
                m_element[2] - other.m_element[2]};
    }

    kmMatrix Cross(const kmMatrix& b) const {
        return {m_element[1] * b.m_element[2] - m_element[2] * b.m_element[1],
                m_element[2] * b.m_element[0] - m_element[0] * b.m_element[2],
                m_element[0] * b.m_element[1] - m_element[1] * b.m_element[0]};
    }

    float Length() const { return Distance(kmMatrix()); }

    // This vector divided by its length; a zero-length vector is returned as it is.
    kmMatrix Normalised() const {
        const float length = Length();
        if (length == 0.0f) {
            return *this;
        }
        return {m_element[0] / length, m_element[1] / length, m_element[2] / length};
    }

private:
    static float Sine(float angle) {
        return static_cast<float>(std::sin(static_cast<double>(angle)));
    }
    static float Cosine(float angle) {
        return static_cast<float>(std::cos(static_cast<double>(angle)));
    }
};

template <>
class kmMatrix<4, 4, float, kSIMD_WII> : public MatrixElements<4, 4, float> {
public:
    using Vector = kmMatrix<1, 3, float, kSIMD_WII>;

    kmMatrix() : MatrixElements{} {}

    // The view basis from the eye VRP, the up vector VUP and the point looked at: rows
    // side, up and forward (each of unit length unless zero), then the eye with a 1.
    void LookAt(const Vector& VRP, const Vector& VUP, const Vector& target) {
        const Vector dir = target - VRP;
        const Vector forward = dir.Normalised();
        const Vector side = VUP.Cross(dir).Normalised();
        const Vector up = forward.Cross(side).Normalised();
        SetRow(0, side, 0.0f);
        SetRow(1, up, 0.0f);
        SetRow(2, forward, 0.0f);
        SetRow(3, VRP, 1.0f);
    }

private:
    void SetRow(unsigned int row, const Vector& v, float w) {
        float* out = &m_element[row * 4];
        out[0] = v(0);
        out[1] = v(1);
        out[2] = v(2);
        out[3] = w;
    }
};

// Degrees to radians with pi/180 as a single-precision constant.
inline float kmDeg2Rad(float degrees) {
    return degrees * 0.017453292f;
}

} // namespace Kelvo_lib
