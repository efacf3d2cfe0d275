#include <algorithm>
#include <cmath>

#include "Credits.h"
#include "Lettering.h"
#include "Mask.h"
#include "Pictures.h"
#include "Random.h"

namespace {

constexpr float kPi = 3.14159265f;

// Polished-chrome lettering: sky above the horizon line, dark ground and a pink glint below.
const std::vector<ColourStop> kChrome{{0.00f, hex(0xFFFFFF)}, {0.30f, hex(0xBFE9FF)},
                                      {0.49f, hex(0x3FA8F0)}, {0.50f, hex(0x1B1446)},
                                      {0.62f, hex(0x7A2A8C)}, {0.85f, hex(0xFF7AC8)},
                                      {1.00f, hex(0xFFF0F8)}};

void scatterStars(Canvas& c, Random& rng, int count, int maxY) {
    for (int i = 0; i < count; ++i) {
        int x = rng.below(c.width()), y = rng.below(maxY);
        float b = rng.range(0.3f, 1.0f);
        c.add(x, y, {b, b, b}, 1.0f);
        if (b > 0.9f) {
            c.add(x - 1, y, {b, b, b}, 0.4f), c.add(x + 1, y, {b, b, b}, 0.4f);
            c.add(x, y - 1, {b, b, b}, 0.4f), c.add(x, y + 1, {b, b, b}, 0.4f);
        }
    }
}

// A diagonal-striped bar with a bright rim at top and bottom, behind a strip's word.
Canvas stripBar(Rgb dark, Rgb light, Rgb rim) {
    Canvas c(512, 100);
    c.shade([&](float x, float y) {
        float stripe = std::fmod(x + y * 0.8f, 40.0f) < 20.0f ? 0.0f : 0.18f;
        float band = 1.0f - std::fabs(y - 50.0f) / 50.0f;
        Rgb base = mix(dark, light, band * 0.8f + stripe);
        if (y < 4 || y > 96) base = rim;
        return base;
    });
    return c;
}

}  // namespace

Canvas makeTitle(TextRenderer& text) {
    Canvas c(512, 384);
    const int horizon = 252;
    const std::vector<ColourStop> sky{{0.0f, hex(0x070320)}, {0.45f, hex(0x3A0D62)},
                                      {0.78f, hex(0xB0186E)}, {1.0f, hex(0xFF8A3D)}};
    c.shade([&](float, float y) {
        if (y < horizon) return ramp(sky, y / horizon);
        float d = (y - horizon) / float(384 - horizon);
        return mix(hex(0x2A0640), hex(0x0A0018), std::sqrt(d));
    });
    Random rng(1);
    scatterStars(c, rng, 160, 170);

    // The sun, cut by widening gaps towards the horizon.
    const float sunX = 256, sunY = 196, sunR = 92;
    for (int y = int(sunY - sunR) - 30; y < horizon; ++y)
        for (int x = int(sunX - sunR) - 30; x < int(sunX + sunR) + 30; ++x) {
            float d = std::hypot(x + 0.5f - sunX, y + 0.5f - sunY);
            c.add(x, y, hex(0xFF4F8B), 0.35f * std::exp(-std::max(0.0f, d - sunR) / 14.0f));
            float t = (y - (sunY - sunR)) / (2 * sunR);
            float gap = t > 0.35f ? (t - 0.35f) * 26.0f : 0.0f;
            bool cut = std::fmod(float(y) - (sunY - sunR), 14.0f) < gap;
            float cover = std::clamp(sunR - d + 0.5f, 0.0f, 1.0f);
            if (!cut) c.blend(x, y, mix(hex(0xFFF36B), hex(0xFF2E88), t), cover);
        }

    // Mountains on the horizon.
    std::vector<Point> ridge{{0, float(horizon)}};
    for (int i = 0; i <= 16; ++i)
        ridge.push_back({i * 32.0f, horizon - 8 - 30 * std::fabs(std::sin(i * 1.7f)) * (float(std::abs(i - 8)) / 8.0f + 0.2f)});
    ridge.push_back({512, float(horizon)});
    paintMask(c, polygonMask(512, 384, ridge), 0, 0, [&](int, int y) {
        return mix(hex(0x1A0430), hex(0x4A1060), std::clamp((horizon - y) / 40.0f, 0.0f, 1.0f));
    });

    // Perspective grid on the ground, glowing magenta. A ground row y lies at depth
    // kDepth / (y - horizon); pixel distances to the nearest grid line decide the glow.
    const float kDepth = 6000, kFocal = 300, kSpacingX = 40, kSpacingZ = 60;
    for (int y = horizon; y < 384; ++y)
        for (int x = 0; x < 512; ++x) {
            float z = kDepth / (float(y) + 0.5f - horizon);
            float wx = (x + 0.5f - 256.0f) * z / kFocal;
            float toLineX = std::fabs(wx - std::round(wx / kSpacingX) * kSpacingX) * kFocal / z;
            float toLineZ = std::fabs(z - std::round(z / kSpacingZ) * kSpacingZ) * kDepth / (z * z);
            float glow = std::exp(-toLineX * toLineX / 1.2f) + 0.25f * std::exp(-toLineX / 5.0f) +
                         std::exp(-toLineZ * toLineZ / 1.2f) + 0.25f * std::exp(-toLineZ / 5.0f);
            // Lines closer than a few pixels near the horizon would shimmer: fade them out.
            float fade = std::clamp((kSpacingX * kFocal / z - 3.0f) / 20.0f, 0.0f, 1.0f);
            c.add(x, y, hex(0xFF3FC8), std::min(glow, 1.4f) * fade);
        }
    c.shade([&](float x, float y) {   // haze over the horizon
        Rgb p = c.at(int(x), int(y));
        return p + hex(0xFF5AA0) * (0.5f * std::exp(-std::fabs(y - horizon) / 10.0f));
    });

    TextStyle chrome;
    chrome.fill = kChrome;
    chrome.outline = 3;
    chrome.outlineColour = hex(0x12062A);
    chrome.shadowOffset = 5;
    chrome.shadowBlur = 3;
    chrome.glowRadius = 10;
    chrome.glowColour = hex(0xFF40B0);
    chrome.glowAmount = 0.9f;
    chrome.bevel = 3.0f;
    Mask title = text.render(Face::SansBoldOblique, 66, credits::kDemoName, 0, 1);
    drawText(c, title, centredX(c, title), 40, chrome);

    TextStyle small;
    small.fill = {{0, hex(0xFFFFFF)}, {1, hex(0xFFD0F0)}};
    small.shadowOffset = 2;
    small.shadowBlur = 1;
    small.glowRadius = 4;
    small.glowColour = hex(0x40C0FF);
    small.glowAmount = 0.6f;
    Mask by = text.render(Face::SansBold, 17, std::string("a realtime ride by ") + credits::kGroup, 0, 1);
    drawText(c, by, centredX(c, by), 138, small);
    Mask cpu = text.render(Face::Sans, 13, "every pixel drawn by the CPU", 0, 1);
    drawText(c, cpu, centredX(c, cpu), 355, small);
    return c;
}

Canvas makeGrymtStrip(TextRenderer& text) {
    Canvas c = stripBar(hex(0x3A0608), hex(0xE0401A), hex(0xFFD23F));
    TextStyle fire;
    fire.fill = {{0, hex(0xFFFFE0)}, {0.4f, hex(0xFFE03A)}, {1, hex(0xFF5A00)}};
    fire.outline = 4;
    fire.outlineColour = hex(0x1A0000);
    fire.shadowOffset = 4;
    fire.shadowBlur = 2;
    fire.bevel = 2.5f;
    Mask word = text.render(Face::SansBoldOblique, 78, "GRYMT!", 0, 3);
    drawText(c, word, centredX(c, word), (100 - word.height) / 2, fire);
    return c;
}

Canvas makeFlowStrip(TextRenderer& text) {
    Canvas c = stripBar(hex(0x021A3A), hex(0x1AA8E0), hex(0x7CFFE8));
    TextStyle ice;
    ice.fill = {{0, hex(0xFFFFFF)}, {0.5f, hex(0x9CF6FF)}, {1, hex(0x2A7CFF)}};
    ice.outline = 4;
    ice.outlineColour = hex(0x00081A);
    ice.shadowOffset = 4;
    ice.shadowBlur = 2;
    ice.bevel = 2.5f;
    Mask word = text.render(Face::SansBoldOblique, 78, "FLOW", 0, 10);
    drawText(c, word, centredX(c, word), (100 - word.height) / 2, ice);
    return c;
}

Canvas makePow(TextRenderer& text) {
    Canvas c(512, 384);
    const float cx = 256, cy = 192;
    // Comic rays with halftone dots that grow towards the edges.
    c.shade([&](float x, float y) {
        float a = std::atan2(y - cy, x - cx);
        bool ray = std::fmod(a + kPi + 10.0f, 2 * kPi / 18.0f) < kPi / 18.0f;
        Rgb base = ray ? hex(0xFFD400) : hex(0xFF8A00);
        float d = std::hypot(x - cx, y - cy) / 320.0f;
        float gx = std::fmod(x, 10.0f) - 5.0f, gy = std::fmod(y, 10.0f) - 5.0f;
        bool dot = std::hypot(gx, gy) < 4.2f * d;
        return dot ? base * 0.72f : base;
    });
    std::vector<Point> burst;
    Random rng(7);
    for (int i = 0; i < 28; ++i) {
        float a = 2 * kPi * i / 28.0f;
        float r = (i % 2 ? 118.0f : 182.0f) + rng.range(-16, 16);
        burst.push_back({cx + r * 1.15f * std::cos(a), cy + r * 0.85f * std::sin(a)});
    }
    Mask star = polygonMask(512, 384, burst);
    paintMask(c, grown(star, 10), 0, 0, hex(0x1A0000));
    paintMask(c, grown(star, 4), 0, 0, hex(0xFFF4B0));
    paintMask(c, star, 0, 0, [&](int, int y) { return mix(hex(0xFF2A2A), hex(0xB0001E), float(y) / 384.0f); });

    TextStyle pow;
    pow.fill = {{0, hex(0xFFFFFF)}, {0.35f, hex(0xFFF200)}, {1, hex(0xFFB000)}};
    pow.outline = 7;
    pow.outlineColour = hex(0x140000);
    pow.shadowOffset = 8;
    pow.shadowBlur = 1;
    pow.shadowOpacity = 0.9f;
    pow.bevel = 3.0f;
    Mask word = text.render(Face::SansBoldOblique, 120, "POW!", 0, 4);
    drawText(c, word, centredX(c, word), int(cy) - word.height / 2 - 6, pow);
    return c;
}
