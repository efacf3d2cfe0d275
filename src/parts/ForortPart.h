#pragma once
#include "demo/DemoPart.h"

// A picture that drops in from above, holds, and slides out to the right.
class ForortPart : public DemoPart {
public:
    Bitmap* picture = nullptr;

    void init(Bitmap* frame, NewRenderDriver* driver) override;
    void draw(Bitmap* target, NewRenderDriver* driver, float time) override;
    // Releases what init loaded, if it ran (the demo never deletes a part; a live player
    // does); pictures handed in by others stay theirs.
    ~ForortPart() override;
    bool loadedByInit = false;
    int32_t onEvent(const SyncEvent* event) override { return ignoreEvent(event); }
    void notify(int32_t value) override { ignoreNotify(value); }

    struct Placement {
        bool visible;
        int32_t x;
        int32_t y;
    };
    // Where the picture goes at local time t; from 18 s on it is gone.
    static Placement placementAt(float t);
};
