#include "parts/CredsPart.h"

#include <cmath>

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "parts/Timeline.h"

void CredsPart::init(Bitmap*, NewRenderDriver*) {
    VEX_ImageFactory factory;
    codePlate = factory.load("data/Creds/code.pcx", 512, 80, 512, 80, false, 1);
    graphicsPlate = factory.load("data/Creds/grafik.pcx", 512, 80, 512, 80, false, 1);
    musicPlate = factory.load("data/Creds/musik.pcx", 512, 160, 512, 160, false, 1);
    emblem = factory.load("data/Creds/plomek.pcx", 256, 256, 256, 256, false, 1);
    tunnelSetup = {512, 384, "data/creds/tunnel1.pcx", 0};
    tunnel = new TunnelEffect(tunnelSetup);
    loadedByInit = true;
}

CredsPart::PlatePositions CredsPart::platePositions(float t) {
    double s = std::sin(t * 0.6);
    double c = s * 599;
    return {static_cast<int32_t>(600 - c), static_cast<int32_t>(c - 600), static_cast<int32_t>(400 - s * 200)};
}

void CredsPart::draw(Bitmap* target, NewRenderDriver*, float time) {
    // The tunnel runs on the absolute time, the plates on the part's own.
    tunnel->apply(target, time * 30, 0);
    emblem->addInto(target, 128, 64);
    PlatePositions at = platePositions(time - start);
    codePlate->addInto(target, at.codeX, 0);
    graphicsPlate->addInto(target, at.graphicsX, 90);
    musicPlate->addInto(target, 0, at.musicY);
}

CredsPart::~CredsPart() {
    if (!loadedByInit) return;
    delete codePlate;
    delete graphicsPlate;
    delete musicPlate;
    delete emblem;
    delete tunnel;
}

DemoPart* newCredsPart() { return new CredsPart(); }
