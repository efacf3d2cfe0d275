// The per-mesh part of the frame pipeline: camera-space transform, head light,
// environment coordinates and the RenderPolygon records handed to the scene.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "core/Bitmap.h"
#include "core/Truncate.h"
#include "engine/Camera.h"
#include "engine/MeshSurfaceObject.h"
#include "engine/PolygonTexture.h"
#include "engine/Surface.h"
#include "engine/SurfacePolygon.h"

namespace {

// Stands in for a missing picture so that a fill operation always has 256 x 256 texels.
uint32_t blankPicture[256 * 256];

uint32_t* picturePixels(const PolygonTexture* texture) {
    if (!texture || !texture->image || !texture->image->pixels) {
        std::printf("GAAAAAAH !!!! image is NULL !!!!!! \n");
        return blankPicture;
    }
    return texture->image->pixels;
}

// Polygon pairs (u0 v0 u1 v1 u2 v2) to record order (u0 u1 u2 v0 v1 v2).
void copyPairs(const float* pairs, float* record) {
    for (int k = 0; k < 3; ++k) {
        record[k] = pairs[2 * k];
        record[3 + k] = pairs[2 * k + 1];
    }
}

// A light at (0, 0, 1) in camera space, just in front of the eye; scales the three colour
// bytes by the cosine between the light direction and the face normal.
uint32_t headLight(uint32_t colour, const Vector& firstVertex, const Vector& worldNormal) {
    Vector lightPosition;
    lightPosition.set(0.0, 0.0, 1.0);
    Vector toVertex = firstVertex.subtract(lightPosition);
    toVertex.normalize();
    Vector normal = worldNormal;
    normal.normalize();
    double facing = -toVertex.dot(normal);
    if (!(facing > 0.0)) facing = 0.0;   // also catches a NaN from a zero-length vector
    const uint32_t intensity = static_cast<uint32_t>(truncateSaturating(facing * 255.0));
    uint32_t result = colour & 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t channel = (colour >> shift) & 0xFFu;
        result |= ((channel * intensity) >> 8) << shift;
    }
    return result;
}

// Environment-map coordinates from where the vertex normals point: u from x, v from y.
void environmentCoords(const SurfacePolygon* polygon, float* record) {
    for (int k = 0; k < 3; ++k) {
        const Vector& normal = polygon->vertices[k]->normal;
        record[k] = static_cast<float>(truncateSaturating(normal.x * 127 + 128));
        record[3 + k] = static_cast<float>(truncateSaturating(normal.y * 127 + 128));
    }
}

}  // namespace

RenderPolygon** meshSurfaceObject::render(Camera* camera, double, int32_t, const FogParameters*) {
    *camera->matrix = camera->buildViewMatrix();
    const Matrix modelView = objectMatrix.multiply(*camera->matrix);

    // Normals turn with the object only, never with the camera.
    for (int32_t i = 0; i < polygonCount; ++i)
        polygons[i]->worldNormal = polygons[i]->faceNormal.transform(normalMatrix);
    for (int32_t i = 0; i < vertexCount; ++i) {
        viewVertices[i]->normal = modelVertices[i]->normal.transform(normalMatrix);
        viewVertices[i]->position = modelVertices[i]->position.transform(modelView);
    }

    int32_t produced = 0;
    for (int32_t i = 0; i < polygonCount && produced < MaxOutput; ++i) {
        SurfacePolygon* polygon = polygons[i];
        // A polygon whose surface was never found has nothing to be drawn with.
        if (!polygonEnabled[i] || !polygon->surface || polygon->count < 3) continue;
        fillRecord(polygon);
        output[produced++] = polygon->pInfo;
    }
    // The scene reads the count of returned records through the base class.
    SceneObject::polygonCount = produced;
    return output;
}

void meshSurfaceObject::fillRecord(SurfacePolygon* polygon) {
    const Surface* surface = polygon->surface;
    const int32_t flags = surface->flags;
    RenderPolygon* record = polygon->pInfo;

    if (flags == 0) {
        polygon->litColour =
            headLight(surface->colour, polygon->vertices[0]->position, polygon->worldNormal);
        record->colour = polygon->litColour;
        record->kind = PolygonKind::Flat;
    }
    if (flags & Surface::ColourTexture) {
        record->image = picturePixels(surface->texture);
        copyPairs(polygon->imageCoords, record->imageCoords);
        record->kind = static_cast<uint8_t>(flags);
    }
    if (flags & Surface::EnvironmentMap) {
        record->image = picturePixels(surface->environment);
        record->kind = static_cast<uint8_t>(flags);
    }
    // The slots the kind's fill operation reads.
    if (flags == PolygonKind::ImageEnv) {
        record->image = picturePixels(surface->texture);
        record->envMap = picturePixels(surface->environment);
        copyPairs(polygon->imageCoords, record->imageCoords);
    } else if (flags == PolygonKind::TranspMapped) {
        record->image = picturePixels(surface->texture);
        record->transpMap = picturePixels(surface->transparency);
        copyPairs(polygon->imageCoords, record->imageCoords);
    } else if (flags == PolygonKind::BumpEnv) {
        record->bumpMap = picturePixels(surface->bump);
        record->envMap = picturePixels(surface->environment);
        copyPairs(polygon->bumpCoords, record->bumpCoords);
    } else if (flags == PolygonKind::ImageBumpEnv) {
        record->bumpMap = picturePixels(surface->bump);
        record->envMap = picturePixels(surface->environment);
        record->image = picturePixels(surface->texture);
        copyPairs(polygon->bumpCoords, record->bumpCoords);
        copyPairs(polygon->imageCoords, record->imageCoords);
    }

    record->mode = static_cast<uint8_t>(surface->mode);
    record->level = static_cast<uint8_t>(truncateSaturating(surface->level));
    for (int k = 0; k < 3; ++k) {
        const Vector& position = polygon->vertices[k]->position;
        record->points[k] = static_cast<float>(position.x);
        record->points[3 + k] = static_cast<float>(position.y);
        record->points[6 + k] = static_cast<float>(position.z);
    }

    switch (record->kind) {
        case PolygonKind::EnvironmentTextured:
        case PolygonKind::PerspectiveEnv: environmentCoords(polygon, record->imageCoords); break;
        case PolygonKind::ImageEnv:
        case PolygonKind::BumpEnv:
        case PolygonKind::ImageBumpEnv: environmentCoords(polygon, record->envCoords); break;
        default: break;
    }
}
