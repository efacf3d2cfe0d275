#include <algorithm>

#include "Pictures.h"

// Glyphs are antialiased on black (coverage scales the colour) and coloured with a warm
// gradient down each cell; descenders are cut at the cell's lower edge.
Canvas makeFontSheet(TextRenderer& text) {
    constexpr int kCell = 8, kFirstCode = 31, kLastCode = 127, kSheetWidth = 320;
    Canvas sheet(kSheetWidth, 200);
    const std::vector<ColourStop> warm{{0.0f, hex(0xFFFFFF)}, {0.45f, hex(0xFFE066)}, {1.0f, hex(0xFF7A1A)}};
    for (int code = kFirstCode + 1; code < kLastCode; ++code) {
        int n = code - kFirstCode;
        int left = (n * kCell) % kSheetWidth, top = (n * kCell / kSheetWidth) * kCell;
        Mask glyph = text.renderCell(Face::MonoBold, 9, std::string(1, char(code)), kCell, kCell, 1, 7, true);
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                sheet.at(left + x, top + y) = ramp(warm, float(y) / (kCell - 1)) * std::min(1.0f, glyph.at(x, y) * 1.3f);
    }
    return sheet;
}
