#include "parts/GrymtPart.h"

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "parts/FrameFill.h"
#include "parts/PartFiles.h"
#include "parts/Timeline.h"

PowFlash GrymtPart::flash;

void GrymtPart::init(Bitmap*, NewRenderDriver*) {
    VEX_ImageFactory factory;
    upperStrip = loadSharedRowPicture(factory, *this, 0);
    lowerStrip = loadSharedRowPicture(factory, *this, 1);
    powPicture = loadSharedRowPicture(factory, *this, 2);
    flash.reset();
}

int32_t GrymtPart::upperStripX(float t) { return static_cast<int32_t>(512 - t * 300); }

int32_t GrymtPart::lowerStripX(float t) { return static_cast<int32_t>(t * 300 - 100); }

void GrymtPart::draw(Bitmap* target, NewRenderDriver*, float time) {
    flash.setLocalTime(time - start);
    fillBitmap(target, 0);
    upperStrip->copyInto(target, upperStripX(flash.localTime), 0);
    lowerStrip->copyInto(target, lowerStripX(flash.localTime), 200);
    flash.draw(powPicture, target);
}

// A flash lit anywhere in the show must not linger after a jump.
void GrymtPart::rewind() { flash.reset(); }

DemoPart* newGrymtPart() { return new GrymtPart(); }
