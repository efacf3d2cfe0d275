#include "Canvas.h"

#include <algorithm>
#include <cmath>

Rgb hex(uint32_t rgb) {
    return {float((rgb >> 16) & 255) / 255.0f, float((rgb >> 8) & 255) / 255.0f,
            float(rgb & 255) / 255.0f};
}

float vignette(float x, float y, float w, float h, float strength) {
    float dx = (x - w / 2) / (w / 2), dy = (y - h / 2) / (h / 2);
    return 1.0f - strength * std::min(1.0f, (dx * dx + dy * dy) * 0.5f);
}

Rgb ramp(const std::vector<ColourStop>& stops, float t) {
    if (t <= stops.front().at) return stops.front().colour;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].at) {
            float span = stops[i].at - stops[i - 1].at;
            float f = span > 0 ? (t - stops[i - 1].at) / span : 1.0f;
            return mix(stops[i - 1].colour, stops[i].colour, f);
        }
    }
    return stops.back().colour;
}

Canvas::Canvas(int width, int height, Rgb fill)
    : w(width), h(height), px(size_t(width) * height, fill) {}

void Canvas::blend(int x, int y, Rgb colour, float alpha) {
    if (!inside(x, y) || alpha <= 0) return;
    Rgb& p = at(x, y);
    p = mix(p, colour, std::min(alpha, 1.0f));
}

void Canvas::add(int x, int y, Rgb colour, float amount) {
    if (!inside(x, y) || amount <= 0) return;
    Rgb& p = at(x, y);
    p = p + colour * amount;
}

void Canvas::shade(const std::function<Rgb(float x, float y)>& colourAt) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) at(x, y) = colourAt(float(x) + 0.5f, float(y) + 0.5f);
}

void Canvas::fadeEdgesToBlack(int margin) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int edge = std::min({x, y, w - 1 - x, h - 1 - y});
            if (edge < margin) at(x, y) = at(x, y) * (float(edge) / float(margin));
        }
}

std::vector<uint8_t> Canvas::rgbBytes() const {
    auto toByte = [](float v) {
        return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    std::vector<uint8_t> out(px.size() * 3);
    for (size_t i = 0; i < px.size(); ++i) {
        out[i * 3] = toByte(px[i].r);
        out[i * 3 + 1] = toByte(px[i].g);
        out[i * 3 + 2] = toByte(px[i].b);
    }
    return out;
}
