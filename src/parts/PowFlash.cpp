#include "parts/PowFlash.h"

#include "core/Bitmap.h"
#include "demo/DemoPart.h"

void PowFlash::reset() {
    localTime = 0.0f;
    powActive = false;
    powTime = 0.0f;
}

void PowFlash::setLocalTime(float t) {
    localTime = t;
    if (powTime > t) powActive = false;
}

int32_t PowFlash::onEvent(const SyncEvent* event) {
    int32_t result = comparePowPow(event);
    if (result == 0) {
        powActive = true;
        powTime = localTime;
    }
    return result;
}

bool PowFlash::showing() const { return powActive && localTime - powTime < 1.0; }

void PowFlash::draw(const Bitmap* powPicture, Bitmap* frame) const {
    if (showing()) powPicture->copyInto(frame, 0, 0);
}
