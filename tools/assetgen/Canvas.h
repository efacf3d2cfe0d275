#pragma once
#include <cstdint>
#include <functional>
#include <vector>

// A colour with channels in 0..1 (values outside are clamped only when written out).
struct Rgb {
    float r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgb mix(Rgb a, Rgb b, float t) { return a + (b + a * -1.0f) * t; }
// 0xRRGGBB to a colour.
Rgb hex(uint32_t rgb);

// Darkening towards the corners of a w x h picture: 1 in the centre, 1 - strength at most.
float vignette(float x, float y, float w, float h, float strength);

// A colour ramp: stops at positions 0..1, interpolated linearly, clamped at the ends.
struct ColourStop {
    float at;
    Rgb colour;
};
Rgb ramp(const std::vector<ColourStop>& stops, float t);

// A floating-point RGB picture that the generators paint on.
class Canvas {
public:
    Canvas(int width, int height, Rgb fill = {});

    int width() const { return w; }
    int height() const { return h; }
    Rgb& at(int x, int y) { return px[size_t(y) * w + x]; }
    const Rgb& at(int x, int y) const { return px[size_t(y) * w + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }

    // Mixes colour over the pixel with the given coverage (0..1); ignores pixels outside.
    void blend(int x, int y, Rgb colour, float alpha);
    // Adds colour * amount to the pixel; ignores pixels outside.
    void add(int x, int y, Rgb colour, float amount);
    // Sets every pixel from a function of its centre (x + 0.5, y + 0.5).
    void shade(const std::function<Rgb(float x, float y)>& colourAt);
    // Ramps the outermost `margin` pixels down to black at the edge, for pictures that are
    // added onto others and must not show their box.
    void fadeEdgesToBlack(int margin);
    // Rows top-down of R, G, B bytes, rounded and clamped.
    std::vector<uint8_t> rgbBytes() const;

private:
    int w, h;
    std::vector<Rgb> px;
};
