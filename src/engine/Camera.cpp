#include "engine/Camera.h"

#include <cstdio>

Camera::Camera() : matrix(new Matrix) {
    angles.set(0.0, 0.0, 0.0);
    position.set(0.0, 0.0, 0.0);
}

Camera::~Camera() {
    delete matrix;
    std::printf("deleted camera rotation matrix \n");
}

Matrix Camera::buildViewMatrix() const {
    Matrix view;
    Matrix factor;
    factor.setTranslation(-position.x, -position.y, -position.z);
    view.multiplyInPlace(factor);
    factor.setRotationY(angles.y);
    view.multiplyInPlace(factor);
    factor.setRotationX(angles.x);
    view.multiplyInPlace(factor);
    factor.setRotationZ(angles.z);
    view.multiplyInPlace(factor);
    return view;
}
