#pragma once
#include <cstdint>

class Bitmap;

// A full-frame effect: renders into a target, replacing it or adding onto it with
// per-byte saturation.
class ImageEffect {
public:
    virtual void apply(Bitmap* target, float time, int32_t additive) = 0;
    // `name` is compared ignoring letter case; `value` points at the new value.
    virtual void setParameter(const char* name, void* value) = 0;
    virtual ~ImageEffect() = default;
};
