#include "engine/Surface.h"

#include <cstdio>

#include "core/TextCompare.h"
#include "engine/PolygonTexture.h"

Surface::Surface() : name(new char[NameSize]()) {}

Surface::~Surface() {
    std::printf("about to delete a polygon surface \n");
    delete texture;
    delete environment;
    delete bump;
    // The transparency picture belongs to the surface just like the other three.
    delete transparency;
    std::printf("done deleting a polygon surface \n");
    delete[] name;
}

SurfaceList::~SurfaceList() {
    for (int32_t i = 0; i < count; ++i) delete surfaces[i];
}

bool SurfaceList::add(Surface* surface) {
    if (count >= Capacity) return false;
    surfaces[count++] = surface;
    return true;
}

Surface* SurfaceList::find(const char* name) const {
    for (int32_t i = 0; i < count; ++i)
        if (compareIgnoringCase(surfaces[i]->name, name) == 0) return surfaces[i];
    return nullptr;
}
