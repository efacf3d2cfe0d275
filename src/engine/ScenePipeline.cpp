// The per-frame path of a scene: animate, place, collect every object's triangles, order
// them back to front, clip them at the near plane and hand them to the driver.
#include <cstdio>

#include "engine/DepthSort.h"
#include "engine/FillDispatch.h"
#include "engine/Scene.h"
#include "engine/SceneObject.h"

namespace {

void animate(SceneObject* object, double t) {
    object->position = object->positionTrack.evaluate(t);
    object->rotation = object->rotationTrack.evaluate(t);
    object->scale = object->scaleTrack.evaluate(t);
}

}  // namespace

void Scene::render(Bitmap* target, NewRenderDriver* driver, double time, uint8_t clearDepth) {
    Camera* camera = &cameras[currentCamera];
    const double t = timeScale * time;

    for (int32_t i = 0; i < objectCount; ++i)
        if (objects[i]->staticPose == 0) animate(objects[i], t);
    if (camera->animated) {
        camera->position = camera->positionTrack.evaluate(t);
        camera->angles = camera->rotationTrack.evaluate(t);
    }
    for (int32_t i = 0; i < objectCount; ++i) objects[i]->updateMatrices();

    for (int32_t i = 0; i < objectCount; ++i) drawList[i] = objects[i];
    drawCount = objectCount;

    // The fill operations add the stamp to 1/z, so the buffer needs clearing only when the
    // stamp starts again from 0.
    if (clearDepth && (frameStamp & 0xFF) == 0) {
        frameStamp = 0;
        driver->clearDepth();
    }

    const FogParameters fog{fogNear, fogFar, fogColour};
    int32_t listCount = 0;
    bool overflowReported = false;
    for (int32_t i = drawCount - 1; i >= 0; --i) {
        SceneObject* object = drawList[i];
        if (!object->producesPolygons()) continue;
        RenderPolygon** produced = object->render(camera, time, frameStamp, fogEnabled ? &fog : nullptr);
        if (!produced) continue;
        for (int32_t k = 0; k < object->polygonCount; ++k) {
            if (listCount < MaxFramePolygons) {
                polygonList[listCount++] = produced[k];
            } else if (!overflowReported) {
                std::fprintf(stderr, "scene: more than %d polygons in a frame, the rest are dropped\n",
                             MaxFramePolygons);
                overflowReported = true;
            }
        }
    }

    if (depthSort) ::depthSort(polygonList, listCount, sortBuckets[0], sortBuckets[1], sortKeys);

    driver->fogNear = fogNear;
    driver->fogFar = fogFar;
    driver->fogRange = fogNear - fogFar;
    driver->fogColour = fogColour;

    for (int32_t i = 0; i < listCount; ++i) {
        const FillOperation fill = fillOperationFor(polygonList[i]->kind, allKinds, fogEnabled);
        if (!fill) continue;
        const ClipResult clipped = clipNear(polygonList[i], &clipScratch, nearPlane);
        if (clipped.drawFirst) (driver->*fill)(clipped.first, target, frameStamp);
        if (clipped.drawSecond) (driver->*fill)(clipped.second, target, frameStamp);
    }

    for (int32_t i = drawCount - 1; i >= 0; --i)
        if (!drawList[i]->producesPolygons()) drawList[i]->draw(target, driver, camera, time, frameStamp);

    ++frameStamp;
}
