#pragma once
#include <cstdint>

#include "demo/DemoPart.h"
#include "parts/PowFlash.h"
#include "parts/RowBlurFilter.h"

// The greetings: five name plates, each smeared sideways by a blur whose strength and
// direction swing with time, added onto a background; flashes on "POWPOW".
class GreetsPart : public DemoPart {
public:
    static constexpr int kPlateCount = 5;
    static constexpr int32_t kStartStrength = 20;   // the blur of the first frame drawn
    struct PlateSpot {
        int32_t x;
        int32_t y;
    };
    static constexpr PlateSpot kPlateSpots[kPlateCount] = {{400, 300}, {70, 150}, {400, 200}, {60, 300}, {250, 180}};

    Bitmap* background = nullptr;
    Bitmap* plates[kPlateCount] = {};
    Bitmap* scratch = nullptr;
    const Bitmap* powPicture = nullptr;  // shared: loaded once for every part that flashes
    RowBlurFilter* filters[kPlateCount] = {};

    // Shared by all objects of the class.
    static PowFlash flash;

    void init(Bitmap* frame, NewRenderDriver* driver) override;
    void draw(Bitmap* target, NewRenderDriver* driver, float time) override;
    int32_t onEvent(const SyncEvent* event) override { return flash.onEvent(event); }
    void notify(int32_t value) override { ignoreNotify(value); }
    // Each frame sets the blur of the next: back to the first frame's; the flash ends.
    void rewind() override;

    // Swings between -10 and 10 with sin(0.6 t).
    static int32_t blurStrength(float t);
};
