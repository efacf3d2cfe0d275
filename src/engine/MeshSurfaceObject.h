#pragma once
#include <cstdint>

#include "core/Matrix.h"
#include "core/Vector.h"
#include "engine/SceneObject.h"

class SurfaceList;
class SurfacePolygon;
class Camera;

// A textured triangle mesh. Keeps an object-space copy of every vertex and a view copy
// rewritten each frame; polygons point at the view copies. Owns its vertices, polygons
// and the surface list it was built with (ownedSurfaces), not the list it draws with.
class meshSurfaceObject : public SceneObject {
public:
    static constexpr int32_t MaxVertices = 50000;
    static constexpr int32_t MaxPolygons = 25000;
    static constexpr int32_t MaxOutput = 10000;

    Vertex** modelVertices;
    Vertex** viewVertices;
    int32_t vertexCount = 0;
    SurfacePolygon** polygons;
    uint8_t* polygonEnabled;   // 0 skips the polygon in the pipeline
    // Polygons stored. It hides SceneObject::polygonCount, the number of records the last
    // render returned, which the scene reads through its SceneObject pointers.
    int32_t polygonCount = 0;
    Matrix normalMatrix;       // rotation part of the object matrix
    RenderPolygon** output;    // MaxOutput entries, refilled by render
    SurfaceList* surfaces = nullptr;
    SurfaceList* ownedSurfaces = nullptr;   // a list made for this mesh, destroyed with it

    meshSurfaceObject();
    // Prints its two lines with a key wait after each, destroys the polygons, the vertices
    // and ownedSurfaces, then the scene-object part prints its lines.
    ~meshSurfaceObject() override;

    // Takes ownership of vertex as model vertex vertexCount and adds its view copy;
    // result 0. At the limit: prints "blahg!!! overtepping max vertices !!!\n", waits for
    // a key and returns -1 (the caller keeps the vertex).
    int32_t addVertex(Vertex* vertex);
    Vertex* modelVertex(int32_t i) const;
    Vertex* viewVertex(int32_t i) const;
    // Stores the polygon and computes its face normal; false (caller keeps it) when full.
    bool addPolygon(SurfacePolygon* polygon);
    // Face normals of all polygons, then every used vertex's normal as the normalised sum
    // of the face normals of the polygons that contain it.
    void computeNormals();

    // Rotation X, Y, Z by the negated angles, then scale, then translation.
    void updateMatrices() override;
    // The mesh pipeline: transform into the camera's space, light, fill one record per
    // enabled polygon with a surface. time, stamp and fog are not used.
    RenderPolygon** render(Camera* camera, double time, int32_t stamp,
                           const FogParameters* fog) override;
    bool producesPolygons() override { return true; }
    uint8_t kindFlag() override { return 0; }

private:
    void fillRecord(SurfacePolygon* polygon);
};
