#pragma once
#include <cstdint>
#include <string>

class FontSheet;

// Text in the player's strips, drawn with the demo's own font sheet.

// Draws text with its top-left corner at (x, y) into a width x height strip; what falls
// outside the strip or right of `clipRight` (when given) is cut. colour 0 keeps the
// glyphs' own colours. Returns the x after the text.
int32_t drawStripText(uint32_t* pixels, int32_t width, int32_t height, int32_t x, int32_t y,
                      const FontSheet& font, const std::string& text, uint32_t colour = 0,
                      int32_t clipRight = -1);

// The status line: its background and the text a pixel below its top.
void drawStatusLine(uint32_t* pixels, int32_t width, int32_t height, const FontSheet& font,
                    const std::string& text);
