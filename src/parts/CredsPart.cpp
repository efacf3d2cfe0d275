#include "parts/CredsPart.h"

#include <cmath>

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "core/Units.h"
#include "parts/PartFiles.h"
#include "parts/Timeline.h"

void CredsPart::init(Bitmap*, NewRenderDriver*) {
    VEX_ImageFactory factory;
    codePlate = loadRowPicture(factory, *this, 0);
    graphicsPlate = loadRowPicture(factory, *this, 1);
    musicPlate = loadRowPicture(factory, *this, 2);
    emblem = loadRowPicture(factory, *this, 3);
    // The tile is the row's last file, asked for with its folder in lower case as it always
    // was: the loaders ignore letter case, but the line that names each file as it loads
    // prints the name as asked, and the demo's output stays as it is.
    tunnelSetup = {units::kFrameWidth, units::kFrameHeight, "data/creds/tunnel1.pcx", 0};
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
