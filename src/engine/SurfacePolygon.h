#pragma once
#include <cstdint>

#include "core/Vector.h"
#include "engine/OwnedRenderPolygon.h"

class Surface;

// A triangle of a mesh. Its vertices are the mesh's view vertices; its surface is shared
// and not owned (see Surface). Coordinate arrays hold (u, v) pairs per vertex in texels.
class SurfacePolygon {
public:
    enum : int32_t { ImageUV = 0, EnvironmentUV = 1, BumpUV = 2, TransparencyUV = 3 };
    static constexpr int32_t MaxVertices = 3;

    Vertex* vertices[MaxVertices] = {};
    int32_t count = 0;
    Vector faceNormal;    // unit normal in object space
    Vector worldNormal;   // faceNormal turned by the object's rotation, every frame
    Surface* surface = nullptr;
    uint32_t litColour = 0;
    float imageCoords[6] = {};
    float envCoords[6] = {};
    float bumpCoords[6] = {};
    float transpCoords[6] = {};
    OwnedRenderPolygon* pInfo;   // owned; the record the pipeline fills

    SurfacePolygon();
    // Prints the "del surfpoly" lines; the surface is left to its owner.
    ~SurfacePolygon();
    SurfacePolygon(const SurfacePolygon&) = delete;
    SurfacePolygon& operator=(const SurfacePolygon&) = delete;

    // Appends a vertex; a fourth and later ones are dropped silently.
    void addVertex(Vertex* vertex);
    // vertices[i] for 0 <= i < count, else null.
    Vertex* vertex(int32_t i) const;
    // Stores (u, v) for vertex i in the coordinate array chosen by `kind` (ImageUV ..
    // TransparencyUV; other kinds do nothing). A vertex index outside the polygon prints
    // "GAAAAH! trying to set UV coords in a SurfacePolygon for a nonexisting vertex \n".
    void setUV(int32_t kind, int32_t i, float u, float v);
    // faceNormal = normalize((p1 - p0) x (p2 - p1)); a degenerate triangle gets the zero
    // vector instead of a non-finite one.
    void computeFaceNormal();
};
