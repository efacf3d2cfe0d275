#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "TestBitmaps.h"
#include "parts/RotozoomEffect.h"
#include "parts/TextureSpan.h"

namespace {

// A rotozoom whose texel (u, v) holds v << 8 | u, so every pixel tells where it was read.
struct IndexedRotozoom {
    RotozoomEffect effect{"no picture"};
    IndexedRotozoom() {
        for (uint32_t i = 0; i < 65536; ++i) effect.texture->pixels[i] = i;
        float radius = 200.0f;
        int32_t zero = 0;
        effect.setParameter("radius", &radius);
        effect.setParameter("x", &zero);
        effect.setParameter("y", &zero);
    }
};

}  // namespace

// The corner angles are single precision, so cos and sin land just beside +-0.6 and
// +-0.8: v comes out at -31 and 287 rather than -32 and 288.
TEST(RotozoomEffect, CornersAtRadius200) {
    IndexedRotozoom roto;
    RotozoomEffect::Corner expected[4] = {{8, -31}, {8, 287}, {248, -31}, {248, 287}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(roto.effect.corner(k).u, expected[k].u) << "corner " << k;
        EXPECT_EQ(roto.effect.corner(k).v, expected[k].v) << "corner " << k;
    }
}

TEST(RotozoomEffect, FirstRowAndColumnStepIn16Dot16) {
    IndexedRotozoom roto;
    auto target = solidBitmap(512, 384, 0);
    roto.effect.apply(target.get(), 0.0f, 0);
    // Top row: column 8 while v steps by 318 / 512 from -31, wrapping from row 255 to 0.
    EXPECT_EQ(pixelAt(*target, 0, 0), 0xE108u);
    EXPECT_EQ(pixelAt(*target, 49, 0), 0xFF08u);
    EXPECT_EQ(pixelAt(*target, 50, 0), 0x0008u);
    EXPECT_EQ(pixelAt(*target, 511, 0), 0x1E08u);
    // Left column: row 225 while u steps by 240 / 384 from 8.
    EXPECT_EQ(pixelAt(*target, 0, 1), 0xE108u);
    EXPECT_EQ(pixelAt(*target, 0, 2), 0xE109u);
    EXPECT_EQ(pixelAt(*target, 0, 383), 0xE1F7u);
    EXPECT_EQ(pixelAt(*target, 511, 383), 0x1EF7u);
}

TEST(RotozoomEffect, ParameterNamesIgnoreCase) {
    RotozoomEffect effect("no picture");
    float radius = 42.5f, angle = 1.25f, ignored = 9.0f;
    int32_t x = -17, y = 3000;
    effect.setParameter("RADIUS", &radius);
    effect.setParameter("Angle", &angle);
    effect.setParameter("X", &x);
    effect.setParameter("y", &y);
    effect.setParameter("zoom", &ignored);
    EXPECT_EQ(effect.radius, 42.5f);
    EXPECT_EQ(effect.angle, 1.25f);
    EXPECT_EQ(effect.x, -17);
    EXPECT_EQ(effect.y, 3000);
}

TEST(RotozoomEffect, ShiftsMoveTheCentreAndWholeTilesChangeNothing) {
    IndexedRotozoom roto;
    int32_t shift = 10;
    roto.effect.setParameter("x", &shift);
    auto target = solidBitmap(512, 384, 0);
    roto.effect.apply(target.get(), 0.0f, 0);
    EXPECT_EQ(pixelAt(*target, 0, 0), 0xE112u);

    // Whole tiles, with every corner on the same side of zero (truncation is toward zero).
    int32_t centre = 200, tiledX = 200 + 256, tiledY = 200 + 512;
    roto.effect.setParameter("x", &centre);
    roto.effect.setParameter("y", &centre);
    roto.effect.apply(target.get(), 0.0f, 0);
    auto tiled = solidBitmap(512, 384, 0);
    roto.effect.setParameter("x", &tiledX);
    roto.effect.setParameter("y", &tiledY);
    roto.effect.apply(tiled.get(), 0.0f, 0);
    EXPECT_EQ(0, std::memcmp(target->pixels, tiled->pixels, 512 * 384 * 4));
}

TEST(RotozoomEffect, OnlyAdditiveOneAdds) {
    IndexedRotozoom roto;
    std::fill_n(roto.effect.texture->pixels, 65536, 0x00C0C0C0u);
    auto added = solidBitmap(16, 8, 0x00808080);
    roto.effect.apply(added.get(), 0.0f, 1);
    auto replaced = solidBitmap(16, 8, 0x00808080);
    roto.effect.apply(replaced.get(), 0.0f, 2);
    for (int i = 0; i < 16 * 8; ++i) {
        EXPECT_EQ(added->pixels[i], 0x00FFFFFFu);
        EXPECT_EQ(replaced->pixels[i], 0x00C0C0C0u);
    }
}

TEST(RotozoomEffect, AdditiveOntoBlackEqualsReplacing) {
    IndexedRotozoom roto;
    float angle = 0.7f;
    roto.effect.setParameter("angle", &angle);
    auto replaced = solidBitmap(512, 384, 0x12345678);
    auto added = solidBitmap(512, 384, 0);
    roto.effect.apply(replaced.get(), 0.0f, 0);
    roto.effect.apply(added.get(), 0.0f, 1);
    EXPECT_EQ(0, std::memcmp(replaced->pixels, added->pixels, 512 * 384 * 4));
}

// A plain per-pixel walk of the corners' 16.16 edges: whole rows through the backend's spans
// and the chunked additive path must land on the same texels, also where the steps are
// negative and the divisions truncate toward zero.
TEST(RotozoomEffect, MatchesAPlainWalkOnRandomParameters) {
    std::mt19937 random(5);
    RotozoomEffect effect("no picture");
    for (uint32_t i = 0; i < 65536; ++i) effect.texture->pixels[i] = biasedRandomPixel(random);
    auto fixed = [](int32_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value) << 16); };
    auto wrapSum = [](int32_t a, int32_t b) {
        return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
    };
    for (int round = 0; round < 60; ++round) {
        float radius = static_cast<float>(random() % 200000) / 100.0f;
        float angle = static_cast<float>(static_cast<int32_t>(random() % 2000) - 1000) / 100.0f;
        int32_t x = static_cast<int32_t>(random() % 20001) - 10000, y = static_cast<int32_t>(random() % 20001) - 10000;
        effect.setParameter("radius", &radius);
        effect.setParameter("angle", &angle);
        effect.setParameter("x", &x);
        effect.setParameter("y", &y);
        int32_t width = 1 + static_cast<int32_t>(random() % 700), height = 1 + static_cast<int32_t>(random() % 9);
        int32_t additive = static_cast<int32_t>(random() % 3);
        Bitmap target(width, height);
        for (int32_t i = 0; i < width * height; ++i) target.pixels[i] = biasedRandomPixel(random);
        std::vector<uint32_t> expected(target.pixels, target.pixels + width * height);
        effect.apply(&target, 0.0f, additive);

        RotozoomEffect::Corner c[4] = {effect.corner(0), effect.corner(1), effect.corner(2), effect.corner(3)};
        int32_t lu = fixed(c[0].u), lv = fixed(c[0].v), ru = fixed(c[1].u), rv = fixed(c[1].v);
        int32_t dlu = fixed(c[2].u - c[0].u) / height, dlv = fixed(c[2].v - c[0].v) / height;
        int32_t dru = fixed(c[3].u - c[1].u) / height, drv = fixed(c[3].v - c[1].v) / height;
        for (int32_t row = 0; row < height; ++row) {
            int32_t du = wrapSum(ru, -lu) / width, dv = wrapSum(rv, -lv) / width;
            int32_t u = lu, v = lv;
            for (int32_t column = 0; column < width; ++column) {
                uint32_t index = ((static_cast<uint32_t>(v) >> 16) << 8 | ((static_cast<uint32_t>(u) >> 16) & 0xFF)) & 0xFFFF;
                uint32_t texel = effect.texture->pixels[index];
                uint32_t& pixel = expected[row * width + column];
                if (additive == 1) {
                    uint32_t sum = 0;
                    for (int shift = 0; shift < 32; shift += 8)
                        sum |= std::min(((pixel >> shift) & 0xFF) + ((texel >> shift) & 0xFF), 255u) << shift;
                    texel = sum;
                }
                pixel = texel;
                u = wrapSum(u, du);
                v = wrapSum(v, dv);
            }
            lu = wrapSum(lu, dlu), lv = wrapSum(lv, dlv), ru = wrapSum(ru, dru), rv = wrapSum(rv, drv);
        }
        ASSERT_EQ(0, std::memcmp(expected.data(), target.pixels, expected.size() * 4)) << "round " << round;
    }
}

// The case number is the seed; counts 0..40 reach every tail after the four-pixel steps.
TEST(TextureSpan, BackendIndicesMatchScalarOnRandomSpans) {
    std::vector<uint32_t> texels(65536);
    for (uint32_t i = 0; i < 65536; ++i) texels[i] = i * 2654435761u;
    for (uint32_t seed = 0; seed < 500; ++seed) {
        std::mt19937 random(seed);
        auto next = [&] { return static_cast<uint32_t>(random()); };
        size_t count = seed % 50 == 0 ? 512 : next() % 41;
        TextureSpan fast{next(), next(), next(), next()};
        if (seed % 2) fast.du = (next() % 0x40000) - 0x20000;  // realistic small steps as well
        TextureSpan reference = fast;
        std::vector<uint32_t> fastOut(count), referenceOut(count);
        sampleSpan(fastOut.data(), count, fast, texels.data());
        sampleSpanScalar(referenceOut.data(), count, reference, texels.data());
        ASSERT_EQ(fastOut, referenceOut) << "seed " << seed;
        ASSERT_EQ(fast.u, reference.u) << "seed " << seed;
        ASSERT_EQ(fast.v, reference.v) << "seed " << seed;
    }
}
