#include "parts/ForstaPart.h"

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "core/Units.h"
#include "parts/FrameFill.h"
#include "parts/PartFiles.h"
#include "parts/Timeline.h"

void ForstaPart::init(Bitmap* frame, NewRenderDriver*) {
    this->frame = frame;
    VEX_ImageFactory factory;
    title = loadRowPicture(factory, *this, 0);
    black = new Bitmap(units::kFrameWidth, units::kFrameHeight);
    fillBitmap(black, 0);
    loadedByInit = true;
}

ForstaPart::FadeStep ForstaPart::fadeAt(float t) {
    if (t < 5.0f) return {Fade::In, static_cast<int32_t>(t * 51)};
    if (t > 15.0f && t < 20.0f) return {Fade::Out, static_cast<int32_t>((t - 15) * 51)};
    return {Fade::None, 0};
}

void ForstaPart::draw(Bitmap* target, NewRenderDriver*, float time) {
    FadeStep step = fadeAt(time - start);
    // Between the fades the frame is left as it is.
    if (step.fade == Fade::In) target->blend(title, black, step.alpha);
    if (step.fade == Fade::Out) target->blend(black, title, step.alpha);
}

void ForstaPart::rewind() {
    if (frame) fillBitmap(frame, 0);
}

ForstaPart::~ForstaPart() {
    if (!loadedByInit) return;
    delete title;
    delete black;
}

DemoPart* newForstaPart() { return new ForstaPart(); }
