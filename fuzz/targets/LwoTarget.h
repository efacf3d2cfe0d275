#pragma once
// The object reader as the 3D part uses it: parse, build the mesh with its own surface list,
// compute normals, then draw one frame of it in a scene through the software render driver.
// Layout: rotation about x, y and z (one byte each, in steps of 1/40 radian), a time byte
// whose low bit dresses the object as the 3D part does (one surface with image, environment
// and bump textures, coordinates from the vertex normals), then the object file.
// Returns false when the built mesh breaks the model's promises.
#include <cstdlib>

#include "../InputCursor.h"
#include "TexturePictures.h"
#include "assets/LwoReader.h"
#include "core/Bitmap.h"
#include "engine/MeshSurfaceObject.h"
#include "engine/PolygonTexture.h"
#include "engine/Scene.h"
#include "engine/Surface.h"
#include "engine/SurfacePolygon.h"
#include "raster/RenderDriver.h"

// A texture slot with a 256 x 256 picture of its own.
inline PolygonTexture* fuzzTexture(uint32_t seed) {
    PolygonTexture* texture = new PolygonTexture;
    texture->image = new Bitmap(256, 256);
    for (int32_t i = 0; i < 256 * 256; ++i) texture->image->pixels[i] = uint32_t(i) * seed;
    texture->loadedImage = texture->image;
    return texture;
}

// The 3D part's dressing: one surface for every polygon, coordinates from vertex normals.
inline void dressAsThePartDoes(meshSurfaceObject* mesh, Surface* surface) {
    surface->texture = fuzzTexture(0x010203);
    surface->environment = fuzzTexture(0x030201);
    surface->bump = fuzzTexture(0x00010001);
    surface->flags = Surface::ColourTexture | Surface::EnvironmentMap | Surface::BumpMap;
    for (int32_t i = 0; i < mesh->polygonCount; ++i) {
        SurfacePolygon* polygon = mesh->polygons[i];
        polygon->surface = surface;
        for (int32_t k = 0; k < 3; ++k) {
            const Vector& normal = polygon->vertices[k]->normal;
            const float u = static_cast<float>(normal.x * 127 + 128);
            const float v = static_cast<float>(normal.y * 127 + 128);
            polygon->setUV(SurfacePolygon::ImageUV, k, u, v);
            polygon->setUV(SurfacePolygon::BumpUV, k, u, v);
        }
    }
}


inline bool runLwoTarget(const uint8_t* data, size_t size) {
    static const TexturePictures pictures;
    InputCursor input(data, size);
    const double rotationX = input.takeByte() / 40.0;
    const double rotationY = input.takeByte() / 40.0;
    const double rotationZ = input.takeByte() / 40.0;
    const uint8_t timeByte = input.takeByte();
    const double time = timeByte / 8.0;
    const bool dressed = timeByte & 1;

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
    Surface partSurface;
    if (sound) {
        mesh->computeNormals();
        mesh->computeNormals();
        if (dressed) dressAsThePartDoes(mesh, &partSurface);

        Bitmap frame(512, 384);
        NewRenderDriver driver(&frame);
        Scene scene;
        mesh->position.set(12.0, 4.0, 0.0);
        mesh->rotation.set(rotationX, rotationY, rotationZ);
        scene.addObject(mesh);
        scene.nearPlane = 1.0f;
        scene.setCameraPosition(0.0, 0.0, -60.0);
        scene.render(&frame, &driver, time, 1);
    }
    delete mesh;
    return sound;
}
