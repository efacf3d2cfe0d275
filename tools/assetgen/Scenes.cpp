#include <algorithm>
#include <cmath>

#include "Credits.h"
#include "Lettering.h"
#include "Noise.h"
#include "Pictures.h"
#include "Random.h"

namespace {

constexpr float kPi = 3.14159265f;

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
