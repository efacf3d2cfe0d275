#include "core/Vector.h"

#include <cmath>

#include "core/Matrix.h"

void Vector::set(double newX, double newY, double newZ) {
    x = newX;
    y = newY;
    z = newZ;
    w = 1.0;
}

double Vector::length() const { return std::sqrt(x * x + y * y + z * z); }

Vector Vector::normalize() {
    const double len = length();
    x /= len;
    y /= len;
    z /= len;
    return *this;
}

double Vector::dot(const Vector& other) const { return x * other.x + y * other.y + z * other.z; }

Vector Vector::cross(const Vector& o) const {
    Vector result;
    result.set(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
    return result;
}

Vector Vector::transform(const Matrix& matrix) const {
    const auto& m = matrix.m;
    Vector result;
    result.set(x * m[0][0] + y * m[1][0] + z * m[2][0] + w * m[3][0],
               x * m[0][1] + y * m[1][1] + z * m[2][1] + w * m[3][1],
               x * m[0][2] + y * m[1][2] + z * m[2][2] + w * m[3][2]);
    return result;
}

Vector Vector::add(const Vector& other) {
    set(x + other.x, y + other.y, z + other.z);
    return *this;
}

Vector Vector::subtract(const Vector& other) const {
    Vector result;
    result.set(x - other.x, y - other.y, z - other.z);
    return result;
}

void Vector::setFrom(const Vector& other) { set(other.x, other.y, other.z); }
