#include "parts/KebabObjectLoader.h"

#include <cstdint>
#include <cstdio>

#include "assets/ImageFactory.h"
#include "assets/LwoReader.h"
#include "core/Bitmap.h"
#include "engine/MeshSurfaceObject.h"
#include "engine/PolygonTexture.h"
#include "engine/Surface.h"
#include "engine/SurfacePolygon.h"

namespace {

constexpr int32_t TextureSize = 256;

// A texture whose picture is filled from `fileName`; a name no loader takes leaves it as
// constructed, cleared.
PolygonTexture* loadedTexture(const char* fileName) {
    PolygonTexture* texture = new PolygonTexture;
    texture->image = new Bitmap(TextureSize, TextureSize);
    texture->loadedImage = texture->image;
    VEX_ImageFactory factory;
    factory.loadInto(texture->image, fileName, TextureSize, TextureSize, true, 1);
    return texture;
}

}  // namespace

float normalToTexel(double component) { return static_cast<float>(component * 127 + 128); }

Bitmap* makeBumpGradient(const Bitmap* picture) {
    Bitmap* gradient = new Bitmap(TextureSize, TextureSize);
    if (!picture || !picture->pixels || picture->width != TextureSize || picture->height != TextureSize) {
        // Reading it as 256 by 256 would run past its pixels; a flat map leaves the shading as is.
        std::fprintf(stderr, "makeBumpGradient: the height picture is not 256 by 256, using a flat map\n");
        return gradient;
    }
    auto height = [picture](int32_t x, int32_t y) {
        return static_cast<int32_t>(picture->pixels[(y & 255) * TextureSize + (x & 255)] & 0xFFu);
    };
    for (int32_t y = 0; y < TextureSize; ++y) {
        for (int32_t x = 0; x < TextureSize; ++x) {
            const int32_t dx = (height(x + 1, y) - height(x - 1, y)) / 2;
            const int32_t dy = (height(x, y + 1) - height(x, y - 1)) / 2;
            // Two's complement: a negative dy borrows one from the dx byte.
            const uint32_t packed = static_cast<uint32_t>(dx) * 65536u + static_cast<uint32_t>(dy);
            gradient->pixels[y * TextureSize + x] = packed & 0x00FF00FFu;
        }
    }
    return gradient;
}

meshSurfaceObject* KebabObjectLoader::load(const char* objectFile, const char* bumpFile,
                                           const char* envFile, const char* imageFile) {
    Bitmap* bumpPicture = new Bitmap(TextureSize, TextureSize);
    {
        VEX_ImageFactory factory;
        factory.loadInto(bumpPicture, bumpFile, TextureSize, TextureSize, true, 1);
    }

    LwoReader reader;
    reader.readObject(objectFile);
    meshSurfaceObject* mesh = reader.buildMesh(nullptr);

    // One surface for the whole object, in no list: the mesh's polygons only point at it
    // and it lives as long as the object, for the whole run.
    Surface* surface = new Surface;
    surface->bump = new PolygonTexture;
    surface->bump->image = makeBumpGradient(bumpPicture);
    surface->environment = loadedTexture(envFile);
    surface->texture = loadedTexture(imageFile);
    surface->flags = Surface::ColourTexture | Surface::EnvironmentMap | Surface::BumpMap;

    // Twice, as the original does; the second pass recomputes the same normals. Kept on
    // purpose: the normals must come out of the same arithmetic, bit for bit.
    mesh->computeNormals();
    mesh->computeNormals();

    for (int32_t i = 0; i < mesh->polygonCount; ++i) {
        SurfacePolygon* polygon = mesh->polygons[i];
        polygon->surface = surface;
        for (int32_t k = 0; k < SurfacePolygon::MaxVertices; ++k) {
            const Vertex* vertex = polygon->vertex(k);
            // setUV reports a missing vertex itself; there is no normal to map then.
            const float u = vertex ? normalToTexel(vertex->normal.x) : 0.0f;
            const float v = vertex ? normalToTexel(vertex->normal.y) : 0.0f;
            polygon->setUV(SurfacePolygon::ImageUV, k, u, v);
            polygon->setUV(SurfacePolygon::BumpUV, k, u, v);
        }
    }

    delete bumpPicture;
    return mesh;
}
