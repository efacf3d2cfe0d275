#include "core/Matrix.h"

#include <cmath>

Matrix::Matrix() { setIdentity(); }

void Matrix::setIdentity() {
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) m[row][col] = row == col ? 1.0 : 0.0;
}

void Matrix::setRotationX(double angle) {
    setIdentity();
    m[1][1] = std::cos(angle);
    m[1][2] = -std::sin(angle);
    m[2][1] = std::sin(angle);
    m[2][2] = std::cos(angle);
}

void Matrix::setRotationY(double angle) {
    setIdentity();
    m[0][0] = std::cos(angle);
    m[0][2] = std::sin(angle);
    m[2][0] = -std::sin(angle);
    m[2][2] = std::cos(angle);
}

void Matrix::setRotationZ(double angle) {
    setIdentity();
    m[0][0] = std::cos(angle);
    m[0][1] = -std::sin(angle);
    m[1][0] = std::sin(angle);
    m[1][1] = std::cos(angle);
}

void Matrix::setTranslation(double x, double y, double z) {
    setIdentity();
    m[3][0] = x;
    m[3][1] = y;
    m[3][2] = z;
}

void Matrix::setScale(double x, double y, double z) {
    setIdentity();
    m[0][0] = x;
    m[1][1] = y;
    m[2][2] = z;
}

Matrix Matrix::multiply(const Matrix& other) const {
    Matrix result;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += m[row][k] * other.m[k][col];
            result.m[row][col] = sum;
        }
    }
    return result;
}

void Matrix::multiplyInPlace(const Matrix& other) { *this = multiply(other); }
