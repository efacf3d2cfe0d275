#pragma once
#include <cstdint>

#include "parts/ImageEffect.h"

class Bitmap;

struct TunnelSetup {
    int32_t width;            // table width in pixels
    int32_t height;           // table height in pixels
    const char* texturePath;  // 256 x 256 texture picture
    int32_t mode;             // 1 and 2: swirls; anything else: the tunnel
};

// A lookup-table effect: every screen pixel holds a (angle, depth) texture coordinate
// pair, and a time shift scrolls both through a 256 x 256 texture.
class TunnelEffect : public ImageEffect {
public:
    // width * height entries, angle in the low byte and depth in the high byte, so an
    // entry is directly the index of its texel.
    uint16_t* table = nullptr;
    Bitmap* texture = nullptr;
    int32_t tableWidth = 0;
    int32_t tableHeight = 0;

    explicit TunnelEffect(const TunnelSetup& setup);
    ~TunnelEffect() override;
    TunnelEffect(const TunnelEffect&) = delete;
    TunnelEffect& operator=(const TunnelEffect&) = delete;

    // Target pixel i gets texel (table[i] + offset) & 0xFFFF; a non-zero `additive`
    // adds it with saturation instead of storing it.
    void apply(Bitmap* target, float shift, int32_t additive) override;
    void setParameter(const char* name, void* value) override;

    // Fills a row-major table with the screen centre at (width / 2, height / 2).
    static void fillTable(uint16_t* table, int32_t width, int32_t height, int32_t mode);
    // The index offset for a shift: whole steps times 257 moves both bytes by the same
    // amount, the angle byte carrying into the depth byte.
    static uint16_t offsetForShift(float shift);
};
