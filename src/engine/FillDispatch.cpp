#include "engine/FillDispatch.h"

FillOperation fillOperationFor(uint8_t kind, uint8_t allKinds, uint8_t fogEnabled) {
    const bool perspective = kind == 33 || kind == 34;
    // With allKinds 0 only the perspective kinds are drawn, and without the depth buffer.
    if (!allKinds) {
        if (!perspective) return nullptr;
        return fogEnabled ? &RenderDriver::drawPerspectiveFogNoDepth
                          : &RenderDriver::drawPerspectiveNoDepth;
    }
    if (perspective)
        return fogEnabled ? &RenderDriver::drawPerspectiveFog : &RenderDriver::drawPerspective;
    switch (kind) {
        case 0: return &RenderDriver::drawFlat;
        case 1:
        case 2: return &RenderDriver::drawTextured;
        case 3: return &RenderDriver::drawImageEnv;
        case 6: return &RenderDriver::drawBumpEnv;
        case 7: return &RenderDriver::drawImageBumpEnv;
        case 9:
        case 10: return &RenderDriver::drawTranspMapped;
        case 97:
        case 98: return &RenderDriver::drawPerspectiveKeyed;
        default: return nullptr;
    }
}
