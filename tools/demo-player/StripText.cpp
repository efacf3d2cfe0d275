#include "StripText.h"

#include <algorithm>

#include "assets/FontSheet.h"

int32_t drawStripText(uint32_t* pixels, int32_t width, int32_t height, int32_t x, int32_t y,
                      const FontSheet& font, const std::string& text, uint32_t colour, int32_t clipRight) {
    const int32_t size = font.glyphSize;
    const int32_t right = clipRight < 0 ? width : std::min(width, clipRight);
    if (!font.glyphs) return x;
    for (unsigned char code : text) {
        const uint32_t* glyph = font.glyphs + static_cast<size_t>(code) * size * size;
        for (int32_t gy = 0; gy < size; gy++) {
            const int32_t row = y + gy;
            if (row < 0 || row >= height) continue;
            for (int32_t gx = 0; gx < size; gx++) {
                const int32_t column = x + gx;
                const uint32_t ink = glyph[gy * size + gx] & 0x00FFFFFF;
                if (column < 0 || column >= right || ink == 0) continue;
                pixels[row * width + column] = colour ? colour : glyph[gy * size + gx];
            }
        }
        x += size;
    }
    return x;
}

void drawStatusLine(uint32_t* pixels, int32_t width, int32_t height, const FontSheet& font,
                    const std::string& text) {
    for (int32_t i = 0; i < width * height; i++) pixels[i] = 0x00181818;
    drawStripText(pixels, width, height, 0, 1, font, text);
}
