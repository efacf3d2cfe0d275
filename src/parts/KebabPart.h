#pragma once
#include "demo/DemoPart.h"
#include "parts/PowFlash.h"

class KebabObjectLoader;
class Scene;
class meshSurfaceObject;

// The 3D part: a bump- and environment-mapped object spins in front of a background
// picture; "POWPOW" flashes a full-screen picture for a second.
class KebabPart : public DemoPart {
public:
    Bitmap* background = nullptr;
    const Bitmap* powPicture = nullptr;  // shared: loaded once for every part that flashes
    meshSurfaceObject* object = nullptr;
    Scene* scene = nullptr;
    KebabObjectLoader* objectLoader = nullptr;

    // localTime, powTime and powActive, shared by all objects of the class.
    static PowFlash flash;

    void init(Bitmap* frame, NewRenderDriver* driver) override;
    void draw(Bitmap* target, NewRenderDriver* driver, float time) override;
    int32_t onEvent(const SyncEvent* event) override { return flash.onEvent(event); }
    void notify(int32_t value) override { ignoreNotify(value); }
    void rewind() override;
};
