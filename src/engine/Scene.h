#pragma once
#include <cstdint>

#include "engine/Camera.h"
#include "engine/OwnedRenderPolygon.h"

class Bitmap;
class NewRenderDriver;
class SceneObject;
class SurfaceList;

// What an effect builds to show 3D objects: up to 100 objects (not owned), four cameras,
// the library of surfaces shared by its meshes (owned, with its surfaces), the render
// settings and the per-frame work areas of the pipeline.
class Scene {
public:
    static constexpr int32_t MaxObjects = 100;
    static constexpr int32_t CameraCount = 4;
    static constexpr int32_t MaxFramePolygons = 8000;

    SceneObject* objects[MaxObjects] = {};
    SceneObject* drawList[MaxObjects] = {};
    SurfaceList* surfaceLibrary;
    int32_t objectCount = 0;
    int32_t drawCount = 0;
    Camera* cameras;
    int32_t cameraCount = CameraCount;
    int32_t currentCamera = 0;
    uint8_t fogEnabled = 0;
    // Read only when fogEnabled is 1; an effect that turns fog on sets them.
    float fogNear = 0.0f;
    float fogFar = 0.0f;
    uint32_t fogColour = 0;
    uint8_t allKinds = 1;    // 0: draw only PolygonKind::Perspective and PerspectiveEnv
    uint8_t depthSort = 1;
    float nearPlane = 5.0f;
    int32_t timeScale = 15;  // animation frames per second
    RenderPolygon** polygonList;   // MaxFramePolygons entries
    RenderPolygon** sortBuckets[2];
    uint32_t* sortKeys;            // 3 * MaxFramePolygons: keys of the list and of both buckets
    int32_t frameStamp = 0;
    OwnedRenderPolygon clipScratch;

    Scene();
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Appends the object (result 0), or returns -1 when the scene is full. An object with
    // useSceneSurfaces 1 switches to the scene's surface library.
    int32_t addObject(SceneObject* object);
    void setCameraPosition(double x, double y, double z);
    // Camera i, or null when i is not below cameraCount (compared as unsigned).
    Camera* camera(int32_t i);

    // Animates, transforms, orders and draws every object into target for one frame.
    void render(Bitmap* target, NewRenderDriver* driver, double time, uint8_t clearDepth);
};
