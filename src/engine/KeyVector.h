#pragma once
#include <cstdint>
#include <vector>

#include "core/Vector.h"

// One key of a track: the value, its frame number and how the segment that ends here is
// interpolated.
struct Key {
    enum : int32_t { Spline = 0, Linear = 1 };

    Vector value;
    double time = 0.0;
    int32_t interpolation = Spline;   // any value other than Spline or Linear yields zero
};

// A key track animating one Vector quantity over time (in frames). Keys are kept in
// increasing time order by the caller.
class keyVector {
public:
    std::vector<Key> keys;

    keyVector() = default;
    ~keyVector();   // prints "deallocated a keyVector \n"
    keyVector(const keyVector&) = delete;
    keyVector& operator=(const keyVector&) = delete;

    void addKey(const Vector& value, double time, int32_t interpolation);
    int32_t count() const { return static_cast<int32_t>(keys.size()); }

    // Value of the track at frame t (w = 1). Outside the key times the nearest end key's
    // value holds; an empty track yields the zero vector.
    Vector evaluate(double t) const;

    // Kochanek-Bartels segment between p1 and p2 with neighbours p0 and p3; tension,
    // continuity and bias in tcb.x, tcb.y and tcb.z.
    static Vector hermite(const Key& p0, const Key& p1, const Key& p2, const Key& p3,
                          const Vector& tcb, double t);

private:
    const Key& clampedKey(int32_t index) const;
};
