#include "parts/GreetsPart.h"

#include <cmath>

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "parts/FrameFill.h"
#include "parts/Timeline.h"

PowFlash GreetsPart::flash;

void GreetsPart::init(Bitmap*, NewRenderDriver*) {
    static const char* const plateFiles[kPlateCount] = {"data/Greets/namn1.pcx", "data/Greets/namn2.pcx",
                                                        "data/Greets/namn3.pcx", "data/Greets/namn4.pcx",
                                                        "data/Greets/namn5.pcx"};
    VEX_ImageFactory factory;
    background = factory.load("data/Greets/crest1.pcx", 512, 384, 512, 384, false, 1);
    powPicture = factory.loadShared("data/pow/pow.pcx", 512, 384, 512, 384, false, 1);
    for (int i = 0; i < kPlateCount; ++i) plates[i] = factory.load(plateFiles[i], 100, 30, 100, 30, false, 1);
    for (int i = 0; i < kPlateCount; ++i) filters[i] = new RowBlurFilter(plates[i], kStartStrength);
    scratch = new Bitmap(100, 30);
    fillBitmap(scratch, 0);
    flash.reset();
}

int32_t GreetsPart::blurStrength(float t) { return static_cast<int32_t>(std::sin(t * 0.6) * 10); }

void GreetsPart::draw(Bitmap* target, NewRenderDriver*, float time) {
    flash.setLocalTime(time - start);
    background->copyInto(target, 0, 0);
    for (int i = 0; i < kPlateCount; ++i) {
        filters[i]->apply(scratch, time, 0);
        scratch->addInto(target, kPlateSpots[i].x, kPlateSpots[i].y);
    }
    // Takes effect from the next frame.
    int32_t strength = blurStrength(flash.localTime);
    for (RowBlurFilter* filter : filters) filter->setParameter("VAL", &strength);
    flash.draw(powPicture, target);
}

void GreetsPart::rewind() {
    flash.reset();
    int32_t strength = kStartStrength;
    for (RowBlurFilter* filter : filters)
        if (filter) filter->setParameter("VAL", &strength);
}

DemoPart* newGreetsPart() { return new GreetsPart(); }
