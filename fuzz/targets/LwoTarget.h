#pragma once
// The object reader as the 3D part uses it: parse, build the mesh with its own surface list,
// compute normals, then draw one frame of it in a scene through the software render driver.
// Layout: rotation about x, y and z (one byte each, in steps of 1/40 radian), a time byte,
// then the object file.
// Returns false when the built mesh breaks the model's promises.
#include <cstdlib>

#include "../InputCursor.h"
#include "TexturePictures.h"
#include "assets/LwoReader.h"
#include "core/Bitmap.h"
#include "engine/MeshSurfaceObject.h"
#include "engine/RenderDriver.h"
#include "engine/Scene.h"
#include "engine/SurfacePolygon.h"

inline bool runLwoTarget(const uint8_t* data, size_t size) {
    static const TexturePictures pictures;
    InputCursor input(data, size);
    const double rotationX = input.takeByte() / 40.0;
    const double rotationY = input.takeByte() / 40.0;
    const double rotationZ = input.takeByte() / 40.0;
    const double time = input.takeByte() / 8.0;

    LwoReader reader;
    reader.parseObject(input.rest(), input.restSize());
    if (reader.object)
        for (auto& surface : reader.object->surfaces) {
            pictures.substitute(surface->colourTexture.imageName);
            pictures.substitute(surface->transparencyTexture.imageName);
        }
    meshSurfaceObject* mesh = reader.buildMesh(nullptr);
    if (!mesh) return false;
    bool sound = mesh->vertexCount >= 0 && mesh->vertexCount <= meshSurfaceObject::MaxVertices &&
                 mesh->polygonCount >= 0 && mesh->polygonCount <= meshSurfaceObject::MaxPolygons;
    for (int32_t i = 0; sound && i < mesh->polygonCount; ++i) {
        const SurfacePolygon* polygon = mesh->polygons[i];
        if (!polygon || polygon->count != 3) sound = false;
    }
    if (sound) {
        mesh->computeNormals();
        mesh->computeNormals();

        Bitmap frame(512, 384);
        NewRenderDriver driver(&frame);
        Scene scene;
        mesh->position.set(12.0, 4.0, 0.0);
        mesh->rotation.set(rotationX, rotationY, rotationZ);
        scene.addObject(mesh);
        scene.nearPlane = 1.0f;
        scene.setCameraPosition(0.0, 0.0, -60.0);
#ifdef DEMO_FUZZ_SCENE_RENDER
        scene.render(&frame, &driver, time, 1);
#else
        mesh->updateMatrices();
        mesh->render(scene.camera(0), time, 0, nullptr);
#endif
    }
    delete mesh;
    return sound;
}
