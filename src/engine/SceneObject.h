#pragma once
#include <cstdint>

#include "core/Matrix.h"
#include "core/Vector.h"
#include "engine/KeyVector.h"

class Bitmap;
class Camera;
class RenderDriver;
struct RenderPolygon;

// Fog settings a scene hands to its objects when fog is on.
struct FogParameters {
    float fogNear = 0.0f;
    float fogFar = 0.0f;
    uint32_t fogColour = 0;
};

// Base of everything a Scene holds: a pose (optionally driven by key tracks) and the
// object matrix built from it each frame.
class SceneObject {
public:
    static constexpr int32_t TcbCapacity = 200;

    int32_t polygonCount = 0;   // entries returned by the last render
    keyVector positionTrack;
    Vector position;
    keyVector rotationTrack;
    Vector rotation;            // radians about X, Y and Z
    keyVector scaleTrack;
    Vector scale;
    Matrix objectMatrix;
    int32_t staticPose = 1;     // 0: the tracks drive position, rotation and scale
    Key** tcbList;              // TcbCapacity entries, released with the object
    int32_t tcbCount = 0;
    int32_t useSceneSurfaces = 0;   // 1: take the scene's surface library when added

    SceneObject();
    // Releases tcbList and prints "deallocated TCB list \n"; then the three tracks print
    // theirs.
    virtual ~SceneObject();
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // For objects that draw themselves after all polygons; the base draws nothing.
    virtual void draw(Bitmap* target, RenderDriver* driver, Camera* camera, double time,
                      int32_t stamp);
    // The object's triangles for this frame; the count is left in polygonCount. `fog` is
    // null when fog is off. The base yields none.
    virtual RenderPolygon** render(Camera* camera, double time, int32_t stamp,
                                   const FogParameters* fog);
    virtual bool producesPolygons() = 0;
    // A byte property of the object kind (0 for meshes); the pipeline never asks for it.
    virtual uint8_t kindFlag() = 0;
    // Rebuilds the matrices from the pose; the base keeps them as they are.
    virtual void updateMatrices();
};
