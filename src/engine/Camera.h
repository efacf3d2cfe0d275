#pragma once
#include <cstdint>

#include "core/Matrix.h"
#include "core/Vector.h"
#include "engine/KeyVector.h"

// A scene camera: eye position and rotation angles (radians), optionally driven by key
// tracks. Its view matrix is rebuilt by every mesh that renders.
class Camera {
public:
    keyVector rotationTrack;
    Vector angles;
    keyVector positionTrack;
    Vector position;
    Matrix* matrix;        // owned
    int32_t animated = 0;  // non-zero: the tracks drive angles and position each frame

    Camera();
    // Releases the matrix and prints "deleted camera rotation matrix \n"; then the two
    // tracks print theirs.
    ~Camera();
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // Translation by the negated position, then rotation about Y, X and Z by the angles.
    Matrix buildViewMatrix() const;
};
