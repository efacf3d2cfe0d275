#include "raster/RenderPolygon.h"

#include <cstring>

#include "raster/FixedPoint.h"

namespace {

// Everything the clip interpolates at one vertex.
struct ClipVertex {
    float x, y, z;
    float coords[3][2];  // image, environment, bump: u and v
    float shade[3];      // red, green, blue
};

// The polygon's coordinate arrays in ClipVertex order; absent arrays are null.
struct CoordinateArrays {
    float* sets[3];
};

CoordinateArrays coordinateArrays(RenderPolygon* p) { return CoordinateArrays{{p->imageCoords, p->envCoords, p->bumpCoords}}; }

ClipVertex load(RenderPolygon* p, int i) {
    ClipVertex v{};
    v.x = p->points[i];
    v.y = p->points[3 + i];
    v.z = p->points[6 + i];
    const CoordinateArrays arrays = coordinateArrays(p);
    for (int set = 0; set < 3; ++set) {
        if (!arrays.sets[set]) continue;
        v.coords[set][0] = arrays.sets[set][i];
        v.coords[set][1] = arrays.sets[set][3 + i];
    }
    // Intensities take part as unsigned numbers.
    if (p->shade)
        for (int c = 0; c < 3; ++c) v.shade[c] = static_cast<float>(static_cast<uint32_t>(p->shade[c * 3 + i]));
    return v;
}

void store(RenderPolygon* p, int i, const ClipVertex& v) {
    p->points[i] = v.x;
    p->points[3 + i] = v.y;
    p->points[6 + i] = v.z;
    const CoordinateArrays arrays = coordinateArrays(p);
    for (int set = 0; set < 3; ++set) {
        if (!arrays.sets[set]) continue;
        arrays.sets[set][i] = v.coords[set][0];
        arrays.sets[set][3 + i] = v.coords[set][1];
    }
    if (p->shade)
        for (int c = 0; c < 3; ++c) p->shade[c * 3 + i] = truncateOrIntMin(v.shade[c]);
}

// The point where the edge from `from` to `to` crosses z = near; its z is near exactly.
ClipVertex cut(const ClipVertex& from, const ClipVertex& to, float near) {
    const float t = (near - from.z) / (to.z - from.z);
    auto lerp = [t](float a, float b) { return a + t * (b - a); };
    ClipVertex v{};
    v.x = lerp(from.x, to.x);
    v.y = lerp(from.y, to.y);
    v.z = near;
    for (int set = 0; set < 3; ++set)
        for (int axis = 0; axis < 2; ++axis) v.coords[set][axis] = lerp(from.coords[set][axis], to.coords[set][axis]);
    for (int c = 0; c < 3; ++c) v.shade[c] = lerp(from.shade[c], to.shade[c]);
    return v;
}

void copySharedFields(const RenderPolygon* polygon, RenderPolygon* scratch) {
    scratch->image = polygon->image;
    scratch->envMap = polygon->envMap;
    scratch->bumpMap = polygon->bumpMap;
    scratch->transpMap = polygon->transpMap;
    scratch->colour = polygon->colour;
    scratch->level = polygon->level;
    scratch->mode = polygon->mode;
    scratch->kind = polygon->kind;
    if (polygon->shade && scratch->shade) std::memcpy(scratch->shade, polygon->shade, 9 * sizeof(int32_t));
}

}  // namespace

ClipResult clipNear(RenderPolygon* polygon, RenderPolygon* scratch, float near) {
    copySharedFields(polygon, scratch);
    const float* z = polygon->points + 6;
    int behindCount = 0;
    for (int i = 0; i < 3; ++i) behindCount += z[i] < near ? 1 : 0;

    ClipResult result;
    if (behindCount == 0) {
        result.first = polygon;
        result.drawFirst = 1;
        return result;
    }
    if (behindCount == 3) return result;

    const ClipVertex v[3] = {load(polygon, 0), load(polygon, 1), load(polygon, 2)};
    if (behindCount == 1) {
        int e = 0;
        while (!(z[e] < near)) ++e;
        const int n = (e + 1) % 3, p = (e + 2) % 3;
        const ClipVertex a = cut(v[n], v[e], near);
        const ClipVertex b = cut(v[e], v[p], near);
        // (B, Vn, Vp) and (Vn, B, A) cover the visible quadrilateral with the same winding.
        store(polygon, e, b);
        store(scratch, 0, v[n]);
        store(scratch, 1, b);
        store(scratch, 2, a);
        result.first = polygon;
        result.second = scratch;
        result.drawFirst = 1;
        result.drawSecond = 1;
        return result;
    }
    int f = 0;
    while (z[f] < near) ++f;
    const int e = (f + 1) % 3, g = (f + 2) % 3;
    store(polygon, e, cut(v[e], v[f], near));
    store(polygon, g, cut(v[f], v[g], near));
    result.first = polygon;
    result.drawFirst = 1;
    return result;
}
