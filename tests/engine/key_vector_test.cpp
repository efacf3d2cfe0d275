#include <gtest/gtest.h>

#include "engine/KeyVector.h"

namespace {

Vector at(double x) {
    Vector v;
    v.set(x, 0, 0);
    return v;
}

TEST(KeyVector, LinearCutsTimeToWholeFrames) {
    keyVector track;
    track.addKey(at(0), 0, Key::Linear);
    track.addKey(at(10), 10, Key::Linear);
    EXPECT_NEAR(track.evaluate(4.9).x, 4.0, 1e-6);
    EXPECT_NEAR(track.evaluate(10).x, 10.0, 1e-6);
    EXPECT_EQ(track.evaluate(4.9).w, 1.0);
}

TEST(KeyVector, LinearFractionIsASinglePrecisionQuotient) {
    keyVector track;
    track.addKey(at(0), 0, Key::Linear);
    track.addKey(at(3), 3, Key::Linear);
    // 1 / 3 in single precision is a little above a third; the product stays in double.
    const double x = track.evaluate(1.5).x;
    EXPECT_EQ(x, 3.0 * static_cast<double>(1.0f / 3.0f));
    EXPECT_NE(x, 1.0);
}

TEST(KeyVector, SplineTangentsFollowClampedNeighbours) {
    keyVector two;
    two.addKey(at(0), 0, Key::Spline);
    two.addKey(at(10), 10, Key::Spline);
    EXPECT_DOUBLE_EQ(two.evaluate(5).x, 4.375);

    keyVector three;
    three.addKey(at(0), 0, Key::Spline);
    three.addKey(at(10), 10, Key::Spline);
    three.addKey(at(20), 20, Key::Spline);
    EXPECT_DOUBLE_EQ(three.evaluate(15).x, 15.625);
    // At an inner key the segment starting there wins and yields the key's value.
    EXPECT_DOUBLE_EQ(three.evaluate(10).x, 10.0);
}

TEST(KeyVector, OutgoingTangentDroppedWhenXRepeats) {
    // p0.x equals p1.x, so the whole outgoing tangent is zero even though y differs.
    Key p0, p1, p2, p3;
    p0.value.set(0, 0, 0);
    p1.value.set(0, 10, 0);
    p2.value.set(0, 20, 0);
    p3.value.set(0, 30, 0);
    p0.time = 0;
    p1.time = 10;
    p2.time = 20;
    p3.time = 30;
    Vector tcb;
    tcb.set(0, 0, 0);
    // T1 = 0, T2 = (0, 10, 0): 0.5*10 + 0.5*20 + (-0.125)*10
    EXPECT_DOUBLE_EQ(keyVector::hermite(p0, p1, p2, p3, tcb, 15).y, 13.75);
}

TEST(KeyVector, TensionContinuityAndBiasWeighTheirOwnDifferences) {
    // Every weight differs: a = 0.15625, b = 0.28125 (outgoing), c = 0.09375, d = 0.46875
    // (incoming); swapping any pair, or the tangents, changes both results.
    Key p0, p1, p2, p3;
    p0.value.set(1, 4, 0);
    p1.value.set(2, 0, 0);
    p2.value.set(6, 2, 0);
    p3.value.set(14, 2, 0);
    p0.time = 0;
    p1.time = 10;
    p2.time = 20;
    p3.time = 30;
    Vector tcb;
    tcb.set(0.5, 0.25, -0.5);
    const Vector result = keyVector::hermite(p0, p1, p2, p3, tcb, 15);
    // x: T1 = 1.28125, T2 = 4.125; y: T1 = -0.0625, T2 = 0.1875; weights 0.5, 0.5, 0.125, -0.125.
    EXPECT_DOUBLE_EQ(result.x, 3.64453125);
    EXPECT_DOUBLE_EQ(result.y, 0.96875);
    EXPECT_EQ(result.w, 1.0);
}

TEST(KeyVector, OtherFlagsAndDegenerateTracks) {
    keyVector track;
    track.addKey(at(5), 0, Key::Spline);
    track.addKey(at(10), 10, 2);
    const Vector zero = track.evaluate(3);
    EXPECT_EQ(zero.x, 0.0);
    EXPECT_EQ(zero.w, 1.0);

    // Outside the keys the end values hold instead of a division by zero.
    keyVector linear;
    linear.addKey(at(2), 1, Key::Linear);
    linear.addKey(at(8), 4, Key::Linear);
    EXPECT_EQ(linear.evaluate(-3).x, 2.0);
    EXPECT_EQ(linear.evaluate(9).x, 8.0);

    keyVector empty;
    EXPECT_EQ(empty.evaluate(1).x, 0.0);
}

TEST(KeyVector, DestructionMessage) {
    testing::internal::CaptureStdout();
    { keyVector track; }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "deallocated a keyVector \n");
}

}  // namespace
