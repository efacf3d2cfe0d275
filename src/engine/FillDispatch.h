#pragma once
#include <cstdint>

#include "raster/RenderDriver.h"

// A fill operation of the render driver.
using FillOperation = void (RenderDriver::*)(RenderPolygon*, Bitmap*, int32_t);

// The fill operation that draws a polygon of `kind` under the scene's allKinds and
// fogEnabled settings, or null when such a polygon is not drawn.
FillOperation fillOperationFor(uint8_t kind, uint8_t allKinds, uint8_t fogEnabled);
