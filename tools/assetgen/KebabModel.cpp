#include "KebabModel.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSegments = 32;     // around the axis
constexpr int kRings = 26;        // along the axis
constexpr float kTop = 15.0f, kBottom = -15.0f;

// Radius of the meat at height y and angle a: a cone widening to the top with its rims
// rounded off, shaved ridges running around it and lumps.
float meatRadius(float y, double a) {
    float t = (y - kBottom) / (kTop - kBottom);          // 0 bottom .. 1 top
    float profile = 5.5f + 4.5f * t;
    float ends = std::sqrt(std::fmax(0.0f, 1.0f - std::pow(std::fabs(2.0f * t - 1.0f), 14.0f)));
    float ridges = 0.35f * float(std::sin(y * 2.2 + 0.8 * std::sin(a * 3.0)));
    float lumps = 0.3f * float(std::sin(a * 7.0 + y * 0.9) * std::cos(a * 4.0 - y * 1.3));
    return (profile + ridges + lumps) * (0.55f + 0.45f * ends);
}

struct Builder {
    LwobModel model;

    uint16_t point(float x, float y, float z) {
        model.points.push_back({x, y, z});
        return uint16_t(model.points.size() - 1);
    }
    void triangle(uint16_t a, uint16_t b, uint16_t c, uint16_t surface) {
        model.polygons.push_back({{a, b, c}, surface});
    }
    // Two triangles of the same orientation as the corner order p0 p1 p2 p3.
    void quad(uint16_t p0, uint16_t p1, uint16_t p2, uint16_t p3, uint16_t surface) {
        triangle(p0, p1, p2, surface);
        triangle(p0, p2, p3, surface);
    }
};

// Rings of a surface of revolution; ring r, segment s. Returns the index of the first point.
uint16_t lathe(Builder& b, int rings, int segments, float y0, float y1,
               float (*radius)(float, double)) {
    uint16_t first = uint16_t(b.model.points.size());
    for (int r = 0; r <= rings; ++r) {
        float y = y0 + (y1 - y0) * float(r) / float(rings);
        for (int s = 0; s < segments; ++s) {
            double a = 2.0 * kPi * s / segments;
            float rad = radius(y, a);
            b.point(rad * float(std::cos(a)), y, rad * float(std::sin(a)));
        }
    }
    return first;
}

// Side triangles between consecutive rings, and a fan closing each end at a centre point.
void skin(Builder& b, uint16_t first, int rings, int segments, float y0, float y1,
          uint16_t surface) {
    auto at = [&](int r, int s) { return uint16_t(first + r * segments + (s % segments)); };
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s)
            b.quad(at(r, s), at(r + 1, s), at(r + 1, s + 1), at(r, s + 1), surface);
    uint16_t bottom = b.point(0, y0, 0), top = b.point(0, y1, 0);
    for (int s = 0; s < segments; ++s) {
        b.triangle(bottom, at(0, s), at(0, s + 1), surface);
        b.triangle(top, at(rings, s + 1), at(rings, s), surface);
    }
}

float spitRadius(float, double) { return 0.45f; }

}  // namespace

LwobModel buildKebabModel() {
    Builder b;

    LwobSurface meat;
    meat.name = "Kebab";
    meat.red = 176, meat.green = 104, meat.blue = 48;
    LwobTexture texture;
    texture.typeName = "Planar Image Map";
    texture.flags = 0x4;   // project along z
    texture.size = {20.0f, 30.0f, 20.0f};
    texture.centre = {0.0f, 0.0f, 0.0f};
    texture.imageName = "data/kebab/kebabtxt.pxc";
    meat.colourTexture = texture;

    LwobSurface spit;
    spit.name = "Spit";
    spit.red = 190, spit.green = 195, spit.blue = 205;
    b.model.surfaces = {meat, spit};

    uint16_t body = lathe(b, kRings, kSegments, kBottom, kTop, meatRadius);
    skin(b, body, kRings, kSegments, kBottom, kTop, 1);
    const float spitEnd = 22.0f;
    uint16_t rod = lathe(b, 1, 6, -spitEnd, spitEnd, spitRadius);
    skin(b, rod, 1, 6, -spitEnd, spitEnd, 2);
    return b.model;
}
