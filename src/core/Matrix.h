#pragma once

// 4 x 4 row-major matrix of doubles for row vectors (v' = v * M): the translation sits in
// row 3, and in A * B the transformation A is applied first. Every setter overwrites the
// whole matrix.
class Matrix {
public:
    double m[4][4];

    Matrix();   // identity

    void setIdentity();
    // Rotations in radians; signs as seen by a row vector: setRotationZ(pi/2) takes
    // (1, 0, 0) to (0, -1, 0).
    void setRotationX(double angle);
    void setRotationY(double angle);
    void setRotationZ(double angle);
    void setTranslation(double x, double y, double z);
    void setScale(double x, double y, double z);
    Matrix multiply(const Matrix& other) const;   // this * other
    void multiplyInPlace(const Matrix& other);    // this = this * other
};
