#pragma once
#include <cstdint>

#include "demo/DemoPart.h"
#include "parts/RotozoomEffect.h"

// Two pictures rotating and zooming over each other: the second replaces the frame, the
// first is added onto it.
class FetdelPart : public DemoPart {
public:
    RotozoomEffect* firstEffect = nullptr;
    const char* firstPath = nullptr;   // the row's first file, set by init
    RotozoomEffect* secondEffect = nullptr;
    const char* secondPath = nullptr;  // and its second

    void init(Bitmap* frame, NewRenderDriver* driver) override;
    void draw(Bitmap* target, NewRenderDriver* driver, float time) override;
    // Releases what init loaded, if it ran (the demo never deletes a part; a live player
    // does); pictures handed in by others stay theirs.
    ~FetdelPart() override;
    bool loadedByInit = false;
    int32_t onEvent(const SyncEvent* event) override { return ignoreEvent(event); }
    void notify(int32_t value) override { ignoreNotify(value); }

    struct Motion {
        float radius;
        float angle;  // used by the first effect only
        int32_t x;
        int32_t y;
    };
    // The effects' parameters at local time t.
    static Motion motionAt(float t);
};
