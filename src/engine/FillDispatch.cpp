#include "engine/FillDispatch.h"

#include "raster/RenderPolygon.h"

FillOperation fillOperationFor(uint8_t kind, uint8_t allKinds, uint8_t fogEnabled) {
    const bool perspective = kind == PolygonKind::Perspective || kind == PolygonKind::PerspectiveEnv;
    // With allKinds 0 only the perspective kinds are drawn, and without the depth buffer.
    if (!allKinds) {
        if (!perspective) return nullptr;
        return fogEnabled ? &RenderDriver::drawPerspectiveFogNoDepth
                          : &RenderDriver::drawPerspectiveNoDepth;
    }
    if (perspective)
        return fogEnabled ? &RenderDriver::drawPerspectiveFog : &RenderDriver::drawPerspective;
    switch (kind) {
        case PolygonKind::Flat: return &RenderDriver::drawFlat;
        case PolygonKind::Textured:
        case PolygonKind::EnvironmentTextured: return &RenderDriver::drawTextured;
        case PolygonKind::ImageEnv: return &RenderDriver::drawImageEnv;
        case PolygonKind::BumpEnv: return &RenderDriver::drawBumpEnv;
        case PolygonKind::ImageBumpEnv: return &RenderDriver::drawImageBumpEnv;
        case PolygonKind::TranspMapped:
        case PolygonKind::EnvTranspMapped: return &RenderDriver::drawTranspMapped;
        case PolygonKind::PerspectiveKeyed:
        case PolygonKind::PerspectiveKeyedEnv: return &RenderDriver::drawPerspectiveKeyed;
        default: return nullptr;
    }
}
