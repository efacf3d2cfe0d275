#include "parts/SlutPart.h"

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "parts/FrameFill.h"
#include "parts/PartFiles.h"
#include "parts/Timeline.h"

void SlutPart::init(Bitmap*, NewRenderDriver*) {
    VEX_ImageFactory factory;
    scroller = loadRowPicture(factory, *this, 0);
    loadedByInit = true;
}

int32_t SlutPart::scrollerY(float t) { return static_cast<int32_t>(384 - t * 50); }

void SlutPart::draw(Bitmap* target, NewRenderDriver*, float time) {
    fillBitmap(target, kBackground);
    scroller->copyInto(target, 0, scrollerY(time - start));
}

SlutPart::~SlutPart() {
    if (!loadedByInit) return;
    delete scroller;
}

DemoPart* newSlutPart() { return new SlutPart(); }
