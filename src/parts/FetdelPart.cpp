#include "parts/FetdelPart.h"

#include <cmath>

#include "core/Bitmap.h"
#include "parts/PartFiles.h"
#include "parts/Timeline.h"

void FetdelPart::init(Bitmap*, NewRenderDriver*) {
    firstPath = rowFile(*this, 0).path;
    secondPath = rowFile(*this, 1).path;
    firstEffect = new RotozoomEffect(firstPath);
    secondEffect = new RotozoomEffect(secondPath);
    loadedByInit = true;
}

FetdelPart::Motion FetdelPart::motionAt(float t) {
    double s = t - 5.0;
    return {static_cast<float>(228 - std::sin(2 * s + 3.141592653589793) * 200), static_cast<float>(2 * s + 1.570795),
            static_cast<int32_t>(std::cos(s * 0.18) * 3000), static_cast<int32_t>(std::sin(s * 0.26) * 3000)};
}

void FetdelPart::draw(Bitmap* target, NewRenderDriver*, float time) {
    Motion m = motionAt(time - start);
    firstEffect->setParameter("radius", &m.radius);
    firstEffect->setParameter("angle", &m.angle);
    firstEffect->setParameter("x", &m.x);
    firstEffect->setParameter("y", &m.y);
    secondEffect->setParameter("radius", &m.radius);
    secondEffect->setParameter("x", &m.x);
    secondEffect->setParameter("y", &m.y);
    secondEffect->apply(target, time, 0);
    firstEffect->apply(target, time, 1);
}

FetdelPart::~FetdelPart() {
    if (!loadedByInit) return;
    delete firstEffect;
    delete secondEffect;
}

DemoPart* newFetdelPart() { return new FetdelPart(); }
