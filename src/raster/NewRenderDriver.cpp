#include "raster/RenderDriver.h"

#include <cstdio>
#include <cstring>

#include "core/Bitmap.h"

NewRenderDriver::NewRenderDriver(const Bitmap* size)
    : width(size->width), height(size->height) {
    // A size with a negative side has no pixels; it must not turn into a huge allocation.
    if (width < 0 || height < 0) width = height = 0;
    depthBuffer = new float[static_cast<size_t>(width) * static_cast<size_t>(height)];
    flag = 0;
    clearDepth();
}

NewRenderDriver::~NewRenderDriver() {
    std::printf("deleting a NewRenderDriver \n");
    delete[] depthBuffer;
    depthBuffer = nullptr;
}

void NewRenderDriver::setFlag(uint8_t value) { flag = value; }

void NewRenderDriver::clearDepth() {
    // All bits zero is the float 0.0, below every key a frame can write.
    std::memset(depthBuffer, 0, sizeof(float) * static_cast<size_t>(width) * static_cast<size_t>(height));
}
