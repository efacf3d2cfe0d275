#include "parts/GrymtPart.h"

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "parts/FrameFill.h"
#include "parts/Timeline.h"

PowFlash GrymtPart::flash;

void GrymtPart::init(Bitmap*, NewRenderDriver*) {
    VEX_ImageFactory factory;
    upperStrip = factory.loadShared("data/Grymt/grymt512100.pcx", 512, 100, 512, 100, false, 1);
    lowerStrip = factory.loadShared("data/Grymt/flow512100.pcx", 512, 100, 512, 100, false, 1);
    powPicture = factory.loadShared("data/pow/pow.pcx", 512, 384, 512, 384, false, 1);
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
