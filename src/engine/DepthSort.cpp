#include "engine/DepthSort.h"

#include <cstring>

#include "raster/RenderPolygon.h"

float depthKey(const RenderPolygon* polygon) {
    const float* z = polygon->points + 6;
    float key = z[0] + z[1] + z[2];
    // -0.0 would read as the largest pattern of all and jump ahead of every other polygon.
    if (key <= 0.0f) key = 0.0f;
    if (polygon->mode == BlendMode::TranslucentFirst) key = -key;
    return key;
}

void depthSort(RenderPolygon** list, int32_t count, RenderPolygon** setBucket,
               RenderPolygon** clearBucket, uint32_t* keyScratch) {
    // Each key travels with its polygon, so it is computed once.
    uint32_t* keys = keyScratch;
    uint32_t* setKeys = keyScratch + count;
    uint32_t* clearKeys = keyScratch + 2 * count;
    uint32_t anySet = 0;
    uint32_t allSet = ~0u;
    for (int32_t i = 0; i < count; ++i) {
        const float key = depthKey(list[i]);
        std::memcpy(&keys[i], &key, sizeof key);
        anySet |= keys[i];
        allSet &= keys[i];
    }
    // A pass over a bit that every key shares leaves the order as it is: skip those.
    const uint32_t varying = anySet & ~allSet;

    for (int bit = 0; bit < 32; ++bit) {
        if (!((varying >> bit) & 1u)) continue;
        int32_t setCount = 0;
        int32_t clearCount = 0;
        for (int32_t i = 0; i < count; ++i) {
            if ((keys[i] >> bit) & 1u) {
                setKeys[setCount] = keys[i];
                setBucket[setCount++] = list[i];
            } else {
                clearKeys[clearCount] = keys[i];
                clearBucket[clearCount++] = list[i];
            }
        }
        // Entries with the bit set go ahead; both groups keep their order.
        std::memcpy(list, setBucket, sizeof(RenderPolygon*) * setCount);
        std::memcpy(list + setCount, clearBucket, sizeof(RenderPolygon*) * clearCount);
        std::memcpy(keys, setKeys, sizeof(uint32_t) * setCount);
        std::memcpy(keys + setCount, clearKeys, sizeof(uint32_t) * clearCount);
    }
}
