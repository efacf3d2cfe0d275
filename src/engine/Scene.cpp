#include "engine/Scene.h"

#include "engine/MeshSurfaceObject.h"
#include "engine/Surface.h"

Scene::Scene()
    : surfaceLibrary(new SurfaceList),
      cameras(new Camera[CameraCount]),
      polygonList(new RenderPolygon*[MaxFramePolygons]()),
      sortBuckets{new RenderPolygon*[MaxFramePolygons](), new RenderPolygon*[MaxFramePolygons]()},
      sortKeys(new uint32_t[3 * MaxFramePolygons]()) {}

Scene::~Scene() {
    delete[] sortKeys;
    delete[] sortBuckets[1];
    delete[] sortBuckets[0];
    delete[] polygonList;
    delete[] cameras;
    delete surfaceLibrary;
}

int32_t Scene::addObject(SceneObject* object) {
    if (objectCount >= MaxObjects) return -1;
    if (object->useSceneSurfaces == 1) {
        // Only meshes carry a surface list; the flag is meaningless on other objects.
        if (auto* mesh = dynamic_cast<meshSurfaceObject*>(object)) mesh->surfaces = surfaceLibrary;
    }
    objects[objectCount++] = object;
    return 0;
}

void Scene::setCameraPosition(double x, double y, double z) {
    cameras[currentCamera].position.set(x, y, z);
}

Camera* Scene::camera(int32_t i) {
    if (static_cast<uint32_t>(i) < static_cast<uint32_t>(cameraCount)) return &cameras[i];
    return nullptr;
}
