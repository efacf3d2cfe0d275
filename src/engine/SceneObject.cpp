#include "engine/SceneObject.h"

#include <cstdio>

SceneObject::SceneObject() : tcbList(new Key*[TcbCapacity]()) {
    position.set(0.0, 0.0, 0.0);
    rotation.set(0.0, 0.0, 0.0);
    scale.set(0.0, 0.0, 0.0);
}

SceneObject::~SceneObject() {
    for (int32_t i = 0; i < tcbCount; ++i) delete tcbList[i];
    delete[] tcbList;
    std::printf("deallocated TCB list \n");
}

void SceneObject::draw(Bitmap*, RenderDriver*, Camera*, double, int32_t) {}

RenderPolygon** SceneObject::render(Camera*, double, int32_t, const FogParameters*) {
    polygonCount = 0;
    return nullptr;
}

void SceneObject::updateMatrices() {}
