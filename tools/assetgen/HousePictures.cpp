#include <algorithm>
#include <cmath>

#include "Lettering.h"
#include "Pictures.h"
#include "Random.h"

// The house at night: the block of flats, the cottage the label sits on, and the label
// and arrow that are added onto it.

Canvas makeHouse(TextRenderer& text) {
    Canvas c(512, 384);
    const int ground = 336;
    c.shade([&](float x, float y) {
        if (y >= ground) return mix(hex(0x10141E), hex(0x05070C), (y - ground) / 48.0f);
        return mix(hex(0x060A24), hex(0x34306E), std::pow(y / ground, 1.6f)) * vignette(x, y, 512, 384, 0.3f);
    });
    Random rng(90);
    // One draw a statement: the order of a call's arguments is unspecified. This is the
    // order the stars were first drawn in.
    for (int i = 0; i < 140; ++i) {
        float strength = rng.range(0.2f, 0.9f);
        int y = rng.below(100);
        int x = rng.below(512);
        c.add(x, y, Rgb{1, 1, 0.9f}, strength);
    }
    // Moon with a halo.
    for (int y = 0; y < 240; ++y)
        for (int x = 260; x < 512; ++x) {
            float d = std::hypot(x + 0.5f - 424.0f, y + 0.5f - 66.0f);
            c.add(x, y, hex(0x8090FF), 0.5f * std::exp(-std::max(0.0f, d - 26) / 16.0f));
            c.blend(x, y, mix(hex(0xFFFBE8), hex(0xC8C8D8), (y - 40) / 52.0f), std::clamp(26.5f - d, 0.0f, 1.0f));
        }

    // The block of flats: left and right towers, lit windows, and the one window the
    // arrow points at (x 246..271, y 211..230) burning brightest.
    const int left = 236, right = 492, roof = 120;
    c.shade([&](float x, float y) {
        Rgb p = c.at(int(x), int(y));
        if (x < left || x >= right || y < roof || y >= ground) return p;
        return mix(hex(0x3C4258), hex(0x23283A), (y - roof) / float(ground - roof));
    });
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 8; ++col) {
            int wx = left + 10 + col * 30, wy = roof + 4 + row * 29;
            bool target = row == 3 && col == 0;
            bool lit = target || rng.unit() < 0.45f;
            Rgb glass = lit ? (rng.unit() < 0.3f ? hex(0x9AD0FF) : hex(0xFFCB6A)) : hex(0x10141E);
            if (target) glass = hex(0xFFF0B0);
            for (int y = wy; y < wy + 20; ++y)
                for (int x = wx; x < wx + 26; ++x) c.at(x, y) = glass * (lit ? 1.0f - 0.3f * (y - wy) / 20.0f : 1.0f);
            if (lit)
                for (int y = wy - 8; y < wy + 28; ++y)
                    for (int x = wx - 8; x < wx + 34; ++x) {
                        float d = std::hypot(std::max({0, wx - x, x - (wx + 25)}), std::max({0, wy - y, y - (wy + 19)}));
                        if (d > 0) c.add(x, y, glass, (target ? 0.6f : 0.35f) * std::exp(-d / 3.0f));
                    }
            for (int x = wx - 2; x < wx + 28; ++x) c.at(x, wy + 21) = hex(0x5A6078);   // sill
        }
    // A low house on the left where the label sits, kept dark so the label reads.
    std::vector<Point> cottage{{20, 336}, {20, 250}, {110, 190}, {200, 250}, {200, 336}};
    paintMask(c, polygonMask(512, 384, cottage), 0, 0, hex(0x1A1C2A));
    for (int x = 20; x <= 200; ++x) {   // moonlight on the roof's right slope
        int ridgeY = x < 110 ? 250 - (x - 20) * 60 / 90 : 190 + (x - 110) * 60 / 90;
        c.blend(x, ridgeY, hex(0x8088B0), x >= 110 ? 0.9f : 0.4f);
    }
    for (int y = 262; y < 292; ++y)     // a warm kitchen window and a door
        for (int x = 40; x < 76; ++x) c.at(x, y) = (x == 57 || y == 276) ? hex(0x2A2020) : hex(0xFFB050);
    for (int y = 280; y < 336; ++y)
        for (int x = 150; x < 178; ++x) c.at(x, y) = hex(0x3A2A22) * (x == 172 && y == 308 ? 3.0f : 1.0f);

    TextStyle sign;
    sign.fill = {{0, hex(0xFFFFFF)}, {1, hex(0xB8C8FF)}};
    sign.shadowOffset = 3;
    sign.shadowBlur = 2;
    sign.glowRadius = 6;
    sign.glowColour = hex(0x6070FF);
    sign.glowAmount = 0.7f;
    Mask title = text.render(Face::SerifBoldItalic, 44, "Huset", 0, 2);
    drawText(c, title, 28, 28, sign);
    return c;
}

Canvas makeMeLabel(TextRenderer& text) {
    Canvas c(100, 30);
    TextStyle style;
    style.fill = {{0, hex(0xFFFFFF)}, {1, hex(0xFFD23A)}};
    style.glowRadius = 2;
    style.glowColour = hex(0xFF6A00);
    style.glowAmount = 0.6f;
    Mask word = text.render(Face::SansBold, 22, "JAG", 0, 3);
    drawText(c, word, centredX(c, word), (30 - word.height) / 2, style);
    c.fadeEdgesToBlack(3);
    return c;
}

Canvas makeArrow() {
    Canvas c(40, 40);
    std::vector<Point> arrow{{3, 15}, {22, 15}, {22, 5}, {38, 20}, {22, 35}, {22, 25}, {3, 25}};
    Mask shape = polygonMask(40, 40, arrow);
    paintMask(c, shape, 0, 0, [](int, int y) { return mix(hex(0xFFF06A), hex(0xFF7A00), y / 39.0f); });
    return c;
}
