#include "parts/ForstaPart.h"

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "parts/FrameFill.h"
#include "parts/Timeline.h"

void ForstaPart::init(Bitmap* frame, NewRenderDriver*) {
    this->frame = frame;
    VEX_ImageFactory factory;
    title = factory.load("data/Forsta/titel.pcx", 512, 384, 512, 384, false, 1);
    black = new Bitmap(512, 384);
    fillBitmap(black, 0);
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

DemoPart* newForstaPart() { return new ForstaPart(); }
