#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "Pictures.h"

// Every pattern here is built from whole periods over 256 pixels (sines with integer
// frequencies, lattices that divide 256, periodic noise), so the tiles wrap seamlessly.

namespace {

constexpr float kTau = 6.2831853f;
constexpr int kTile = 256;

float wave(float x, float y, float fx, float fy, float phase) {
    return std::sin(kTau * (fx * x + fy * y) / kTile + phase);
}

// Shortest distance between two coordinates on a 256-periodic axis.
float wrapDelta(float a, float b) {
    float d = std::fabs(a - b);
    return std::min(d, kTile - d);
}

}  // namespace

Canvas makePlasmaTile() {
    Canvas c(kTile, kTile);
    // Kept below full brightness: the ring layer is added on top of it.
    const std::vector<ColourStop> palette{{0.0f, hex(0x060420)}, {0.35f, hex(0x2A0E6A)},
                                          {0.6f, hex(0x8A1E7A)}, {0.85f, hex(0xC0583A)},
                                          {1.0f, hex(0xE0A060)}};
    c.shade([&](float x, float y) {
        float v = wave(x, y, 2, 0, 0) + wave(x, y, 0, 3, 1.3f) + wave(x, y, 1, 1, 0.4f) +
                  wave(x, y, 3, -2, 2.1f) * 0.7f;
        float t = 0.5f + 0.5f * std::sin(v * 1.4f);
        return ramp(palette, t);
    });
    return c;
}

Canvas makeRingTile() {
    Canvas c(kTile, kTile);
    constexpr float kCell = 64;
    c.shade([&](float x, float y) {
        // Rings on a 4 x 4 lattice, and diamonds between them on the offset lattice.
        float cx = std::floor(x / kCell) * kCell + kCell / 2, cy = std::floor(y / kCell) * kCell + kCell / 2;
        float d = std::hypot(wrapDelta(x, cx), wrapDelta(y, cy));
        float ring = std::exp(-std::pow((d - 20.0f) / 3.0f, 2.0f));
        float core = std::exp(-d * d / 18.0f);
        float dx = std::fmod(x, kCell), dy = std::fmod(y, kCell);
        float diamond = std::max(0.0f, 1.0f - (std::min(dx, kCell - dx) + std::min(dy, kCell - dy)) / 9.0f);
        static const uint32_t ringColours[3] = {0x18E0FF, 0xFF30C0, 0xFFD020};
        int cell = int(x / kCell) + int(y / kCell);   // diagonals share a colour; 4 cells wrap cleanly
        Rgb ringColour = hex(ringColours[cell % 2 == 0 ? 0 : (cell % 4 == 1 ? 1 : 2)]);
        Rgb colour = ringColour * ring + hex(0xFFFFFF) * core + hex(0x70FF50) * (diamond * 0.8f);
        return colour * 0.9f;
    });
    return c;
}

Canvas makeTunnelTile() {
    Canvas c(kTile, kTile);
    constexpr int kPanel = 32;
    const Rgb steel[4] = {hex(0x1C3A52), hex(0x24506A), hex(0x173044), hex(0x2E4A60)};
    c.shade([&](float x, float y) {
        int px = int(x) / kPanel, py = int(y) / kPanel;
        int pick = (px * 7 + py * 13 + (px * py) % 5) & 3;
        float fx = std::fmod(x, kPanel), fy = std::fmod(y, kPanel);
        float grain = periodicFbm(x, y, kTile, 16, 3, 11) - 0.5f;
        Rgb base = steel[pick] * (1.0f + grain * 0.5f);
        // Bevelled panel edges: lit along the top and left, shadowed along the bottom and right.
        if (fx < 3 || fy < 3) base = base * 1.7f;
        if (fx > kPanel - 4 || fy > kPanel - 4) base = base * 0.45f;
        if (fx < 1 || fy < 1) base = hex(0x05080C);
        // Every few panels carries an amber light strip.
        if (pick == 1 && fy > 12 && fy < 20 && fx > 6 && fx < 26)
            base = mix(base, hex(0xFFB040), 1.0f - std::fabs(fy - 16) / 4.0f);
        // Rivets in the corners.
        float rx = std::min(fx - 6, kPanel - 6 - fx), ry = std::min(fy - 6, kPanel - 6 - fy);
        if (std::hypot(std::fabs(rx), std::fabs(ry)) < 1.6f) base = hex(0x6A8498);
        // Fairly dark overall: the credit plates are added on top.
        return base * 0.7f;
    });
    return c;
}

Canvas makeBumpHeights() {
    Canvas c(kTile, kTile);
    c.shade([&](float x, float y) {
        // Meat: lumpy noise with layered shavings running around the spit.
        float lumps = periodicFbm(x, y, kTile, 8, 4, 23);
        float shavings = 0.5f + 0.5f * std::sin(kTau * 12.0f * y / kTile + 5.0f * periodicFbm(x, y, kTile, 4, 2, 31));
        float h = std::clamp(0.65f * lumps + 0.35f * shavings, 0.0f, 1.0f);
        return Rgb{h, h, h};
    });
    return c;
}

Canvas makeEnvironment() {
    Canvas c(kTile, kTile);
    const std::vector<ColourStop> room{{0.0f, hex(0x1A0802)}, {0.35f, hex(0x6A2A0C)},
                                       {0.65f, hex(0xD87A30)}, {1.0f, hex(0xFFE0A0)}};
    c.shade([&](float x, float y) {
        // x and y are where a normal's x and y land; the ball's rim is the horizon.
        float nx = (x - 128) / 127, ny = (y - 128) / 127;
        float r = std::min(1.0f, std::hypot(nx, ny));
        Rgb base = ramp(room, 0.55f - 0.45f * ny * (1.0f - 0.3f * r));
        float rim = std::pow(r, 4.0f);
        base = mix(base, hex(0x200804), rim * 0.7f);
        // Two soft boxes and a cool fill light give sharp highlights.
        auto light = [&](float lx, float ly, float w, float h) {
            float d = std::pow((nx - lx) / w, 2.0f) + std::pow((ny - ly) / h, 2.0f);
            return std::exp(-d * d * 2.0f);
        };
        base = base + hex(0xFFFFFF) * light(-0.35f, -0.45f, 0.22f, 0.14f);
        base = base + hex(0xFFF0D0) * (0.8f * light(0.5f, -0.2f, 0.1f, 0.3f));
        base = base + hex(0x60A0FF) * (0.5f * light(0.1f, 0.7f, 0.5f, 0.12f));
        return base;
    });
    return c;
}
