#include <algorithm>
#include <cmath>

#include "Credits.h"
#include "Lettering.h"
#include "Pictures.h"

namespace {

constexpr float kPi = 3.14159265f;

// A credit plate: a small role word above a large glowing handle and, if given, a line
// below it; on black so that it can be added onto the tunnel.
Canvas creditPlate(TextRenderer& text, int height, const char* role, const char* handle,
                   const char* note, Rgb light, Rgb deep, int handleX) {
    Canvas c(512, height);
    TextStyle roleStyle;
    roleStyle.fill = {{0, light}, {1, light}};
    Mask roleMask = text.render(Face::SansBold, 16, role, 0, 4);
    drawText(c, roleMask, handleX + 4, 8, roleStyle);

    TextStyle handleStyle;
    handleStyle.fill = {{0, hex(0xFFFFFF)}, {0.45f, light}, {1, deep}};
    handleStyle.glowRadius = 5;
    handleStyle.glowColour = deep;
    handleStyle.glowAmount = 0.8f;
    handleStyle.bevel = 2.0f;
    Mask handleMask = text.render(Face::SansBoldOblique, 46, handle, 0, 1);
    drawText(c, handleMask, handleX, 30, handleStyle);
    // A thin rule under the role word.
    for (int x = handleX + 4; x < handleX + 4 + 160; ++x) c.add(x, 27, light, 0.8f * (1.0f - (x - handleX) / 170.0f));
    if (note) {
        TextStyle noteStyle;
        noteStyle.fill = {{0, hex(0xD0C0A0)}, {1, hex(0x907850)}};
        Mask line = text.render(Face::Sans, 15, note, 0, 1);
        drawText(c, line, handleX + 4, 100, noteStyle);
    }
    c.fadeEdgesToBlack(4);
    return c;
}

}  // namespace

Canvas makeCodePlate(TextRenderer& text) {
    return creditPlate(text, 80, "CODE", credits::kCoder, nullptr, hex(0x7FE8FF), hex(0x1060FF), 200);
}

Canvas makeGraphicsPlate(TextRenderer& text) {
    return creditPlate(text, 80, "GRAPHICS", credits::kGraphician, nullptr, hex(0xFF8AD8), hex(0xC0108A), 40);
}

Canvas makeMusicPlate(TextRenderer& text) {
    return creditPlate(text, 160, "MUSIC", credits::kMusician, "synthesised from scratch at 120 bpm",
                       hex(0xFFD870), hex(0xFF5A00), 120);
}

Canvas makeEmblem() {
    Canvas c(256, 256);
    const float cx = 128, cy = 128;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            float ring = std::exp(-std::pow((d - 112) / 4.0f, 2.0f)) + 0.5f * std::exp(-std::pow((d - 100) / 1.5f, 2.0f));
            c.add(x, y, hex(0xFFC040), ring);
            float a = std::atan2(y + 0.5f - cy, x + 0.5f - cx);
            float rays = std::pow(0.5f + 0.5f * std::cos(a * 12.0f), 8.0f) * std::clamp((100 - d) / 100.0f, 0.0f, 1.0f);
            c.add(x, y, hex(0x803010), rays * 0.6f);
        }
    // The meat cone on its spit, shaded in bands.
    // No lettering here: the name plates slide across the emblem.
    std::vector<Point> cone{{92, 56}, {164, 56}, {150, 170}, {106, 170}};
    Mask meat = polygonMask(256, 256, cone);
    addMask(c, blurred(meat, 8), 0, 0, hex(0xFF6A10), 0.8f);   // warmth of the grill
    paintMask(c, meat, 0, 0, [](int x, int y) {
        float band = 0.75f + 0.25f * std::sin(y * 0.7f);
        float round = 1.0f - std::pow((x - 128) / 38.0f, 2.0f) * 0.6f;
        return hex(0xD06A28) * (band * round);
    });
    for (int y = 40; y < 196; ++y)
        for (int x = 126; x < 130; ++x) c.at(x, y) = mix(hex(0xFFFFFF), hex(0x808890), (x - 126) / 3.0f);
    for (int i = 0; i < 5; ++i) {   // five little stars
        float a = kPi * (0.25f + 0.125f * i);
        int sx = int(cx + 82 * std::cos(a + kPi)), sy = int(cy - 82 * std::sin(a));
        for (int k = -3; k <= 3; ++k) {
            c.add(sx + k, sy, hex(0xFFFFFF), 1.0f - std::abs(k) / 4.0f);
            c.add(sx, sy + k, hex(0xFFFFFF), 1.0f - std::abs(k) / 4.0f);
        }
    }
    return c;
}

Canvas makeGreetingsBackdrop(TextRenderer& text) {
    Canvas c(512, 384);
    c.shade([](float x, float y) {
        float d = std::hypot((x - 256) / 256.0f, (y - 200) / 220.0f);
        return mix(hex(0x1A1040), hex(0x020208), std::min(1.0f, d));
    });
    // A crest in the middle: a shield with a gold rim, dim enough for the names on top.
    std::vector<Point> shield;
    for (int i = 0; i <= 20; ++i) {
        float t = i / 20.0f;
        shield.push_back({136 + 240 * t, 110 + 14 * std::sin(t * kPi) * -1});
    }
    for (int i = 0; i <= 24; ++i) {
        float t = i / 24.0f;
        float a = t * kPi;
        shield.push_back({256 + 120 * std::cos(a), 230 + 130 * std::pow(std::max(0.0f, std::sin(a)), 0.8f)});
    }
    Mask crest = polygonMask(512, 384, shield);
    addMask(c, blurred(crest, 12), 0, 0, hex(0x6040C0), 0.5f);
    paintMask(c, grown(crest, 4), 0, 0, hex(0xB08A30));
    paintMask(c, crest, 0, 0, [](int, int y) { return mix(hex(0x2A1A50), hex(0x0C0818), (y - 100) / 260.0f); });
    for (int y = 120; y < 350; ++y)     // a dim chevron stripe down the shield
        for (int x = 136; x < 376; ++x)
            if (crest.at(x, y) > 0 && std::fabs(std::fabs(x - 256.0f) - (y - 140) * 0.5f) < 6)
                c.add(x, y, hex(0x403070), 0.6f);

    TextStyle title;
    title.fill = {{0, hex(0xFFF6C8)}, {0.5f, hex(0xFFC840)}, {1, hex(0xB86A10)}};
    title.outline = 2;
    title.outlineColour = hex(0x201000);
    title.shadowOffset = 4;
    title.shadowBlur = 3;
    title.glowRadius = 8;
    title.glowColour = hex(0xFF8020);
    title.glowAmount = 0.5f;
    title.bevel = 2.5f;
    Mask word = text.render(Face::SerifBoldItalic, 52, "Greetings", 0, 1);
    drawText(c, word, centredX(c, word), 22, title);
    return c;
}

Canvas makeGreetPlate(TextRenderer& text, int number) {
    static const uint32_t light[5] = {0x80FFB0, 0xFF9AE0, 0x90D8FF, 0xFFE070, 0xFFA070};
    static const uint32_t deep[5] = {0x10A040, 0xC02090, 0x2060E0, 0xE08000, 0xD03010};
    const int i = std::clamp(number, 1, 5) - 1;
    Canvas c(100, 30);
    Mask name;
    for (int size = 28; size >= 9; --size) {   // the largest size that fits the plate
        name = text.render(Face::Condensed, size, credits::kGreeted[i], 0, 0);
        if (name.width <= 94 && name.height <= 25) break;
    }
    TextStyle style;
    style.fill = {{0, hex(0xFFFFFF)}, {0.4f, hex(light[i])}, {1, hex(deep[i])}};
    style.glowRadius = 2;
    style.glowColour = hex(deep[i]);
    style.glowAmount = 0.5f;
    drawText(c, name, centredX(c, name), (30 - name.height) / 2, style);
    c.fadeEdgesToBlack(3);
    return c;
}
