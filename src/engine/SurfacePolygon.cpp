#include "engine/SurfacePolygon.h"

#include <cmath>
#include <cstdio>

SurfacePolygon::SurfacePolygon() : pInfo(new OwnedRenderPolygon) {}

SurfacePolygon::~SurfacePolygon() {
    // The coordinate arrays live inside the polygon; the lines mark the same steps.
    std::printf("del surfpoly {\n");
    std::printf("about to try imageCoords \n");
    std::printf("about to try envCoords \n");
    std::printf("about to try bumpCoords \n");
    std::printf("about to try transpCoords \n");
    std::printf("about to try pInfo \n");
    delete pInfo;
    std::printf("} del surfpoly \n");
}

void SurfacePolygon::addVertex(Vertex* vertex) {
    if (count < MaxVertices) vertices[count++] = vertex;
}

Vertex* SurfacePolygon::vertex(int32_t i) const {
    return (i >= 0 && i < count) ? vertices[i] : nullptr;
}

void SurfacePolygon::setUV(int32_t kind, int32_t i, float u, float v) {
    float* coords = nullptr;
    switch (kind) {
        case ImageUV: coords = imageCoords; break;
        case EnvironmentUV: coords = envCoords; break;
        case BumpUV: coords = bumpCoords; break;
        case TransparencyUV: coords = transpCoords; break;
        default: return;
    }
    if (i < 0 || i >= count) {
        std::printf("GAAAAH! trying to set UV coords in a SurfacePolygon for a nonexisting vertex \n");
        return;
    }
    coords[2 * i] = u;
    coords[2 * i + 1] = v;
}

void SurfacePolygon::computeFaceNormal() {
    if (count < MaxVertices) return;
    const Vector& p0 = vertices[0]->position;
    const Vector& p1 = vertices[1]->position;
    const Vector& p2 = vertices[2]->position;
    Vector normal = p1.subtract(p0).cross(p2.subtract(p1));
    // Zero rather than NaN: the normal feeds integer texture coordinates later.
    const double length = normal.length();
    if (length > 0.0 && std::isfinite(length))
        normal.normalize();
    else
        normal.set(0.0, 0.0, 0.0);
    faceNormal.setFrom(normal);
}
