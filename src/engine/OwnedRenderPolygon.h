#pragma once
#include <cstdint>

#include "raster/RenderPolygon.h"

// A RenderPolygon together with the arrays its pointers address, allocated once with its
// owner (a SurfacePolygon's record, the scene's clip scratch record).
struct OwnedRenderPolygon : RenderPolygon {
    float pointStore[9] = {};
    int32_t shadeStore[9] = {};
    float imageCoordStore[6] = {};
    float envCoordStore[6] = {};
    float bumpCoordStore[6] = {};

    OwnedRenderPolygon() {
        points = pointStore;
        shade = shadeStore;
        imageCoords = imageCoordStore;
        envCoords = envCoordStore;
        bumpCoords = bumpCoordStore;
    }
    OwnedRenderPolygon(const OwnedRenderPolygon&) = delete;
    OwnedRenderPolygon& operator=(const OwnedRenderPolygon&) = delete;
};
