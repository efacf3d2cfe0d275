#include "engine/DepthSort.h"

#include <cstring>

#include "raster/RenderPolygon.h"

namespace {

uint32_t keyBits(const RenderPolygon* polygon) {
    const float key = depthKey(polygon);
    uint32_t bits;
    std::memcpy(&bits, &key, sizeof bits);
    return bits;
}

}  // namespace

float depthKey(const RenderPolygon* polygon) {
    const float* z = polygon->points + 6;
    float key = z[0] + z[1] + z[2];
    // -0.0 would read as the largest pattern of all and jump ahead of every other polygon.
    if (key <= 0.0f) key = 0.0f;
    if (polygon->mode == 1) key = -key;
    return key;
}

void depthSort(RenderPolygon** list, int32_t count, RenderPolygon** setBucket,
               RenderPolygon** clearBucket) {
    for (int bit = 0; bit < 32; ++bit) {
        int32_t setCount = 0;
        int32_t clearCount = 0;
        for (int32_t i = 0; i < count; ++i) {
            RenderPolygon* polygon = list[i];
            if ((keyBits(polygon) >> bit) & 1u)
                setBucket[setCount++] = polygon;
            else
                clearBucket[clearCount++] = polygon;
        }
        // Entries with the bit set go ahead; both groups keep their order.
        std::memcpy(list, setBucket, sizeof(RenderPolygon*) * setCount);
        std::memcpy(list + setCount, clearBucket, sizeof(RenderPolygon*) * clearCount);
    }
}
