#include "engine/MeshSurfaceObject.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/ConsoleWait.h"
#include "engine/Surface.h"
#include "engine/SurfacePolygon.h"

meshSurfaceObject::meshSurfaceObject()
    : modelVertices(new Vertex*[MaxVertices]()),
      viewVertices(new Vertex*[MaxVertices]()),
      polygons(new SurfacePolygon*[MaxPolygons]()),
      polygonEnabled(new uint8_t[MaxPolygons]),
      output(new RenderPolygon*[MaxOutput]()) {
    std::memset(polygonEnabled, 0xFF, MaxPolygons);
}

meshSurfaceObject::~meshSurfaceObject() {
    std::printf("about to execute meshSurfaceObject destructor \n");
    waitForConsoleKey();
    std::printf("about to delete a mesh object \n");
    waitForConsoleKey();
    for (int32_t i = 0; i < polygonCount; ++i) delete polygons[i];
    delete[] polygons;
    delete[] polygonEnabled;
    for (int32_t i = 0; i < vertexCount; ++i) {
        delete modelVertices[i];
        delete viewVertices[i];
    }
    delete[] modelVertices;
    delete[] viewVertices;
    delete[] output;
    delete ownedSurfaces;
}

int32_t meshSurfaceObject::addVertex(Vertex* vertex) {
    if (vertexCount > MaxVertices - 1) {
        std::printf("blahg!!! overtepping max vertices !!!\n");
        waitForConsoleKey();
        return -1;
    }
    modelVertices[vertexCount] = vertex;
    Vertex* view = new Vertex;
    view->position.setFrom(vertex->position);
    viewVertices[vertexCount] = view;
    ++vertexCount;
    return 0;
}

Vertex* meshSurfaceObject::modelVertex(int32_t i) const {
    return (i >= 0 && i < MaxVertices) ? modelVertices[i] : nullptr;
}

Vertex* meshSurfaceObject::viewVertex(int32_t i) const {
    return (i >= 0 && i < MaxVertices) ? viewVertices[i] : nullptr;
}

bool meshSurfaceObject::addPolygon(SurfacePolygon* polygon) {
    if (polygonCount >= MaxPolygons) return false;
    polygons[polygonCount++] = polygon;
    polygon->computeFaceNormal();
    return true;
}

void meshSurfaceObject::computeNormals() {
    for (int32_t i = 0; i < vertexCount; ++i) viewVertices[i]->normal.set(0.0, 0.0, 0.0);
    // Accumulate in the view normals: vertex identity is pointer identity, and a polygon
    // that names a vertex twice still counts once.
    for (int32_t i = 0; i < polygonCount; ++i) {
        SurfacePolygon* polygon = polygons[i];
        polygon->computeFaceNormal();
        for (int32_t k = 0; k < polygon->count; ++k) {
            Vertex* vertex = polygon->vertices[k];
            bool repeated = false;
            for (int32_t j = 0; j < k; ++j) repeated = repeated || polygon->vertices[j] == vertex;
            if (vertex && !repeated) vertex->normal.add(polygon->faceNormal);
        }
    }
    for (int32_t i = 0; i < vertexCount; ++i) {
        Vector normal = viewVertices[i]->normal;
        // An unused vertex (or one whose faces cancel out) keeps a zero normal.
        const double length = normal.length();
        if (length > 0.0 && std::isfinite(length))
            normal.normalize();
        else
            normal.set(0.0, 0.0, 0.0);
        viewVertices[i]->normal.setFrom(normal);
        modelVertices[i]->normal.setFrom(normal);
    }
}

void meshSurfaceObject::updateMatrices() {
    Matrix rotationPart;
    Matrix factor;
    factor.setRotationX(-rotation.x);
    rotationPart.multiplyInPlace(factor);
    factor.setRotationY(-rotation.y);
    rotationPart.multiplyInPlace(factor);
    factor.setRotationZ(-rotation.z);
    rotationPart.multiplyInPlace(factor);
    normalMatrix = rotationPart;

    objectMatrix = rotationPart;
    factor.setScale(scale.x, scale.y, scale.z);
    objectMatrix.multiplyInPlace(factor);
    factor.setTranslation(position.x, position.y, position.z);
    objectMatrix.multiplyInPlace(factor);
}
