#include "display/PixelToolkit.h"

#include <cstdio>

void PixelToolkit::reportError(const DynamicError& error) {
    std::fprintf(stderr, "display error: %s\n", error.message());
}

MemorySurface::MemorySurface(int32_t width, int32_t height)
    : width(width > 0 ? width : 0),
      height(height > 0 ? height : 0),
      pixels(new uint32_t[static_cast<size_t>(this->width) * static_cast<size_t>(this->height)]()) {}

uint32_t* MemorySurface::lock() { return pixels.get(); }

void MemorySurface::unlock() {}

void MemorySurface::copy(ToolkitConsole& destination) {
    destination.load(pixels.get(), width, height, width * 4);
}
