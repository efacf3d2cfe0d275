#include "parts/RowBlurFilter.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <strings.h>

#include "core/Bitmap.h"

namespace {

// One row of the target: `valid` source pixels (the rest read as black), averaged over
// windows of `length` pixels walked in the direction `step` (+1 or -1).
void blurRow(uint32_t* out, const uint32_t* in, int32_t width, int32_t valid, int64_t length, int32_t step) {
    int64_t sums[3] = {0, 0, 0};
    auto pixelAt = [&](int32_t k) { return k < valid ? in[k] : 0u; };
    auto accumulate = [&](uint32_t pixel, int64_t sign) {
        sums[2] += sign * ((pixel >> 16) & 0xFF);
        sums[1] += sign * ((pixel >> 8) & 0xFF);
        sums[0] += sign * (pixel & 0xFF);
    };
    int32_t k = step > 0 ? 0 : width - 1;
    for (int64_t walked = 0; walked < width; ++walked, k += step) {
        accumulate(pixelAt(k), 1);
        if (walked >= length) accumulate(pixelAt(static_cast<int32_t>(k - step * length)), -1);
        out[k] = static_cast<uint32_t>(sums[2] / length) << 16 | static_cast<uint32_t>(sums[1] / length) << 8 |
                 static_cast<uint32_t>(sums[0] / length);
    }
}

}  // namespace

RowBlurFilter::RowBlurFilter(Bitmap* source_, int32_t strength_) : source(source_), strength(strength_) {}

void RowBlurFilter::apply(Bitmap* target, float, int32_t) {
    bool covers = source->width >= target->width && source->height >= target->height;
    if (strength == 0) {
        if (!covers) std::memset(target->pixels, 0, sizeof(uint32_t) * target->width * target->height);
        source->copyInto(target, 0, 0);
        return;
    }
    int64_t length = strength > 0 ? strength : -static_cast<int64_t>(strength);
    int32_t step = strength > 0 ? 1 : -1;
    int32_t valid = std::min(source->width, target->width);
    for (int32_t row = 0; row < target->height; ++row) {
        uint32_t* out = target->pixels + static_cast<size_t>(row) * target->width;
        if (row < source->height)
            blurRow(out, source->pixels + static_cast<size_t>(row) * source->width, target->width, valid, length, step);
        else
            blurRow(out, nullptr, target->width, 0, length, step);
    }
}

void RowBlurFilter::setParameter(const char* name, void* value) {
    if (strcasecmp(name, "SOURCE") == 0)
        source = static_cast<Bitmap*>(value);
    else if (strcasecmp(name, "VAL") == 0)
        strength = *static_cast<const int32_t*>(value);
}
