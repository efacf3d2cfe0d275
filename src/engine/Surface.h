#pragma once
#include <cstdint>

class PolygonTexture;

// How a polygon is drawn; shared by every polygon that names it.
//
// Ownership: a Surface has exactly one owner, which destroys it once. Surfaces in a
// SurfaceList belong to that list (the scene's library, or the list a mesh was built with);
// a surface that an effect makes for its own meshes belongs to that effect. Polygons only
// point at their surface. A Surface owns its four texture slots.
class Surface {
public:
    // Bits of `flags`: which image slots are used. Textured surfaces of the object reader
    // carry ReaderTexture together with ColourTexture.
    enum : int32_t {
        ColourTexture = 0x01,
        EnvironmentMap = 0x02,
        BumpMap = 0x04,
        TransparencyMap = 0x08,
        ReaderTexture = 0x20,
    };
    static constexpr int32_t NameSize = 256;

    PolygonTexture* texture = nullptr;        // slot 0
    PolygonTexture* environment = nullptr;    // slot 1
    PolygonTexture* bump = nullptr;           // slot 2
    PolygonTexture* transparency = nullptr;   // slot 3
    int32_t mode = 0;        // low byte: blend mode of the polygons; 1 also draws them first
    char* name = nullptr;    // NameSize bytes, owned, zero-filled at construction
    uint32_t colour = 0;     // 0xRRGGBB, top byte carried
    double level = 0.0;
    int32_t flags = 0;

    Surface();
    // Prints "about to delete a polygon surface \n", releases the texture slots (each
    // printing its own lines) and prints "done deleting a polygon surface \n".
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
};

// Named surfaces shared by meshes; owns the surfaces it holds.
class SurfaceList {
public:
    static constexpr int32_t Capacity = 200;

    Surface* surfaces[Capacity] = {};
    int32_t count = 0;

    SurfaceList() = default;
    ~SurfaceList();
    SurfaceList(const SurfaceList&) = delete;
    SurfaceList& operator=(const SurfaceList&) = delete;

    // Takes ownership and returns true, or returns false (ownership stays with the
    // caller) when the list is full.
    bool add(Surface* surface);
    // The first surface whose name equals `name` ignoring letter case, or null.
    Surface* find(const char* name) const;
};
