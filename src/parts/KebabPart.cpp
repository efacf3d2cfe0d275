#include "parts/KebabPart.h"

#include <cstdio>

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "engine/MeshSurfaceObject.h"
#include "engine/Scene.h"
#include "parts/KebabObjectLoader.h"
#include "parts/Timeline.h"

PowFlash KebabPart::flash;

void KebabPart::init(Bitmap*, NewRenderDriver*) {
    VEX_ImageFactory factory;
    background = factory.load("data/kebab/kebab.pcx", 512, 384, 512, 384, false, 1);
    powPicture = factory.loadShared("data/pow/pow.pcx", 512, 384, 512, 384, false, 1);
    // No line feed: the next line of output follows on the same line. Kept on purpose, the
    // demo's standard output is reproduced byte for byte.
    std::printf("innan");
    std::fflush(stdout);

    scene = new Scene;
    objectLoader = new KebabObjectLoader;
    object = objectLoader->load("data/kebab/kebab2.lwo", "data/kebab/bump.jpg",
                                "data/kebab/envmap.jpg", "data/kebab/kebabtxt.pxc");
    object->position.set(12.0, 4.0, 0.0);
    object->scale.set(1.0, 1.0, 1.0);
    scene->addObject(object);

    scene->depthSort = 1;
    scene->allKinds = 1;
    scene->fogEnabled = 0;
    scene->nearPlane = 1.0f;
    scene->setCameraPosition(0.0, 0.0, -60.0);

    flash.reset();
}

void KebabPart::draw(Bitmap* target, NewRenderDriver* driver, float time) {
    background->copyInto(target, 0, 0);
    flash.setLocalTime(time - start);
    object->rotation.set(time * 0.5, time * 2.0, time * 3.0);
    scene->render(target, driver, time, 1);
    flash.draw(powPicture, target);
}

// A flash lit anywhere in the show must not linger after a jump. The scene's depth stamp
// grows a frame at a time and the depth keys lose precision with it: from 0 again, which
// clears the depth buffer at the next frame, as at a run's first.
void KebabPart::rewind() {
    flash.reset();
    if (scene) scene->frameStamp = 0;
}

DemoPart* newKebabPart() { return new KebabPart(); }
