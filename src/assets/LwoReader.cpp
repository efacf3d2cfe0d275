#include "assets/LwoReader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "assets/TextureProjection.h"
#include "core/DataFile.h"
#include "core/TextCompare.h"
#include "engine/MeshSurfaceObject.h"
#include "engine/Surface.h"
#include "engine/SurfacePolygon.h"

namespace {

uint32_t readU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

uint16_t readU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

float readFloat(const uint8_t* p) {
    const uint32_t bits = readU32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Three big-endian floats widened into a vector (w = 1).
Vector readVector(const uint8_t* p) {
    Vector v;
    v.set(readFloat(p), readFloat(p + 4), readFloat(p + 8));
    return v;
}

// Copies the NUL-terminated string at `source` (at most `available` bytes, which need not
// hold the terminator) into a 256-byte buffer, cut to 255 characters. Returns the length
// of the string in the data.
size_t copyName(char (&target)[256], const uint8_t* source, size_t available) {
    const size_t length = strnlen(reinterpret_cast<const char*>(source), available);
    const size_t kept = std::min(length, sizeof target - 1);
    if (kept < length)
        std::fprintf(stderr, "lwo: name of %zu characters cut to %zu\n", length, kept);
    std::memcpy(target, source, kept);
    target[kept] = '\0';
    return length;
}

bool isChunk(const uint8_t* id, const char* name) { return std::memcmp(id, name, 4) == 0; }

// Reports a sub-chunk too short for its value; true when the value fits.
bool fits(int32_t length, int32_t needed, const char* id) {
    if (length >= needed) return true;
    std::fprintf(stderr, "lwo: %s sub-chunk of %d bytes is too short, ignored\n", id, length);
    return false;
}

// Stores a texture type name; storing one announces itself with "hej\n".
void storeTypeName(LwoTexture& texture, const uint8_t* data, int32_t length) {
    copyName(texture.typeName, data, static_cast<size_t>(length));
    std::printf("hej\n");
}

// Counts every surface read since the program started.
int32_t surfacesRead = 0;

}  // namespace

void LwoReader::readObject(const char* fileName) {
    std::FILE* file = openDataFile(fileName, "rb");
    if (!file) return;

    uint8_t header[8];
    const size_t headerBytes = std::fread(header, 1, sizeof header, file);
    std::fseek(file, 0, SEEK_END);
    const long fileSize = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);

    // Read the FORM as its length says, but never more than the file holds: a wild length
    // field must not decide how much memory is taken.
    const uint64_t formBytes = headerBytes == sizeof header ? uint64_t{readU32(header + 4)} + 8 : 0;
    const size_t wanted = static_cast<size_t>(
        std::min<uint64_t>(std::max<uint64_t>(formBytes, headerBytes), fileSize > 0 ? fileSize : 0));
    uint8_t* data = new (std::nothrow) uint8_t[wanted > 0 ? wanted : 1];
    if (!data) {
        std::printf("DATA WAS NULL \n");
        std::fclose(file);
        return;
    }
    const size_t got = std::fread(data, 1, wanted, file);
    if (!parseObject(data, got)) std::printf("COULDNT READ LWO FILE..... \n");
    delete[] data;
    std::fclose(file);
}

bool LwoReader::parseObject(const uint8_t* data, size_t size) {
    object.reset();
    if (size < 12 || !isChunk(data, "FORM") || !isChunk(data + 8, "LWOB")) return false;
    object = std::make_unique<LwoObject>();

    const uint64_t formLength = readU32(data + 4);
    if (formLength == 4) return true;
    if (formLength + 8 > size)
        std::fprintf(stderr, "lwo: FORM length %llu runs past the %zu bytes of data\n",
                     static_cast<unsigned long long>(formLength), size);
    const size_t end = static_cast<size_t>(std::min<uint64_t>(formLength + 8, size));

    size_t offset = 12;
    uint64_t consumed = 0;
    while (formLength < 4 || consumed != formLength - 4) {
        if (offset >= end || end - offset < 8) {
            if (offset < end) std::fprintf(stderr, "lwo: chunk header cut off at byte %zu\n", offset);
            break;
        }
        const uint8_t* id = data + offset;
        const uint32_t length = readU32(data + offset + 4);
        if (length > end - offset - 8) {
            std::fprintf(stderr, "lwo: chunk %.4s of %u bytes runs past the data, parsing ends\n",
                         reinterpret_cast<const char*>(id), length);
            break;
        }
        const uint8_t* body = id + 8;

        if (isChunk(id, "PNTS")) {
            readPoints(body, length);
        } else if (isChunk(id, "SURF")) {
            if (object->surfaceCount() >= LwoObject::MaxSurfaces) {
                std::fprintf(stderr, "lwo: more than %d surfaces, SURF chunk skipped\n",
                             LwoObject::MaxSurfaces);
            } else {
                object->surfaces.push_back(std::make_unique<LwoSurface>());
                LwoSurface* surface = object->surfaces.back().get();
                surface->bytesLeft = static_cast<int32_t>(std::min<uint32_t>(length, INT32_MAX));
                readSurface(surface, body, static_cast<uint32_t>(surface->bytesLeft));
            }
        } else if (isChunk(id, "POLS")) {
            readPolygons(body, length);
        }
        // "SRFS" and unknown chunks are skipped: the names come from the "SURF" chunks.
        offset += 8 + size_t{length};
        consumed += 8 + uint64_t{length};
    }
    return true;
}

void LwoReader::readPoints(const uint8_t* data, uint32_t length) {
    const uint32_t count = length / 12;
    object->points.assign(count, Vector());
    std::printf("found %i vertices \n", static_cast<int32_t>(count));
    bool replaced = false;
    for (uint32_t i = 0; i < count; ++i) {
        Vector point = readVector(data + 12 * size_t{i});
        // A NaN or infinite coordinate would end in an undefined integer conversion later.
        if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z)) {
            point.set(std::isfinite(point.x) ? point.x : 0.0, std::isfinite(point.y) ? point.y : 0.0,
                      std::isfinite(point.z) ? point.z : 0.0);
            replaced = true;
        }
        object->points[i] = point;
    }
    if (replaced) std::fprintf(stderr, "lwo: non-finite point coordinates replaced by 0\n");
}

void LwoReader::readPolygons(const uint8_t* data, uint32_t length) {
    object->polygons.clear();
    object->polygons.reserve(length / 6);
    uint32_t offset = 0;
    while (offset < length) {
        if (length - offset < 2) {
            std::fprintf(stderr, "lwo: POLS chunk ends inside a polygon\n");
            break;
        }
        LwoPolygon polygon;
        polygon.vertexCount = readU16(data + offset);
        const uint32_t bytes = 2u * polygon.vertexCount + 4;
        if (bytes > length - offset) {
            std::fprintf(stderr, "lwo: polygon of %u corners runs past the POLS chunk\n",
                         polygon.vertexCount);
            break;
        }
        polygon.indices.resize(polygon.vertexCount);
        for (uint32_t k = 0; k < polygon.vertexCount; ++k)
            polygon.indices[k] = readU16(data + offset + 2 + 2 * k);
        polygon.surfaceNumber = readU16(data + offset + bytes - 2);
        object->polygons.push_back(std::move(polygon));
        offset += bytes;
    }
}

void LwoReader::readSurface(LwoSurface* surface, const uint8_t* data, uint32_t length) {
    const size_t nameLength = copyName(surface->name, data, length);
    std::printf("reading surface %s  at number %i\n", surface->name, surfacesRead++);
    std::printf("set name to %s \n", surface->name);
    std::printf("i am now called %s\n", surface->name);

    // The name with its terminator is padded to an even length.
    int64_t nameBytes = static_cast<int64_t>(nameLength) + 1;
    if (nameBytes & 1) ++nameBytes;
    surface->bytesLeft = static_cast<int32_t>(std::max<int64_t>(surface->bytesLeft - nameBytes, -1));
    std::printf("got to while loop \n");

    for (int32_t iteration = 0; surface->bytesLeft > 0; ++iteration) {
        std::printf("in while loop iteration %i \n", iteration);
        if (surface->bytesLeft < 6) {
            std::fprintf(stderr, "lwo: sub-chunk header runs past the SURF chunk\n");
            break;
        }
        const uint8_t* header = data + (length - static_cast<uint32_t>(surface->bytesLeft));
        char id[5] = {};
        std::memcpy(id, header, 4);
        const int32_t size = static_cast<int16_t>(readU16(header + 4));
        surface->bytesLeft -= 6;
        std::printf("This surface sub-chunk is  called %s \n", id);
        if (size < 0 || size > surface->bytesLeft) {
            std::fprintf(stderr, "lwo: sub-chunk %s of %d bytes runs past the SURF chunk\n", id, size);
            break;
        }
        const uint8_t* body = header + 6;
        LwoTexture* current = surface->currentTexture;

        if (compareIgnoringCase(id, "COLR", 4) == 0) {
            if (fits(size, 3, id))
                surface->colour = uint32_t{body[0]} << 16 | uint32_t{body[1]} << 8 | body[2];
        } else if (compareIgnoringCase(id, "CTEX", 4) == 0) {
            std::printf(" got a color texture \n");
            storeTypeName(surface->colourTexture, body, size);
            surface->currentTexture = &surface->colourTexture;
        } else if (compareIgnoringCase(id, "TTEX", 4) == 0) {
            std::printf(" got a transparency texture \n");
            storeTypeName(surface->transparencyTexture, body, size);
            surface->currentTexture = &surface->transparencyTexture;
        } else if (compareIgnoringCase(id, "TFLG", 4) == 0) {
            std::printf(" got a TFLG chunk \n");
            if (!current)
                std::printf("current texture is null, but texture def chunk found \n");
            else if (fits(size, 2, id))
                current->flags = static_cast<int16_t>(readU16(body));
        } else if (compareIgnoringCase(id, "TSIZ", 4) == 0) {
            std::printf(" got a TSIZ chunk \n");
            if (!current)
                std::printf("current texture is null, but texture def chunk found \n");
            else if (fits(size, 12, id))
                current->size = readVector(body);
        } else if (compareIgnoringCase(id, "TCTR", 4) == 0) {
            std::printf(" got a TCTR chunk \n");
            if (!current)
                std::printf("current texture is null, bu t texture def chunk found \n");
            else if (fits(size, 12, id))
                current->centre = readVector(body);
        } else if (compareIgnoringCase(id, "TCLR", 4) == 0) {
            std::printf(" got a TCLR chunk \n");
        } else if (compareIgnoringCase(id, "TIMG", 4) == 0) {
            std::printf(" got a TIMG chunk \n");
            if (!current) {
                std::printf("current texture is null, but texture def chunk found \n");
            } else {
                copyName(current->imageName, body, static_cast<size_t>(size));
                current->hasImage = true;
            }
        } else if (compareIgnoringCase(id, "TRAN", 4) == 0) {
            if (fits(size, 2, id)) surface->transparency = static_cast<int16_t>(readU16(body));
        }
        std::printf("made it to the end \n");
        surface->bytesLeft -= size;
    }
    std::printf("outside \n");
}

meshSurfaceObject* LwoReader::buildMesh(SurfaceList* surfaceList) {
    meshSurfaceObject* mesh = new meshSurfaceObject;
    if (!surfaceList) {
        mesh->ownedSurfaces = new SurfaceList;
        surfaceList = mesh->ownedSurfaces;
    }
    mesh->surfaces = surfaceList;
    mesh->useSceneSurfaces = 1;

    if (!object) {
        std::fprintf(stderr, "lwo: no object was read, the mesh stays empty\n");
    } else {
        for (int32_t i = 0; i < object->surfaceCount(); ++i)
            std::printf("name of surface %i is %s\n", i, object->surfaces[i]->name);

        for (const auto& lwoSurface : object->surfaces) {
            if (surfaceList->find(lwoSurface->name)) {
                std::printf("this scene already has a surface called %s\n", lwoSurface->name);
            } else if (surfaceList->count < SurfaceList::Capacity) {
                surfaceList->add(translateSurface(lwoSurface.get()));
            }
        }

        for (const Vector& point : object->points) {
            Vertex* vertex = new Vertex;
            vertex->position.set(point.x, point.y, point.z);
            if (mesh->addVertex(vertex) != 0) delete vertex;
        }
        std::printf("done adding verices \n");

        for (int32_t i = 0; i < object->polygonCount(); ++i) addPolygon(mesh, object->polygons[i], i);

        std::printf("added polys \n");
        object.reset();
        std::printf("deleted object \n");
    }

    mesh->scale.set(1.0, 1.0, 1.0);
    mesh->position.set(0.0, 0.0, 0.0);
    mesh->rotation.set(0.0, 0.0, 0.0);
    return mesh;
}

void LwoReader::addPolygon(meshSurfaceObject* mesh, const LwoPolygon& source, int32_t index) {
    std::printf("poly iteration %i\n", index);
    if (source.vertexCount < 3) {
        std::fprintf(stderr, "lwo: polygon %d has %u corners, skipped\n", index, source.vertexCount);
        return;
    }
    for (int k = 0; k < 3; ++k) {
        if (source.indices[k] >= mesh->vertexCount) {
            std::fprintf(stderr, "lwo: polygon %d names point %u of %d, skipped\n", index,
                         source.indices[k], mesh->vertexCount);
            return;
        }
    }
    if (source.surfaceNumber == 0 || source.surfaceNumber > object->surfaceCount()) {
        std::fprintf(stderr, "lwo: polygon %d names surface %u of %d, skipped\n", index,
                     source.surfaceNumber, object->surfaceCount());
        return;
    }

    const char* surfaceName = object->surfaces[source.surfaceNumber - 1]->name;
    std::printf("polygon %i gets surface called %s\n", index, surfaceName);
    // A full mesh drops the polygon without a word; one made only to be destroyed would
    // print its destructor lines.
    if (mesh->polygonCount >= meshSurfaceObject::MaxPolygons) return;

    SurfacePolygon* polygon = new SurfacePolygon;
    // Only the first three corners are kept: a quad becomes a triangle.
    for (int k = 0; k < 3; ++k) polygon->addVertex(mesh->viewVertex(source.indices[k]));
    polygon->surface = mesh->surfaces->find(surfaceName);

    if (const Surface* surface = polygon->surface) {
        const struct {
            int32_t flag;
            const PolygonTexture* projection;
            int32_t kind;
        } projections[] = {
            {Surface::ColourTexture, surface->texture, SurfacePolygon::ImageUV},
            {Surface::TransparencyMap, surface->transparency, SurfacePolygon::TransparencyUV},
            {Surface::BumpMap, surface->bump, SurfacePolygon::BumpUV},
        };
        for (const auto& p : projections) {
            if (!(surface->flags & p.flag)) continue;
            for (int k = 0; k < 3; ++k) {
                const Vector& position = polygon->vertices[k]->position;
                float u, v;
                projectPoint(p.projection, static_cast<float>(position.x),
                             static_cast<float>(position.y), static_cast<float>(position.z), u, v);
                polygon->setUV(p.kind, k, u, v);
            }
        }
    }
    mesh->addPolygon(polygon);   // room was checked above
}

Surface* LwoReader::translateSurface(const LwoSurface* lwoSurface) {
    if (!lwoSurface) {
        std::printf("trying to translate NULL surface !! \n");
        return nullptr;
    }
    Surface* surface = new Surface;
    std::memcpy(surface->name, lwoSurface->name, sizeof lwoSurface->name);
    surface->name[Surface::NameSize - 1] = '\0';
    surface->colour = lwoSurface->colour;
    surface->level = static_cast<double>(lwoSurface->transparency);
    surface->mode = lwoSurface->transparency != 0 ? 0x24 : 0;
    if (lwoSurface->colourTexture.hasImage) {
        surface->texture = buildProjection(lwoSurface->colourTexture);
        surface->flags |= Surface::ColourTexture | Surface::ReaderTexture;
    }
    if (lwoSurface->transparencyTexture.hasImage) {
        surface->transparency = buildProjection(lwoSurface->transparencyTexture);
        surface->flags |= Surface::TransparencyMap;
    }
    return surface;
}
