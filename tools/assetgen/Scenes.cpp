#include <algorithm>
#include <cmath>

#include "Credits.h"
#include "Lettering.h"
#include "Noise.h"
#include "Pictures.h"
#include "Random.h"

namespace {

constexpr float kPi = 3.14159265f;

float vignette(float x, float y, float w, float h, float strength) {
    float dx = (x - w / 2) / (w / 2), dy = (y - h / 2) / (h / 2);
    return 1.0f - strength * std::min(1.0f, (dx * dx + dy * dy) * 0.5f);
}

void brickWall(Canvas& c, int groundY) {
    constexpr float kBrickW = 48, kBrickH = 20;
    c.shade([&](float x, float y) {
        if (y >= groundY) {
            float grit = periodicNoise(x * 0.8f, y * 0.8f, 512, 5);
            return hex(0x1E1E24) * (0.7f + 0.5f * grit);
        }
        int row = int(y / kBrickH);
        float shift = (row % 2) * kBrickW / 2;
        float bx = std::fmod(x + shift, kBrickW), by = std::fmod(y, kBrickH);
        int brick = int((x + shift) / kBrickW) * 31 + row * 17;
        float tone = 0.8f + 0.25f * float((brick * 2654435761u >> 13) % 100) / 100.0f;
        float grime = periodicFbm(x, y, 512, 16, 4, 3);
        Rgb colour = hex(0x8E3A26) * (tone * (0.7f + 0.5f * grime));
        if (bx < 3 || by < 3) colour = hex(0x7A7068) * (0.6f + 0.4f * grime);
        return colour * vignette(x, y, 512, 384, 0.6f);
    });
}

// Paint runs down from the lower edge of the letters in a few places.
void drips(Canvas& c, const Mask& letters, int x, int y, Random& rng, Rgb paint) {
    for (int i = 0; i < 26; ++i) {
        int mx = rng.below(letters.width);
        int bottom = -1;
        for (int my = letters.height - 1; my >= 0; --my)
            if (letters.at(mx, my) > 0.9f) {
                bottom = my;
                break;
            }
        if (bottom < 0) continue;
        int length = 10 + rng.below(40);
        bottom -= 4;
        for (int k = 0; k < length; ++k)
            for (int w = -2; w <= 2; ++w)
                c.blend(x + mx + w, y + bottom + k, paint * (1.0f - 0.3f * float(k) / length), std::abs(w) < 2 ? 1.0f : 0.4f);
        for (int w = -3; w <= 3; ++w)
            for (int h = -3; h <= 3; ++h)
                if (w * w + h * h <= 10) c.blend(x + mx + w, y + bottom + length + h, paint * 0.7f, 0.95f);
    }
}

// A neon tube: a white-hot core inside a coloured tube inside a wide glow.
void neon(Canvas& c, const Mask& letters, int x, int y, Rgb tube) {
    Mask edge(letters.width, letters.height);
    Mask fat = grown(letters, 2);
    for (size_t i = 0; i < edge.alpha.size(); ++i)
        edge.alpha[i] = std::clamp(fat.alpha[i] - letters.alpha[i], 0.0f, 1.0f);
    Mask wide = padded(edge, 24);
    addMask(c, blurred(wide, 10), x - 24, y - 24, tube, 1.6f);
    addMask(c, blurred(wide, 3), x - 24, y - 24, tube, 1.2f);
    paintMask(c, edge, x, y, mix(tube, Rgb{1, 1, 1}, 0.75f));
}

}  // namespace

Canvas makeGraffiti(TextRenderer& text) {
    Canvas c(512, 384);
    brickWall(c, 330);
    Random rng(44);

    Mask word = text.render(Face::SansBoldOblique, 104, "F\xC3\x96RORT", 0, -4);
    const int wx = centredX(c, word), wy = 96;
    addMask(c, blurred(padded(word, 40), 16), wx - 40, wy - 40, hex(0xFF2FB0), 0.9f);   // overspray
    TextStyle spray;
    spray.fill = {{0, hex(0xC6FF3A)}, {0.5f, hex(0x2AF0D0)}, {1, hex(0x2A6CFF)}};
    spray.outline = 8;
    spray.outlineColour = hex(0xFFFFFF);
    spray.shadowOffset = 6;
    spray.shadowBlur = 3;
    spray.shadowOpacity = 0.8f;
    spray.bevel = 2.0f;
    paintMask(c, grown(padded(word, 14), 12), wx - 14, wy - 14, hex(0x0A0A14));
    drawText(c, word, wx, wy, spray);
    drips(c, word, wx, wy, rng, hex(0x2A6CFF));

    TextStyle tag;
    tag.fill = {{0, hex(0xFFE23A)}, {1, hex(0xFF8A00)}};
    tag.outline = 2;
    tag.outlineColour = hex(0x140800);
    tag.shadowOffset = 2;
    Mask signature = text.render(Face::SerifBoldItalic, 30, credits::kGraphician, 0, 0);
    drawText(c, signature, 300, 250, tag);

    for (int i = 0; i < 900; ++i) {   // stray spray dots
        float a = rng.range(0, 2 * kPi), r = 140 * std::sqrt(rng.unit());
        c.blend(int(256 + 1.6f * r * std::cos(a)), int(150 + 0.8f * r * std::sin(a)), hex(0xFF2FB0), 0.6f);
    }
    return c;
}

Canvas makeKebabBackdrop(TextRenderer& text) {
    Canvas c(512, 384);
    const float cx = 256, cy = 210;
    c.shade([&](float x, float y) {
        float a = std::atan2(y - cy, x - cx);
        float d = std::hypot(x - cx, y - cy);
        float rays = (0.5f + 0.5f * std::sin(a * 14.0f)) * std::clamp(d / 160.0f, 0.0f, 1.0f);
        Rgb base = mix(hex(0xFFB040), hex(0x3A0610), std::clamp(d / 300.0f, 0.0f, 1.0f));
        base = base * (0.8f + 0.2f * rays);
        if (y < 92 && x > 96 && x < 416) {   // the sign board
            float edge = std::min({y - 6.0f, 92.0f - y, x - 96.0f, 416.0f - x});
            base = edge < 3 ? hex(0x606068) : mix(hex(0x14080C), hex(0x2A1418), y / 92.0f);
            if (y < 6) base = c.at(int(x), int(y));
        }
        return base * vignette(x, y, 512, 384, 0.5f);
    });
    Mask sign = text.render(Face::SansBold, 62, "KEBAB", 0, 6);
    neon(c, sign, centredX(c, sign), 18, hex(0xFF2A8A));

    TextStyle price;
    price.fill = {{0, hex(0xFFFFA0)}, {1, hex(0xFFC000)}};
    price.outline = 3;
    price.outlineColour = hex(0x2A0000);
    price.shadowOffset = 3;
    price.shadowBlur = 2;
    price.bevel = 2.0f;
    Mask offer = text.render(Face::SansBoldOblique, 30, "MED ALLT  59:-", 0, 1);
    drawText(c, offer, 512 - offer.width - 18, 384 - offer.height - 16, price);
    return c;
}

Canvas makeHouse(TextRenderer& text) {
    Canvas c(512, 384);
    const int ground = 336;
    c.shade([&](float x, float y) {
        if (y >= ground) return mix(hex(0x10141E), hex(0x05070C), (y - ground) / 48.0f);
        return mix(hex(0x060A24), hex(0x34306E), std::pow(y / ground, 1.6f)) * vignette(x, y, 512, 384, 0.3f);
    });
    Random rng(90);
    for (int i = 0; i < 140; ++i) c.add(rng.below(512), rng.below(100), Rgb{1, 1, 0.9f}, rng.range(0.2f, 0.9f));
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
    return c;
}

Canvas makeArrow() {
    Canvas c(40, 40);
    std::vector<Point> arrow{{3, 15}, {22, 15}, {22, 5}, {38, 20}, {22, 35}, {22, 25}, {3, 25}};
    Mask shape = polygonMask(40, 40, arrow);
    paintMask(c, shape, 0, 0, [](int, int y) { return mix(hex(0xFFF06A), hex(0xFF7A00), y / 39.0f); });
    return c;
}
