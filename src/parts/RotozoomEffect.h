#pragma once
#include <cstdint>

#include "parts/ImageEffect.h"

class Bitmap;

// Maps a rotated, scaled and shifted rectangle of a 256 x 256 tiling texture onto the
// whole target, stepping the texture coordinates in 16.16 fixed point.
class RotozoomEffect : public ImageEffect {
public:
    Bitmap* texture = nullptr;
    // Screen corners seen from the centre of a 240 x 320 box: top-left, top-right,
    // bottom-left, bottom-right.
    float cornerAngles[4];
    float radius = 100.0f;  // texels from the centre to each corner
    float angle = 0.0f;     // rotation in radians
    int32_t x = 0;          // texture-space shift of the centre along u
    int32_t y = 0;          // and along v

    explicit RotozoomEffect(const char* texturePath);
    ~RotozoomEffect() override;
    RotozoomEffect(const RotozoomEffect&) = delete;
    RotozoomEffect& operator=(const RotozoomEffect&) = delete;

    // `time` is not used; `additive` equal to 1 adds with saturation, anything else stores.
    void apply(Bitmap* target, float time, int32_t additive) override;
    // "radius" and "angle" read a float, "x" and "y" a 32-bit integer; case is ignored.
    void setParameter(const char* name, void* value) override;

    struct Corner {
        int32_t u;
        int32_t v;
    };
    // Texture coordinates of corner k (0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right).
    Corner corner(int k) const;
};
