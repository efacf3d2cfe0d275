#include "parts/TunnelEffect.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "core/PixelOps.h"

namespace {

constexpr double kTwoTurnsPerCircle = 81.48733086305042;   // 256 / pi
constexpr double kSwirlTurns = 81.48;
constexpr size_t kChunk = 256;

// Values are cut toward zero and only their low 8 bits are kept.
uint16_t lowByte(double value) {
    return static_cast<uint16_t>(static_cast<uint32_t>(static_cast<int32_t>(value)) & 0xFF);
}

uint16_t tunnelEntry(int32_t c, int32_t r, int32_t width, int32_t mode) {
    double d = std::sqrt(static_cast<double>(c * c + r * r));
    double a = std::atan2(static_cast<double>(c), static_cast<double>(r));
    uint16_t angle;
    uint16_t depth;
    if (mode == 1) {
        angle = lowByte(a * kSwirlTurns);
        depth = lowByte(d * -0.3);
    } else if (mode == 2) {
        angle = lowByte((a + std::sin(d * 0.048) * 0.1) * kSwirlTurns);
        depth = lowByte(d * -0.3);
    } else {
        angle = lowByte(a * kTwoTurnsPerCircle);
        // The centre pixel has no finite depth; it shows the texture's depth row 0.
        depth = d == 0.0 ? 0 : lowByte(20.0 * width / d);
    }
    return static_cast<uint16_t>(angle | depth << 8);
}

void gather(uint32_t* out, const uint16_t* entries, size_t count, uint16_t offset,
            const uint32_t* texels) {
    for (size_t i = 0; i < count; ++i)
        out[i] = texels[static_cast<uint16_t>(entries[i] + offset)];
}

}  // namespace

TunnelEffect::TunnelEffect(const TunnelSetup& setup)
    : tableWidth(std::max(setup.width, 0)), tableHeight(std::max(setup.height, 0)) {
    table = new uint16_t[static_cast<size_t>(tableWidth) * static_cast<size_t>(tableHeight)];
    texture = new Bitmap(256, 256);
    VEX_ImageFactory factory;
    factory.loadInto(texture, setup.texturePath, 256, 256, false, 1);
    fillTable(table, tableWidth, tableHeight, setup.mode);
}

TunnelEffect::~TunnelEffect() {
    delete[] table;
    delete texture;
}

void TunnelEffect::fillTable(uint16_t* table, int32_t width, int32_t height, int32_t mode) {
    uint16_t* entry = table;
    for (int32_t r = -(height / 2); r < height - height / 2; ++r)
        for (int32_t c = -(width / 2); c < width - width / 2; ++c) *entry++ = tunnelEntry(c, r, width, mode);
}

uint16_t TunnelEffect::offsetForShift(float shift) {
    return static_cast<uint16_t>(static_cast<uint32_t>(static_cast<int32_t>(shift)) * 257u);
}

void TunnelEffect::apply(Bitmap* target, float shift, int32_t additive) {
    // The target should match the table; never read past either of them.
    size_t count = std::min(static_cast<size_t>(target->width) * static_cast<size_t>(target->height),
                            static_cast<size_t>(tableWidth) * static_cast<size_t>(tableHeight));
    uint16_t offset = offsetForShift(shift);
    if (!additive) {
        gather(target->pixels, table, count, offset, texture->pixels);
        return;
    }
    uint32_t texels[kChunk];
    for (size_t i = 0; i < count; i += kChunk) {
        size_t n = std::min(kChunk, count - i);
        gather(texels, table + i, n, offset, texture->pixels);
        addRow(target->pixels + i, texels, n);
    }
}

void TunnelEffect::setParameter(const char*, void*) {}
