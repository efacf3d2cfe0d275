#include "demo/Transition.h"

#include <cstring>

#include "core/Bitmap.h"
#include "core/Truncate.h"
#include "demo/DemoPart.h"

namespace {

// A zero-length fade divides by zero: its alpha, clamped to this, is still defined, and
// the blend clamps it again to 0 or 255.
constexpr int32_t kAlphaLimit = 1024;

}  // namespace

Transition::~Transition() {
    delete firstBuffer;
    delete secondBuffer;
}

void Transition::makeBuffers(const Bitmap* size) {
    firstBuffer = new Bitmap(size->width, size->height);
    secondBuffer = new Bitmap(size->width, size->height);
}

void CrossfadeTransition::init(float start, float end, int32_t, DemoPart* part,
                               NewRenderDriver* driver, Bitmap* size) {
    makeBuffers(size);
    part->draw(secondBuffer, driver, end);
    this->start = start;
    this->end = end;
}

int32_t CrossfadeTransition::alphaAt(float time, const DemoPart* incoming) const {
    return truncateClamped((time - (incoming->start - duration)) * 254.0 / duration, kAlphaLimit);
}

void CrossfadeTransition::draw(DemoPart* outgoing, DemoPart* incoming, float time,
                               NewRenderDriver* driver, Bitmap* target) {
    outgoing->draw(firstBuffer, driver, time);
    incoming->draw(secondBuffer, driver, time);
    target->blend(secondBuffer, firstBuffer, alphaAt(time, incoming));
}

void FadeInTransition::init(float start, float end, int32_t, DemoPart*, NewRenderDriver*,
                            Bitmap* size) {
    makeBuffers(size);
    if (secondBuffer->width > 0 && secondBuffer->height > 0)
        std::memset(secondBuffer->pixels, 0,
                    sizeof(uint32_t) * static_cast<size_t>(secondBuffer->width) *
                        static_cast<size_t>(secondBuffer->height));
    this->start = start;
    this->end = end;
}

int32_t FadeInTransition::alphaAt(float time) const {
    return truncateClamped((time - start) * 254.0 / (end - start), kAlphaLimit);
}

void FadeInTransition::draw(DemoPart* part, DemoPart*, float time, NewRenderDriver* driver,
                            Bitmap* target) {
    part->draw(firstBuffer, driver, time);
    target->blend(firstBuffer, secondBuffer, alphaAt(time));
}
