#pragma once

class Matrix;

// Homogeneous point or direction in double precision. Row vector: transformed as v * M.
// Every operation that builds or rewrites a vector sets w = 1; only a default-constructed
// vector keeps w = 0, which makes it a direction that translation leaves alone.
class Vector {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double w = 0.0;

    Vector() = default;

    void set(double newX, double newY, double newZ);
    double length() const;
    // Divides by the length in place (a zero vector is not guarded against) and returns
    // the result.
    Vector normalize();
    double dot(const Vector& other) const;
    Vector cross(const Vector& other) const;
    // x' = x*m00 + y*m10 + z*m20 + w*m30 (likewise y', z'); the fourth column is never
    // evaluated, so w' = 1.
    Vector transform(const Matrix& matrix) const;
    // Adds other's x, y, z in place and returns the result.
    Vector add(const Vector& other);
    Vector subtract(const Vector& other) const;
    void setFrom(const Vector& other);
};

// A mesh vertex: object- or camera-space position and its normal, both zero at first.
struct Vertex {
    Vector position;
    Vector normal;
};
