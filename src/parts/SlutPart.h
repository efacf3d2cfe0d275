#pragma once
#include <cstdint>

#include "demo/DemoPart.h"

// The closing text scrolling up over a dark grey-blue background.
class SlutPart : public DemoPart {
public:
    Bitmap* scroller = nullptr;

    static constexpr uint32_t kBackground = 0x004A525A;

    void init(Bitmap* frame, NewRenderDriver* driver) override;
    void draw(Bitmap* target, NewRenderDriver* driver, float time) override;
    // Releases what init loaded, if it ran (the demo never deletes a part; a live player
    // does); pictures handed in by others stay theirs.
    ~SlutPart() override;
    bool loadedByInit = false;
    int32_t onEvent(const SyncEvent* event) override { return ignoreEvent(event); }
    void notify(int32_t value) override { ignoreNotify(value); }

    // Starts just below the screen and rises 50 pixels a second.
    static int32_t scrollerY(float t);
};
