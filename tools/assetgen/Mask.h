#pragma once
#include <functional>
#include <vector>

#include "Canvas.h"

// A coverage map (0..1 per pixel): text, shapes, and the outlines, glows and shadows made
// from them.
struct Mask {
    int width = 0, height = 0;
    std::vector<float> alpha;

    Mask() = default;
    Mask(int w, int h) : width(w), height(h), alpha(size_t(w) * h, 0.0f) {}
    float at(int x, int y) const {
        return (x < 0 || y < 0 || x >= width || y >= height) ? 0.0f : alpha[size_t(y) * width + x];
    }
    float& ref(int x, int y) { return alpha[size_t(y) * width + x]; }
};

struct Point {
    float x, y;
};

// The same mask with `border` empty pixels added on every side (room for glows).
Mask padded(const Mask& m, int border);
// Box blur of the given radius, run three times (close to a Gaussian).
Mask blurred(const Mask& m, int radius);
// A fattened copy: the mask grown by about `radius` pixels, for outlines.
Mask grown(const Mask& m, int radius);
// Coverage of a closed polygon (even-odd rule), 4x4 samples a pixel, in a w x h mask.
Mask polygonMask(int w, int h, const std::vector<Point>& corners);

// Mixes colourAt(canvas x, canvas y) over the canvas where the mask (placed with its
// top-left at (x, y)) covers, scaled by opacity.
void paintMask(Canvas& canvas, const Mask& m, int x, int y,
               const std::function<Rgb(int cx, int cy)>& colourAt, float opacity = 1.0f);
void paintMask(Canvas& canvas, const Mask& m, int x, int y, Rgb colour, float opacity = 1.0f);
// Adds colour * coverage * amount (for glows and light).
void addMask(Canvas& canvas, const Mask& m, int x, int y, Rgb colour, float amount = 1.0f);
