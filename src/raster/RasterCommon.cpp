#include "raster/RasterCommon.h"

#include <cmath>
#include <utility>

void projectToScreen(float* points, int32_t width, int32_t height) {
    const float focal = static_cast<float>(width);
    const float centreX = static_cast<float>(width / 2);
    const float centreY = static_cast<float>(height / 2);
    for (int i = 0; i < 3; ++i) {
        const float x = points[i], y = points[3 + i], z = points[6 + i];
        points[i] = focal * x / z + centreX;
        points[3 + i] = centreY - focal * y / z;
    }
}

bool triviallyRejected(const float* points, int32_t width, int32_t height) {
    const float* xs = points;
    const float* ys = points + 3;
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    if (xs[0] > w && xs[1] > w && xs[2] > w) return true;
    if (xs[0] < 0 && xs[1] < 0 && xs[2] < 0) return true;
    if (ys[0] > h && ys[1] > h && ys[2] > h) return true;
    if (ys[0] < 0 && ys[1] < 0 && ys[2] < 0) return true;
    return false;
}

bool projectAndAccept(float* points, int32_t width, int32_t height) {
    projectToScreen(points, width, height);
    // A vertex at z = 0 or a projection beyond the float range has no screen position.
    for (int i = 0; i < 6; ++i)
        if (!std::isfinite(points[i])) return false;
    return !triviallyRejected(points, width, height);
}

bool facesAway(const float* points) {
    const float* xs = points;
    const float* ys = points + 3;
    return (ys[0] - ys[2]) * (xs[1] - xs[0]) - (xs[0] - xs[2]) * (ys[1] - ys[0]) > 0;
}

VertexOrder orderByScreenY(const float* points) {
    const float* ys = points + 3;
    VertexOrder o{0, 1, 2};
    auto order = [ys](int& first, int& second) {
        if (ys[first] > ys[second]) std::swap(first, second);
    };
    order(o.a, o.b);
    order(o.b, o.c);
    order(o.a, o.c);
    order(o.a, o.b);
    return o;
}
