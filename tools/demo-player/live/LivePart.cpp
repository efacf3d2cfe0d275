#include "LivePart.h"

#include <algorithm>
#include <cstdio>

#include "LivePlatform.h"
#include "PartModule.h"
#include "core/Bitmap.h"

LivePart::LivePart(std::shared_ptr<PartModule> code, DemoPart* part) : current(std::move(code)), inner(part) {
    start = part->start;
    end = part->end;
    owner = part->owner;
}

LivePart::~LivePart() {
    if (!faulted()) delete inner;
}

void LivePart::lendWindow(DemoPart& part) const {
    part.start = start;
    part.end = end;
    part.owner = owner;
}

bool LivePart::guard(const char* call, float time, const std::function<void()>& work) {
    if (faulted()) return false;
    lendWindow(*inner);
    std::string reason;
    if (live::guardedCall(work, kCallLimitSeconds, reason)) return true;
    char at[48];
    std::snprintf(at, sizeof at, " in %s at %.2f s", call, static_cast<double>(time));
    faultReason = reason + at;
    return false;
}

void LivePart::init(Bitmap* frame, NewRenderDriver* driver) {
    guard("init", start, [&] { inner->init(frame, driver); });
}

void LivePart::draw(Bitmap* target, NewRenderDriver* driver, float time) {
    const size_t pixels = static_cast<size_t>(target->width) * target->height;
    frameBefore.assign(target->pixels, target->pixels + pixels);
    if (!guard("draw", time, [&] { inner->draw(target, driver, time); }))
        std::copy(frameBefore.begin(), frameBefore.end(), target->pixels);
}

int32_t LivePart::onEvent(const SyncEvent* event) {
    int32_t result = 0;
    guard("onEvent", start, [&] { result = inner->onEvent(event); });
    return result;
}

void LivePart::notify(int32_t value) {
    guard("notify", start, [&] { inner->notify(value); });
}

void LivePart::rewind() {
    guard("rewind", start, [&] { inner->rewind(); });
}
