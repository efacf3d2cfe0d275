#include "parts/HusetPart.h"

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "core/LibcRandom.h"
#include "parts/Timeline.h"

PowFlash HusetPart::flash;

void HusetPart::init(Bitmap*, NewRenderDriver*) {
    VEX_ImageFactory factory;
    background = factory.load("data/Huset/before.pcx", 512, 384, 512, 384, false, 1);
    label = factory.load("data/Huset/jag.pcx", 100, 30, 100, 30, false, 1);
    arrow = factory.load("data/Huset/pil.pcx", 40, 40, 40, 40, false, 1);
    powPicture = factory.loadShared("data/pow/pow.pcx", 512, 384, 512, 384, false, 1);
    flash.reset();
    randomAtInit = demoRandom();
}

HusetPart::Point HusetPart::labelPosition(int32_t r1, int32_t r2, int32_t r3, int32_t r4) {
    return {(r3 - r4) / 10000 + 100, (r1 - r2) / 10000 + 210};
}

int32_t HusetPart::nextRandom() { return demoRandom().next() % 32768; }

void HusetPart::draw(Bitmap* target, NewRenderDriver*, float time) {
    flash.setLocalTime(time - start);
    background->copyInto(target, 0, 0);
    arrow->addInto(target, 200, 200);
    int32_t r1 = nextRandom();
    int32_t r2 = nextRandom();
    int32_t r3 = nextRandom();
    int32_t r4 = nextRandom();
    Point at = labelPosition(r1, r2, r3, r4);
    label->addInto(target, at.x, at.y);
    flash.draw(powPicture, target);
}

// The flash ends, and the label trembles from where a run's first frame finds the sequence.
void HusetPart::rewind() {
    flash.reset();
    demoRandom() = randomAtInit;
}

DemoPart* newHusetPart() { return new HusetPart(); }
