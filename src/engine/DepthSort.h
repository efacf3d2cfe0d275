#pragma once
#include <cstdint>

struct RenderPolygon;

// The sort key of one polygon: the single-precision sum of its three camera-space z
// values, 0 when not above 0, negated for mode 1 so that those polygons come first.
float depthKey(const RenderPolygon* polygon);

// Orders list[0..count) back to front: by the keys' bit patterns read as unsigned, largest
// first. A stable radix sort of four byte passes, least significant byte first, so equal
// keys keep their order. The bucket arrays must hold count entries each and keyScratch
// 3 * count (the byte passes use only setBucket and 2 * count keys).
void depthSort(RenderPolygon** list, int32_t count, RenderPolygon** setBucket,
               RenderPolygon** clearBucket, uint32_t* keyScratch);
