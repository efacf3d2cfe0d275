#include "parts/RotozoomEffect.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "core/PixelOps.h"
#include "core/TextCompare.h"
#include "parts/TextureSpan.h"

namespace {

constexpr size_t kChunk = 256;

uint32_t toFixed(int32_t value) { return static_cast<uint32_t>(value) << 16; }

// Signed division of a 16.16 distance into `steps` parts.
uint32_t stepOf(uint32_t from, uint32_t to, int32_t steps) {
    return static_cast<uint32_t>(static_cast<int32_t>(to - from) / steps);
}

// The screen edge from one corner towards another, stepped once per row.
TextureSpan edgeBetween(RotozoomEffect::Corner from, RotozoomEffect::Corner to, int32_t rows) {
    uint32_t u = toFixed(from.u), v = toFixed(from.v);
    return {u, v, stepOf(u, toFixed(to.u), rows), stepOf(v, toFixed(to.v), rows)};
}

}  // namespace

RotozoomEffect::RotozoomEffect(const char* texturePath)
    : cornerAngles{static_cast<float>(std::atan2(-160.0, -120.0)), static_cast<float>(std::atan2(160.0, -120.0)),
                   static_cast<float>(std::atan2(-160.0, 120.0)), static_cast<float>(std::atan2(160.0, 120.0))} {
    texture = new Bitmap(256, 256);
    VEX_ImageFactory factory;
    factory.loadInto(texture, texturePath, 256, 256, false, 1);
}

RotozoomEffect::~RotozoomEffect() { delete texture; }

RotozoomEffect::Corner RotozoomEffect::corner(int k) const {
    // The angle sum stays single precision, as the fields are; cos and sin run in double.
    float a = cornerAngles[k] + angle;
    return {static_cast<int32_t>(x + radius * std::cos(static_cast<double>(a))) + 128,
            static_cast<int32_t>(y + radius * std::sin(static_cast<double>(a))) + 128};
}

void RotozoomEffect::apply(Bitmap* target, float, int32_t additive) {
    int32_t width = target->width;
    int32_t height = target->height;
    if (width <= 0 || height <= 0) return;
    TextureSpan left = edgeBetween(corner(0), corner(2), height);
    TextureSpan right = edgeBetween(corner(1), corner(3), height);
    uint32_t texels[kChunk];
    for (int32_t row = 0; row < height; ++row) {
        TextureSpan span{left.u, left.v, stepOf(left.u, right.u, width), stepOf(left.v, right.v, width)};
        uint32_t* out = target->pixels + static_cast<size_t>(row) * width;
        if (additive == 1) {
            for (size_t i = 0; i < static_cast<size_t>(width); i += kChunk) {
                size_t n = std::min(kChunk, width - i);
                sampleSpan(texels, n, span, texture->pixels);
                addRow(out + i, texels, n);
            }
        } else {
            sampleSpan(out, width, span, texture->pixels);
        }
        left.u += left.du;
        left.v += left.dv;
        right.u += right.du;
        right.v += right.dv;
    }
}

void RotozoomEffect::setParameter(const char* name, void* value) {
    if (compareIgnoringCase(name, "radius") == 0)
        radius = *static_cast<const float*>(value);
    else if (compareIgnoringCase(name, "angle") == 0)
        angle = *static_cast<const float*>(value);
    else if (compareIgnoringCase(name, "x") == 0)
        x = *static_cast<const int32_t*>(value);
    else if (compareIgnoringCase(name, "y") == 0)
        y = *static_cast<const int32_t*>(value);
}
