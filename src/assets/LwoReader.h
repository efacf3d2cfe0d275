#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Vector.h"

class meshSurfaceObject;
class Surface;
class SurfaceList;

// One texture definition of a surface ("CTEX"/"TTEX" and the sub-chunks after it).
struct LwoTexture {
    char typeName[256] = {};
    char imageName[256] = {};
    int16_t flags = 0;
    Vector size;
    Vector centre;
    Vector spare;   // no sub-chunk fills it
    bool hasImage = false;
};

struct LwoPolygon {
    uint16_t vertexCount = 0;
    std::vector<uint16_t> indices;
    uint16_t surfaceNumber = 0;   // 1-based into the surfaces
};

struct LwoSurface {
    char name[256] = {};
    uint32_t colour = 0;   // 0xRRGGBB
    int16_t transparency = 0;
    LwoTexture colourTexture;
    LwoTexture transparencyTexture;
    LwoTexture* currentTexture = nullptr;
    int32_t bytesLeft = 0;   // unread bytes of the chunk
};

// The parse tree of one object file.
struct LwoObject {
    static constexpr int32_t MaxSurfaces = 128;

    std::vector<LwoPolygon> polygons;
    std::vector<std::unique_ptr<LwoSurface>> surfaces;
    std::vector<Vector> points;   // w = 1

    int32_t pointCount() const { return static_cast<int32_t>(points.size()); }
    int32_t polygonCount() const { return static_cast<int32_t>(polygons.size()); }
    int32_t surfaceCount() const { return static_cast<int32_t>(surfaces.size()); }
};

// Reads a LightWave object file of the LWOB kind and builds a mesh from it, printing its
// progress on standard output. Call readObject (or parseObject), then buildMesh.
// Damaged input never reads outside the data: what runs past its end, points at nothing
// or has no room in the model is cut or skipped with a warning on standard error.
class LwoReader {
public:
    std::unique_ptr<LwoObject> object;   // the parse tree until buildMesh releases it

    // Reads the file through openDataFile. A missing file reads nothing and prints nothing;
    // a file that is not an LWOB prints "COULDNT READ LWO FILE..... \n".
    void readObject(const char* fileName);
    // Parses a FORM held in memory; false when "FORM" or "LWOB" is missing. Chunks parsed
    // before a damaged one are kept.
    bool parseObject(const uint8_t* data, size_t size);
    // A new mesh of the parse tree (an empty one when nothing was read), with its surfaces
    // looked up in or added to surfaceList; with a null list the mesh gets a new list of
    // its own. Releases the parse tree.
    meshSurfaceObject* buildMesh(SurfaceList* surfaceList);
    // A new Surface for one surface definition; null (with a message) for null.
    Surface* translateSurface(const LwoSurface* lwoSurface);

private:
    void readSurface(LwoSurface* surface, const uint8_t* data, uint32_t length);
    void readPoints(const uint8_t* data, uint32_t length);
    void readPolygons(const uint8_t* data, uint32_t length);
    void addPolygon(meshSurfaceObject* mesh, const LwoPolygon& source, int32_t index);
};
