// Temporary: the fill operations draw nothing until the rasterisers land. Each one is
// replaced by its real implementation, and this file removed, by the rasteriser work.
#include "engine/RenderDriver.h"

void NewRenderDriver::drawFlat(RenderPolygon*, Bitmap*, int32_t) {}
void NewRenderDriver::drawTextured(RenderPolygon*, Bitmap*, int32_t) {}
void NewRenderDriver::drawImageEnv(RenderPolygon*, Bitmap*, int32_t) {}
void NewRenderDriver::drawTranspMapped(RenderPolygon*, Bitmap*, int32_t) {}
void NewRenderDriver::drawBumpEnv(RenderPolygon*, Bitmap*, int32_t) {}
void NewRenderDriver::drawImageBumpEnv(RenderPolygon*, Bitmap*, int32_t) {}
void NewRenderDriver::drawPerspective(RenderPolygon*, Bitmap*, int32_t) {}
void NewRenderDriver::drawPerspectiveKeyed(RenderPolygon*, Bitmap*, int32_t) {}
void NewRenderDriver::drawPerspectiveNoDepth(RenderPolygon*, Bitmap*, int32_t) {}
void NewRenderDriver::drawPerspectiveFogNoDepth(RenderPolygon*, Bitmap*, int32_t) {}
void NewRenderDriver::drawPerspectiveFog(RenderPolygon*, Bitmap*, int32_t) {}
void NewRenderDriver::drawTexturedShaded(RenderPolygon*, Bitmap*, int32_t) {}
void NewRenderDriver::drawShaded(RenderPolygon*, Bitmap*, int32_t) {}
void NewRenderDriver::drawSprite(const SpriteRecord*, Bitmap*, int32_t) {}
