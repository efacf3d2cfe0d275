#include "engine/KeyVector.h"

#include <cmath>
#include <cstdio>

keyVector::~keyVector() { std::printf("deallocated a keyVector \n"); }

void keyVector::addKey(const Vector& value, double time, int32_t interpolation) {
    Key key;
    key.value.setFrom(value);
    key.time = time;
    key.interpolation = interpolation;
    keys.push_back(key);
}

const Key& keyVector::clampedKey(int32_t index) const {
    if (index < 0) return keys.front();
    if (index >= count()) return keys.back();
    return keys[index];
}

Vector keyVector::evaluate(double t) const {
    Vector result;
    result.set(0.0, 0.0, 0.0);
    const int32_t n = count();
    if (n == 0) return result;
    // Outside the keys every segment formula divides by a zero time step; hold the end
    // values instead.
    if (t < keys.front().time || n == 1) {
        result.setFrom(keys.front().value);
        return result;
    }
    if (t > keys.back().time) {
        result.setFrom(keys.back().value);
        return result;
    }

    // The last segment that holds t, so that an inner key time starts the next segment.
    int32_t segment = 0;
    for (int32_t i = 0; i + 1 < n; ++i)
        if (keys[i].time <= t && t <= keys[i + 1].time) segment = i;

    const Key& start = clampedKey(segment);
    const Key& end = clampedKey(segment + 1);
    if (end.interpolation == Key::Linear) {
        // Whole frames only; the fraction is a single-precision quotient of two integers.
        const float frames = static_cast<float>(std::trunc(std::trunc(t) - start.time));
        const float span = static_cast<float>(std::trunc(end.time - start.time));
        if (span == 0.0f) {
            result.setFrom(start.value);
            return result;
        }
        const double f = frames / span;
        result.set(start.value.x + (end.value.x - start.value.x) * f,
                   start.value.y + (end.value.y - start.value.y) * f,
                   start.value.z + (end.value.z - start.value.z) * f);
        return result;
    }
    if (end.interpolation != Key::Spline) return result;

    Vector tcb;
    tcb.set(0.0, 0.0, 0.0);
    return hermite(clampedKey(segment - 1), start, end, clampedKey(segment + 2), tcb, t);
}

Vector keyVector::hermite(const Key& p0, const Key& p1, const Key& p2, const Key& p3,
                          const Vector& tcb, double t) {
    const double tension = tcb.x, continuity = tcb.y, bias = tcb.z;
    const double step = p2.time - p1.time;
    Vector result;
    if (step == 0.0) {
        result.setFrom(p1.value);
        return result;
    }
    const double s = (t - p1.time) / step;

    const Vector in1 = p1.value.subtract(p0.value);
    const Vector mid = p2.value.subtract(p1.value);
    const Vector out2 = p3.value.subtract(p2.value);

    // The outgoing tangent is dropped whole when the x values of p0 and p1 coincide; at
    // the first segment p0 is p1, which makes the spline start at rest.
    Vector t1;
    t1.set(0.0, 0.0, 0.0);
    if (p1.value.x != p0.value.x) {
        const double a = (1 - tension) * (1 + continuity) * (1 + bias) / 2;
        const double b = (1 - tension) * (1 - continuity) * (1 - bias) / 2;
        t1.set(a * in1.x + b * mid.x, a * in1.y + b * mid.y, a * in1.z + b * mid.z);
    }
    const double c = (1 - tension) * (1 - continuity) * (1 + bias) / 2;
    const double d = (1 - tension) * (1 + continuity) * (1 - bias) / 2;
    Vector t2;
    t2.set(c * mid.x + d * out2.x, c * mid.y + d * out2.y, c * mid.z + d * out2.z);

    const double s2 = s * s, s3 = s2 * s;
    const double h1 = 2 * s3 - 3 * s2 + 1;
    const double h2 = 3 * s2 - 2 * s3;
    const double h3 = s3 - 2 * s2 + s;
    const double h4 = s3 - s2;
    result.set(h1 * p1.value.x + h2 * p2.value.x + h3 * t1.x + h4 * t2.x,
               h1 * p1.value.y + h2 * p2.value.y + h3 * t1.y + h4 * t2.y,
               h1 * p1.value.z + h2 * p2.value.z + h3 * t1.z + h4 * t2.z);
    return result;
}
