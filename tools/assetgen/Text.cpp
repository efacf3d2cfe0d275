#include "Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <vector>

static std::vector<uint32_t> decodeUtf8(const std::string& s) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        uint32_t cp = extra ? (c & (0x3F >> extra)) : c;
        for (int k = 1; k <= extra && i + k < s.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += size_t(extra) + 1;
    }
    return out;
}

TextRenderer::TextRenderer(const std::string& fontDirectory) : directory(fontDirectory) {
    if (FT_Init_FreeType(&library)) throw std::runtime_error("FreeType failed to start");
}

TextRenderer::~TextRenderer() {
    for (FT_Face f : faces)
        if (f) FT_Done_Face(f);
    FT_Done_FreeType(library);
}

FT_Face TextRenderer::face(Face which) {
    // In the order of Face.
    static const char* const files[] = {"DejaVuSans.ttf",
                                        "DejaVuSans-Bold.ttf",
                                        "DejaVuSans-BoldOblique.ttf",
                                        "DejaVuSansCondensed-Bold.ttf",
                                        "DejaVuSerif-BoldItalic.ttf",
                                        "DejaVuSansMono-Bold.ttf"};
    FT_Face& f = faces[int(which)];
    if (!f) {
        std::string path = directory + "/" + files[int(which)];
        if (FT_New_Face(library, path.c_str(), 0, &f)) throw std::runtime_error("cannot load font " + path);
    }
    return f;
}

void TextRenderer::drawInto(Mask& target, FT_Face f, const std::string& utf8, int penX,
                            int baseline, int tracking, bool antialias) {
    FT_Int32 flags = FT_LOAD_RENDER | (antialias ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    for (uint32_t cp : decodeUtf8(utf8)) {
        if (FT_Load_Char(f, cp, flags)) continue;
        FT_GlyphSlot g = f->glyph;
        const FT_Bitmap& bm = g->bitmap;
        for (unsigned row = 0; row < bm.rows; ++row)
            for (unsigned col = 0; col < bm.width; ++col) {
                const unsigned char* line = bm.buffer + int(row) * bm.pitch;
                float a = bm.pixel_mode == FT_PIXEL_MODE_MONO
                              ? float((line[col >> 3] >> (7 - (col & 7))) & 1)
                              : float(line[col]) / 255.0f;
                int x = penX + g->bitmap_left + int(col), y = baseline - g->bitmap_top + int(row);
                if (x >= 0 && y >= 0 && x < target.width && y < target.height)
                    target.ref(x, y) = std::max(target.ref(x, y), a);
            }
        penX += int(g->advance.x >> 6) + tracking;
    }
}

Mask TextRenderer::render(Face which, int pixelSize, const std::string& utf8, int border,
                          int tracking) {
    FT_Face f = face(which);
    FT_Set_Pixel_Sizes(f, 0, FT_UInt(pixelSize));
    // Lay the text out on a generous sheet, then crop to the ink.
    int guessWidth = pixelSize * int(utf8.size() + 2) + std::abs(tracking) * int(utf8.size());
    int guessHeight = pixelSize * 2;
    Mask sheet(guessWidth, guessHeight);
    drawInto(sheet, f, utf8, pixelSize / 2, pixelSize * 3 / 2, tracking, true);
    int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
    for (int y = 0; y < sheet.height; ++y)
        for (int x = 0; x < sheet.width; ++x)
            if (sheet.at(x, y) > 0) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    if (x1 < 0) return Mask(2 * border, 2 * border);
    Mask out(x1 - x0 + 1 + 2 * border, y1 - y0 + 1 + 2 * border);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) out.ref(x - x0 + border, y - y0 + border) = sheet.at(x, y);
    return out;
}

Mask TextRenderer::renderCell(Face which, int pixelSize, const std::string& utf8, int width,
                              int height, int left, int baseline, bool antialias) {
    FT_Face f = face(which);
    FT_Set_Pixel_Sizes(f, 0, FT_UInt(pixelSize));
    Mask cell(width, height);
    drawInto(cell, f, utf8, left, baseline, 0, antialias);
    return cell;
}
