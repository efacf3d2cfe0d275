#include "parts/ForortPart.h"

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "parts/FrameFill.h"
#include "parts/PartFiles.h"
#include "parts/Timeline.h"

void ForortPart::init(Bitmap*, NewRenderDriver*) {
    VEX_ImageFactory factory;
    picture = loadRowPicture(factory, *this, 0);
    loadedByInit = true;
}

ForortPart::Placement ForortPart::placementAt(float t) {
    if (t < 8) return {true, 0, static_cast<int32_t>(t * 64 - 512)};
    if (t <= 10) return {true, 0, 0};
    if (t < 18) return {true, static_cast<int32_t>((t - 12) * 48), 0};
    return {false, 0, 0};
}

void ForortPart::draw(Bitmap* target, NewRenderDriver*, float time) {
    fillBitmap(target, 0);
    Placement placement = placementAt(time - start);
    if (placement.visible) picture->copyInto(target, placement.x, placement.y);
}

ForortPart::~ForortPart() {
    if (!loadedByInit) return;
    delete picture;
}

DemoPart* newForortPart() { return new ForortPart(); }
