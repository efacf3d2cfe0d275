#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TestBitmaps.h"
#include "parts/TunnelEffect.h"

namespace {

uint16_t entryAt(const std::vector<uint16_t>& table, int32_t width, int32_t height, int32_t c, int32_t r) {
    return table[(r + height / 2) * width + (c + width / 2)];
}

std::vector<uint16_t> tableFor(int32_t width, int32_t height, int32_t mode) {
    std::vector<uint16_t> table(width * height, 0xAAAA);
    TunnelEffect::fillTable(table.data(), width, height, mode);
    return table;
}

// A tunnel whose texture holds each texel's own index, so a pixel shows what was read.
struct IndexedTunnel {
    TunnelEffect effect;
    explicit IndexedTunnel(int32_t width, int32_t height) : effect(TunnelSetup{width, height, "no picture", 0}) {
        for (uint32_t i = 0; i < 65536; ++i) effect.texture->pixels[i] = i;
    }
};

}  // namespace

TEST(TunnelTable, TunnelModeAngleAndDepthBytes) {
    auto table = tableFor(512, 384, 0);
    // Right of the centre: a quarter turn is angle 128; 10240 / 1 keeps depth byte 0.
    EXPECT_EQ(entryAt(table, 512, 384, 1, 0), 0x0080);
    // Left of it: -128 cut to its low byte.
    EXPECT_EQ(entryAt(table, 512, 384, -1, 0), 0x0080);
    EXPECT_EQ(entryAt(table, 512, 384, 0, 3), 0x5500);          // depth 3413 = 0xD55
    EXPECT_EQ(entryAt(table, 512, 384, -3, -3), 0x6D40);        // angle -192, depth 2413
    EXPECT_EQ(entryAt(table, 512, 384, 100, -50), 0x5BA5);
    // The centre has no finite depth: it is fixed at depth 0, angle 0.
    EXPECT_EQ(entryAt(table, 512, 384, 0, 0), 0x0000);
    // Row-major from the top-left corner (c = -256, r = -192).
    EXPECT_EQ(table[0], entryAt(table, 512, 384, -256, -192));
}

TEST(TunnelTable, SwirlModes) {
    auto first = tableFor(512, 384, 1);
    EXPECT_EQ(entryAt(first, 512, 384, 0, 10), 0xFD00);
    EXPECT_EQ(entryAt(first, 512, 384, 7, -20), 0xFAE4);
    auto second = tableFor(512, 384, 2);
    EXPECT_EQ(entryAt(second, 512, 384, 0, 10), 0xFD03);
    EXPECT_EQ(entryAt(second, 512, 384, -30, 40), 0xF1D2);
    // Unknown modes build the tunnel.
    EXPECT_EQ(tableFor(64, 32, 7), tableFor(64, 32, 0));
}

TEST(TunnelTable, OddSizesFillEveryEntry) {
    auto table = tableFor(5, 3, 0);
    for (uint16_t entry : table) EXPECT_NE(entry, 0xAAAA);
    EXPECT_EQ(table[1 * 5 + 2], 0x0000);  // the centre
}

TEST(TunnelEffect, OffsetIsWholeShiftTimes257) {
    EXPECT_EQ(TunnelEffect::offsetForShift(1.7f), 257);
    EXPECT_EQ(TunnelEffect::offsetForShift(-0.5f), 0);
    EXPECT_EQ(TunnelEffect::offsetForShift(-1.5f), 0xFEFF);
    EXPECT_EQ(TunnelEffect::offsetForShift(300.0f), (300 * 257) & 0xFFFF);
}

TEST(TunnelEffect, ApplyCarriesTheAngleIntoTheDepthByte) {
    IndexedTunnel tunnel(4, 2);
    tunnel.effect.table[0] = 0x12FF;
    tunnel.effect.table[7] = 0xFFFF;
    auto target = solidBitmap(4, 2, 0);
    tunnel.effect.apply(target.get(), 1.7f, 0);
    EXPECT_EQ(target->pixels[0], 0x1400u);
    EXPECT_EQ(target->pixels[7], 0x0100u);  // wraps around the texture
}

TEST(TunnelEffect, AdditiveApplySaturates) {
    IndexedTunnel tunnel(4, 2);
    for (int i = 0; i < 8; ++i) tunnel.effect.table[i] = 5;
    tunnel.effect.texture->pixels[5] = 0x00C0C0C0;
    auto target = solidBitmap(4, 2, 0x00808080);
    tunnel.effect.apply(target.get(), 0.0f, 1);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(target->pixels[i], 0x00FFFFFFu);
}

TEST(TunnelEffect, AdditiveOntoBlackEqualsReplacingOverAFullFrame) {
    TunnelEffect effect(TunnelSetup{512, 384, "no picture", 0});
    std::mt19937 random(7);
    for (int i = 0; i < 65536; ++i) effect.texture->pixels[i] = biasedRandomPixel(random);
    auto replaced = solidBitmap(512, 384, 0x12345678);
    auto added = solidBitmap(512, 384, 0);
    effect.apply(replaced.get(), 123.4f, 0);
    effect.apply(added.get(), 123.4f, 1);
    ASSERT_EQ(0, std::memcmp(replaced->pixels, added->pixels, 512 * 384 * 4));
    uint16_t offset = TunnelEffect::offsetForShift(123.4f);
    EXPECT_EQ(replaced->pixels[1000], effect.texture->pixels[static_cast<uint16_t>(effect.table[1000] + offset)]);
}

TEST(TunnelEffect, TargetLargerThanTheTableKeepsItsRemainder) {
    IndexedTunnel tunnel(4, 2);
    for (int i = 0; i < 8; ++i) tunnel.effect.table[i] = static_cast<uint16_t>(100 + i);
    auto target = solidBitmap(4, 4, 0xABCDEF);
    tunnel.effect.apply(target.get(), 0.0f, 0);
    EXPECT_EQ(target->pixels[0], 100u);
    EXPECT_EQ(target->pixels[7], 107u);
    for (int i = 8; i < 16; ++i) EXPECT_EQ(target->pixels[i], 0xABCDEFu);
}
