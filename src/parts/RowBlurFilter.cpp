#include "parts/RowBlurFilter.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "core/Bitmap.h"
#include "core/TextCompare.h"
#include "parts/WindowDivider.h"

namespace {

// Running per-channel sums of the pixels in the window.
struct ChannelSums {
    uint32_t red = 0, green = 0, blue = 0;

    void add(uint32_t pixel) {
        red += (pixel >> 16) & 0xFF;
        green += (pixel >> 8) & 0xFF;
        blue += pixel & 0xFF;
    }
    void remove(uint32_t pixel) {
        red -= (pixel >> 16) & 0xFF;
        green -= (pixel >> 8) & 0xFF;
        blue -= pixel & 0xFF;
    }
    uint32_t mean(const WindowDivider& divide) const { return divide(red) << 16 | divide(green) << 8 | divide(blue); }
};

// One row of the target: the first `valid` source pixels of the row, the rest read as
// black, averaged over windows of `length` pixels walked in the direction `step` (+1 or -1).
void blurRow(uint32_t* out, const uint32_t* in, int32_t width, int32_t valid, uint32_t length, int32_t step) {
    auto pixelAt = [&](int32_t k) { return k < valid ? in[k] : 0u; };
    ChannelSums sums;
    WindowDivider divide(length);
    int32_t k = step > 0 ? 0 : width - 1;
    for (uint32_t walked = 0; walked < static_cast<uint32_t>(width); ++walked, k += step) {
        sums.add(pixelAt(k));
        if (walked >= length) sums.remove(pixelAt(k - step * static_cast<int32_t>(length)));
        out[k] = sums.mean(divide);
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
    uint32_t length = strength > 0 ? static_cast<uint32_t>(strength) : 0u - static_cast<uint32_t>(strength);
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
    if (compareIgnoringCase(name, "SOURCE") == 0)
        source = static_cast<Bitmap*>(value);
    else if (compareIgnoringCase(name, "VAL") == 0)
        strength = *static_cast<const int32_t*>(value);
}
