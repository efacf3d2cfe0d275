#pragma once
#include "demo/DemoPart.h"
#include "parts/PowFlash.h"

// Two strips sliding past each other at 300 pixels a second; flashes on "POWPOW".
class GrymtPart : public DemoPart {
public:
    const Bitmap* upperStrip = nullptr;  // shared by the objects of the class
    const Bitmap* lowerStrip = nullptr;
    const Bitmap* powPicture = nullptr;  // shared: loaded once for every part that flashes

    // Shared by all objects of the class.
    static PowFlash flash;

    void init(Bitmap* frame, NewRenderDriver* driver) override;
    void draw(Bitmap* target, NewRenderDriver* driver, float time) override;
    int32_t onEvent(const SyncEvent* event) override { return flash.onEvent(event); }
    void notify(int32_t value) override { ignoreNotify(value); }
    void rewind() override;

    // The upper strip enters from the right edge, the lower one from 100 pixels left of the screen.
    static int32_t upperStripX(float t);
    static int32_t lowerStripX(float t);
};
