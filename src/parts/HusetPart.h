#pragma once
#include "core/LibcRandom.h"
#include "demo/DemoPart.h"
#include "parts/PowFlash.h"

// A background with an arrow and a trembling label; flashes on "POWPOW".
class HusetPart : public DemoPart {
public:
    Bitmap* background = nullptr;
    Bitmap* label = nullptr;
    Bitmap* arrow = nullptr;
    const Bitmap* powPicture = nullptr;  // shared: loaded once for every part that flashes
    // The demo's random sequence as its init found it; nothing else draws from it later.
    LibcRandom randomAtInit;

    // Shared by all objects of the class.
    static PowFlash flash;

    void init(Bitmap* frame, NewRenderDriver* driver) override;
    void draw(Bitmap* target, NewRenderDriver* driver, float time) override;
    int32_t onEvent(const SyncEvent* event) override { return flash.onEvent(event); }
    void notify(int32_t value) override { ignoreNotify(value); }
    void rewind() override;

    struct Point {
        int32_t x;
        int32_t y;
    };
    // The label's place from four random numbers (0..32767) drawn in order r1..r4: up to
    // three pixels around (100, 210).
    static Point labelPosition(int32_t r1, int32_t r2, int32_t r3, int32_t r4);
    // The next number 0..32767 from the demo's rand() sequence. That reaches 2^31 - 1;
    // the tremble is made for 15-bit numbers, so only those are kept.
    static int32_t nextRandom();
};
