#pragma once
#include <cstdint>

#include "demo/DemoPart.h"
#include "parts/TunnelEffect.h"

// The credits: a textured tunnel, an emblem and three name plates swinging in and out,
// all added onto the tunnel with saturation.
class CredsPart : public DemoPart {
public:
    Bitmap* codePlate = nullptr;
    Bitmap* graphicsPlate = nullptr;
    Bitmap* musicPlate = nullptr;
    Bitmap* emblem = nullptr;
    TunnelEffect* tunnel = nullptr;
    TunnelSetup tunnelSetup{};

    void init(Bitmap* frame, NewRenderDriver* driver) override;
    void draw(Bitmap* target, NewRenderDriver* driver, float time) override;
    // Releases what init loaded, if it ran (the demo never deletes a part; a live player
    // does); pictures handed in by others stay theirs.
    ~CredsPart() override;
    bool loadedByInit = false;
    int32_t onEvent(const SyncEvent* event) override { return ignoreEvent(event); }
    void notify(int32_t value) override { ignoreNotify(value); }

    struct PlatePositions {
        int32_t codeX;      // slides in from the right
        int32_t graphicsX;  // slides in from the left
        int32_t musicY;     // rises from below
    };
    // At local time 0 all plates are off screen; at sin(0.6 t) = 1 they are fully in.
    static PlatePositions platePositions(float t);
};
