#include <gtest/gtest.h>

#include <cmath>

#include "core/Matrix.h"
#include "core/Vector.h"

namespace {

const double kPi = 3.14159265358979323846;

Vector makeVector(double x, double y, double z) {
    Vector v;
    v.set(x, y, z);
    return v;
}

void expectVector(const Vector& v, double x, double y, double z) {
    EXPECT_NEAR(v.x, x, 1e-12);
    EXPECT_NEAR(v.y, y, 1e-12);
    EXPECT_NEAR(v.z, z, 1e-12);
}

TEST(VectorMath, TranslationMovesPointsButNotDirections) {
    Matrix translation;
    translation.setTranslation(10, 20, 30);
    Vector point = makeVector(1, 2, 3);
    expectVector(point.transform(translation), 11, 22, 33);

    Vector direction;   // never set: w stays 0
    direction.x = 1;
    direction.y = 2;
    direction.z = 3;
    const Vector moved = direction.transform(translation);
    expectVector(moved, 1, 2, 3);
    EXPECT_EQ(moved.w, 1.0);
}

TEST(VectorMath, RotationSignsFollowRowVectors) {
    Matrix rotation;
    rotation.setRotationZ(kPi / 2);
    expectVector(makeVector(1, 0, 0).transform(rotation), 0, -1, 0);
    rotation.setRotationX(kPi / 2);
    expectVector(makeVector(0, 1, 0).transform(rotation), 0, 0, -1);
    rotation.setRotationY(kPi / 2);
    expectVector(makeVector(1, 0, 0).transform(rotation), 0, 0, 1);
    // Setters overwrite: no trace of the earlier rotations remains.
    rotation.setScale(2, 3, 4);
    expectVector(makeVector(1, 1, 1).transform(rotation), 2, 3, 4);
}

TEST(VectorMath, ProductAppliesLeftFactorFirst) {
    Matrix translation, rotation;
    translation.setTranslation(1, 0, 0);
    rotation.setRotationZ(kPi / 2);
    const Vector origin = makeVector(0, 0, 0);
    expectVector(origin.transform(translation.multiply(rotation)), 0, -1, 0);
    expectVector(origin.transform(rotation.multiply(translation)), 1, 0, 0);

    Matrix inPlace = translation;
    inPlace.multiplyInPlace(rotation);
    expectVector(origin.transform(inPlace), 0, -1, 0);
}

TEST(VectorMath, ProductsAndLengths) {
    expectVector(makeVector(1, 0, 0).cross(makeVector(0, 1, 0)), 0, 0, 1);

    Vector a = makeVector(1, 2, 3);
    Vector b = makeVector(4, 5, 6);
    b.w = 100;
    EXPECT_EQ(a.dot(b), 32.0);

    Vector c = makeVector(3, 0, 4);
    EXPECT_EQ(c.length(), 5.0);
    const Vector unit = c.normalize();
    expectVector(unit, 0.6, 0, 0.8);
    expectVector(c, 0.6, 0, 0.8);

    Vector sum = makeVector(1, 1, 1);
    sum.w = 0;
    const Vector returned = sum.add(makeVector(1, 2, 3));
    expectVector(sum, 2, 3, 4);
    expectVector(returned, 2, 3, 4);
    EXPECT_EQ(sum.w, 1.0);
    expectVector(makeVector(5, 5, 5).subtract(makeVector(1, 2, 3)), 4, 3, 2);
}

}  // namespace
