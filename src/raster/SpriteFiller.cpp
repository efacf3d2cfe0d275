// drawSprite: an additive, screen-aligned picture scaled by distance.
#include "core/Bitmap.h"
#include "raster/FixedPoint.h"
#include "raster/PixelOperators.h"
#include "raster/RenderDriver.h"

namespace {

// Below this width a sprite is a single white dot.
constexpr int32_t kDotTargetWidth = 170;

bool inside(int64_t x, int64_t y, int32_t width, int32_t height) {
    return x >= 0 && x < width && y >= 0 && y < height;
}

}  // namespace

void NewRenderDriver::drawSprite(const SpriteRecord* sprite, Bitmap* target, int32_t stamp) {
    const int32_t w = target->width, h = target->height;
    // The depth buffer is indexed with the target's width: a target larger than the
    // driver's would read past it.
    if (static_cast<int64_t>(w) * h > static_cast<int64_t>(width) * height) return;
    const double z = sprite->z;
    if (z <= -0.05) return;
    int64_t sw = truncateOrIntMin(sprite->sizeX * w / z);
    int64_t sh = truncateOrIntMin(sprite->sizeY * w / z);
    const int64_t cx = static_cast<int64_t>(truncateOrIntMin(sprite->x * w / z)) + (w >> 1);
    const int64_t cy = (h >> 1) - static_cast<int64_t>(truncateOrIntMin(sprite->y * w / z));
    const double key = stamp + 1.0 / z;

    if (w < kDotTargetWidth) {
        if (inside(cx, cy, w, h) && depthBuffer[cy * w + cx] <= key) target->pixels[cy * w + cx] = 0xFFFFFFu;
        return;
    }
    if (sw < 2 || sh < 2 || z < 2.0) return;
    int64_t left = cx - (sw >> 1), top = cy - (sh >> 1);
    if (left >= w - 1 || top >= h - 1 || left + sw < 1 || top + sh < 1) return;
    const int64_t centreX = left + (sw >> 1), centreY = top + (sh >> 1);
    if (!inside(centreX, centreY, w, h) || depthBuffer[centreY * w + centreX] > key) return;

    const Bitmap* picture = sprite->picture;
    const int64_t pictureWidth = picture->width;
    if (pictureWidth != 256 && pictureWidth != 64) return;
    const int64_t uStep = pictureWidth * 65536 / sw;
    const int64_t vStep = static_cast<int64_t>(picture->height) * 65536 / sh;
    int64_t uStart = 0, v = 0;
    if (left < 0) {
        uStart = -left * uStep;
        sw += left;
        left = 0;
    }
    if (top < 0) {
        v = -top * vStep;
        sh += top;
        top = 0;
    }
    if (left + sw > w) sw = w - left;
    if (top + sh > h) sh = h - top;
    for (int64_t y = top; y < top + sh; ++y, v += vStep) {
        uint32_t* row = target->pixels + y * w;
        const uint32_t* pictureRow = picture->pixels + (v >> 16) * pictureWidth;
        int64_t u = uStart;
        for (int64_t x = left; x < left + sw; ++x, u += uStep) row[x] = saturatingAdd(row[x], pictureRow[u >> 16]);
    }
}
