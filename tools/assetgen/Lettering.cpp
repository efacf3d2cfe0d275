#include "Lettering.h"

#include <algorithm>
#include <cmath>

void drawText(Canvas& canvas, const Mask& text, int x, int y, const TextStyle& style) {
    const int border = style.outline + std::abs(style.shadowOffset) + 3 * style.shadowBlur +
                       3 * style.glowRadius + 2;
    const Mask ink = padded(text, border);
    const int ox = x - border, oy = y - border;
    const Mask body = style.outline > 0 ? grown(ink, style.outline) : ink;

    if (style.glowRadius > 0) addMask(canvas, blurred(body, style.glowRadius), ox, oy, style.glowColour, style.glowAmount);
    if (style.shadowOffset != 0 || style.shadowBlur > 0)
        paintMask(canvas, blurred(body, style.shadowBlur), ox + style.shadowOffset,
                  oy + style.shadowOffset, Rgb{0, 0, 0}, style.shadowOpacity);
    if (style.outline > 0) paintMask(canvas, body, ox, oy, style.outlineColour);

    // Bevel: light from the upper left on the slope of a softened copy of the letters.
    const Mask soft = style.bevel > 0 ? blurred(ink, 2) : Mask();
    const float height = float(std::max(1, text.height));
    paintMask(canvas, ink, ox, oy, [&](int cx, int cy) {
        Rgb c = ramp(style.fill, float(cy - y) / height);
        if (style.bevel > 0) {
            int mx = cx - ox, my = cy - oy;
            float slope = (soft.at(mx - 1, my - 1) - soft.at(mx + 1, my + 1)) * style.bevel;
            c = slope > 0 ? mix(c, Rgb{1, 1, 1}, std::min(slope, 1.0f)) : c * (1.0f + std::max(slope, -0.6f));
        }
        return c;
    });
}
