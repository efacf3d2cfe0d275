#pragma once
#include "Canvas.h"
#include "Mask.h"

// How a piece of text is dressed: a vertical fill gradient over its ink, an outline, a
// soft drop shadow, an additive glow and a bevel light that makes the letters look raised.
struct TextStyle {
    std::vector<ColourStop> fill{{0, {1, 1, 1}}, {1, {1, 1, 1}}};
    int outline = 0;
    Rgb outlineColour{0, 0, 0};
    int shadowOffset = 0;
    int shadowBlur = 0;
    float shadowOpacity = 0.7f;
    int glowRadius = 0;
    Rgb glowColour{1, 1, 1};
    float glowAmount = 0;
    float bevel = 0;
};

// Draws the text mask with its top-left ink corner at (x, y).
void drawText(Canvas& canvas, const Mask& text, int x, int y, const TextStyle& style);
// The x that centres a mask horizontally on the canvas.
inline int centredX(const Canvas& canvas, const Mask& m) { return (canvas.width() - m.width) / 2; }
