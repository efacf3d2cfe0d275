#include "parts/GreetsPart.h"

#include <cmath>

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "parts/FrameFill.h"
#include "parts/PartFiles.h"
#include "parts/Timeline.h"

PowFlash GreetsPart::flash;

void GreetsPart::init(Bitmap*, NewRenderDriver*) {
    VEX_ImageFactory factory;
    background = loadRowPicture(factory, *this, 0);
    powPicture = loadSharedRowPicture(factory, *this, 1);
    for (int i = 0; i < kPlateCount; ++i) plates[i] = loadRowPicture(factory, *this, 2 + i);
    for (int i = 0; i < kPlateCount; ++i) filters[i] = new RowBlurFilter(plates[i], kStartStrength);
    scratch = new Bitmap(100, 30);
    fillBitmap(scratch, 0);
    flash.reset();
    loadedByInit = true;
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

GreetsPart::~GreetsPart() {
    if (!loadedByInit) return;
    delete background;
    delete scratch;
    for (int i = 0; i < kPlateCount; ++i) {
        delete filters[i];
        delete plates[i];
    }
}

DemoPart* newGreetsPart() { return new GreetsPart(); }
