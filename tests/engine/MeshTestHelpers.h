#pragma once
#include <gtest/gtest.h>

#include "engine/MeshSurfaceObject.h"
#include "engine/SurfacePolygon.h"

// Adds a vertex at (x, y, z) to the mesh and returns its view copy.
inline Vertex* addPoint(meshSurfaceObject& mesh, double x, double y, double z) {
    Vertex* vertex = new Vertex;
    vertex->position.set(x, y, z);
    mesh.addVertex(vertex);
    return mesh.viewVertex(mesh.vertexCount - 1);
}

// Adds a triangle of three view vertices with the given surface.
inline SurfacePolygon* addTriangle(meshSurfaceObject& mesh, Vertex* a, Vertex* b, Vertex* c,
                                   Surface* surface) {
    SurfacePolygon* polygon = new SurfacePolygon;
    polygon->addVertex(a);
    polygon->addVertex(b);
    polygon->addVertex(c);
    polygon->surface = surface;
    mesh.addPolygon(polygon);
    return polygon;
}

// Discards what is printed from start() until it goes out of scope; declared before the
// objects whose destructors would flood the test log.
class StdoutSink {
public:
    void start() {
        testing::internal::CaptureStdout();
        active = true;
    }
    ~StdoutSink() {
        if (active) testing::internal::GetCapturedStdout();
    }

private:
    bool active = false;
};
