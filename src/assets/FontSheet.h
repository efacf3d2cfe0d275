#pragma once
#include <cstdint>
#include <memory>

class Bitmap;

// Square glyphs cut from a 320 x 200 sheet picture: cell k of `glyphs` holds the glyph of
// character code k, glyphSize * glyphSize pixels, rows top-down. The owner sets glyphSize
// and firstCode before loadSheet.
class FontSheet {
public:
    int32_t glyphSize = 8;
    int32_t firstCode = 31;
    uint32_t* glyphs = nullptr;  // 256 cells; codes without a glyph are blank
    int32_t* spare = nullptr;    // glyphSize integers, allocated with glyphs and not filled

    FontSheet();
    ~FontSheet();
    FontSheet(const FontSheet&) = delete;
    FontSheet& operator=(const FontSheet&) = delete;

    // Loads the sheet through the image factory and copies cells firstCode..127 into place:
    // sheet cell n lies at column (n * glyphSize) % 320, row (n * glyphSize / 320) * glyphSize.
    // A glyphSize outside 1..200 loads nothing; cells not wholly inside the picture stay blank.
    void loadSheet(const char* fileName);

    static constexpr int32_t kSheetWidth = 320;
    static constexpr int32_t kSheetHeight = 200;
    static constexpr int32_t kCellCount = 256;

private:
    // The loaded sheet, kept for the sheet's lifetime like the rest of the demo's pictures.
    std::unique_ptr<Bitmap> picture_;
};
