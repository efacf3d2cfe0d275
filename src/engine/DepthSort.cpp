#include "engine/DepthSort.h"

#include <cstring>
#include <utility>

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
               RenderPolygon** /*clearBucket*/, uint32_t* keyScratch) {
    if (count <= 1) return;
    // Each key travels with its polygon, so it is computed once.
    uint32_t* keys = keyScratch;
    uint32_t* movedKeys = keyScratch + count;
    uint32_t anySet = 0;
    uint32_t allSet = ~0u;
    int32_t digitCount[4][256] = {};
    for (int32_t i = 0; i < count; ++i) {
        const float key = depthKey(list[i]);
        std::memcpy(&keys[i], &key, sizeof key);
        anySet |= keys[i];
        allSet &= keys[i];
        for (int d = 0; d < 4; ++d) ++digitCount[d][(keys[i] >> (8 * d)) & 255u];
    }
    // A pass over a byte that every key shares leaves the order as it is: skip those.
    const uint32_t varying = anySet & ~allSet;

    // Stable passes over bytes, least significant first, larger digits ahead: the result is
    // the stable order of the whole patterns, largest first.
    RenderPolygon** from = list;
    RenderPolygon** to = setBucket;
    for (int d = 0; d < 4; ++d) {
        const int shift = 8 * d;
        if (((varying >> shift) & 255u) == 0) continue;
        int32_t next[256];
        int32_t placed = 0;
        for (int digit = 255; digit >= 0; --digit) {
            next[digit] = placed;
            placed += digitCount[d][digit];
        }
        for (int32_t i = 0; i < count; ++i) {
            const int32_t at = next[(keys[i] >> shift) & 255u]++;
            to[at] = from[i];
            movedKeys[at] = keys[i];
        }
        std::swap(from, to);
        std::swap(keys, movedKeys);
    }
    if (from != list) std::memcpy(list, from, sizeof(RenderPolygon*) * count);
}
