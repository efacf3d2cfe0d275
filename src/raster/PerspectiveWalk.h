#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>

#include "raster/FixedPoint.h"
#include "raster/PixelOperators.h"
#include "raster/RasterCommon.h"

// Set-up and span routine shared by the perspective fill operations. 1/z (w), u/z (U) and
// v/z (V) are interpolated linearly on screen from plane gradients; coordinates are shifted
// by half a pixel so that edges and samples sit at pixel centres. u and v are recovered by
// one division per run of R pixels and stepped in 16.16 in between.

// The per-triangle state the set-up hands to the span routine.
struct PerspectiveState {
    float leftX = 0, leftXStep = 0, rightX = 0, rightXStep = 0;
    float leftW = 0, leftU = 0, leftV = 0;              // left-edge values at the current row
    float leftWStep = 0, leftUStep = 0, leftVStep = 0;  // their per-row steps
    float dwdx = 0, dUdx = 0, dVdx = 0;                  // gradients per pixel
    float runDwdx = 0, runDUdx = 0, runDVdx = 0;        // the same times the run length
    const uint32_t* texture = nullptr;
    uint32_t* pixels = nullptr;
    float* depth = nullptr;
    int32_t width = 0, height = 0;
};

// Fog between 1/z = fogNear (none) and fogFar (full), as an amount 0..255.
struct FogSettings {
    float fogNear, fogFar, fogRange;
    uint32_t fogColour;

    // Kept within 0..255 even for a zero or inconsistent range.
    int32_t amount(float w) const {
        if (w < fogFar) return 255;
        if (w > fogNear) return 0;
        const int32_t a = truncateOrIntMin((fogNear - w) / fogRange * 255.0);
        return a < 0 ? 0 : (a > 255 ? 255 : a);
    }

    // Between none and full the texel is only lightened or darkened by a grey.
    uint32_t apply(uint32_t texel, int32_t amount) const {
        if (amount == 0) return texel;
        if (amount == 255) return fogColour;
        const uint32_t grey = static_cast<uint32_t>(amount) * 0x010101u;
        return fogColour != 0 ? saturatingAdd(texel, grey) : saturatingSubtract(texel, grey);
    }
};

namespace perspective_detail {

struct Vertex {
    float x, y;
    float q[3];  // w, U, V
};

// Left edge of one half: its x and the q values on it, at the first row's sample line.
inline void startLeftEdge(PerspectiveState& s, float x, float slope, const Vertex& from, float prestep,
                          const float (&dqdx)[3], const float (&dqdy)[3]) {
    s.leftX = x;
    s.leftXStep = slope;
    float step[3], start[3];
    for (int k = 0; k < 3; ++k) {
        step[k] = slope * dqdx[k] + dqdy[k];
        start[k] = from.q[k] + prestep * step[k];
    }
    s.leftW = start[0];
    s.leftU = start[1];
    s.leftV = start[2];
    s.leftWStep = step[0];
    s.leftUStep = step[1];
    s.leftVStep = step[2];
}

inline void startRightEdge(PerspectiveState& s, float x, float slope) {
    s.rightX = x;
    s.rightXStep = slope;
}

}  // namespace perspective_detail

// Triangle set-up: fills `s` and calls rows(firstRow, stopRow) once per half that has rows.
// `points` are projected screen coordinates, `coords` the image u0 u1 u2 v0 v1 v2.
template <class Rows>
void setUpPerspectiveTriangle(const float* points, const float* coords, float runLength, PerspectiveState& s,
                              Rows&& rows) {
    using perspective_detail::Vertex;
    Vertex v[3];
    for (int i = 0; i < 3; ++i) {
        const float w = 1.0f / points[6 + i];
        v[i] = Vertex{points[i] + 0.5f, points[3 + i] + 0.5f, {w, coords[i] * w, coords[3 + i] * w}};
    }
    auto order = [&v](int first, int second) {
        if (v[first].y > v[second].y) std::swap(v[first], v[second]);
    };
    order(0, 1);
    order(0, 2);
    order(1, 2);
    const Vertex& T = v[0];
    const Vertex& M = v[1];
    const Vertex& B = v[2];

    const int32_t rT = truncateOrIntMin(T.y), rM = truncateOrIntMin(M.y), rB = truncateOrIntMin(B.y);
    if (rT >= rB) return;
    const int32_t column = truncateOrIntMin(T.x);
    if (truncateOrIntMin(M.x) == column && truncateOrIntMin(B.x) == column) return;

    const float dxM = M.x - T.x, dyM = M.y - T.y, dxB = B.x - T.x, dyB = B.y - T.y;
    const float area = dxB * dyM - dxM * dyB;
    if (area == 0) return;
    const float inv = 1 / area;
    float dqdx[3], dqdy[3];
    for (int k = 0; k < 3; ++k) {
        const float dqM = M.q[k] - T.q[k], dqB = B.q[k] - T.q[k];
        dqdx[k] = inv * (dyM * dqB - dyB * dqM);
        dqdy[k] = inv * (dxB * dqM - dxM * dqB);
    }
    s.dwdx = dqdx[0];
    s.dUdx = dqdx[1];
    s.dVdx = dqdx[2];
    s.runDwdx = runLength * dqdx[0];
    s.runDUdx = runLength * dqdx[1];
    s.runDVdx = runLength * dqdx[2];

    // Slopes in x per row; each is used only when its condition holds.
    const float upperSlope = T.y < M.y ? dxM / dyM : 0.0f;
    const float longSlope = T.y < B.y ? dxB / dyB : 0.0f;
    const float lowerSlope = M.y < B.y ? (B.x - M.x) / (B.y - M.y) : 0.0f;
    // From each vertex down to the sample line of its first row.
    const float topPrestep = static_cast<float>(static_cast<int64_t>(rT) + 1) - T.y;
    const float midPrestep = static_cast<float>(static_cast<int64_t>(rM) + 1) - M.y;
    const float longX = T.x + longSlope * topPrestep;
    const float upperX = T.x + upperSlope * topPrestep;
    const float lowerX = M.x + lowerSlope * midPrestep;

    bool longOnRight;
    if (M.y == B.y) longOnRight = B.x > M.x;
    else if (T.y == M.y) longOnRight = T.x > M.x;
    else longOnRight = longSlope > upperSlope;

    using perspective_detail::startLeftEdge;
    using perspective_detail::startRightEdge;
    if (longOnRight) startRightEdge(s, longX, longSlope);
    else startLeftEdge(s, longX, longSlope, T, topPrestep, dqdx, dqdy);
    if (rT < rM) {
        if (longOnRight) startLeftEdge(s, upperX, upperSlope, T, topPrestep, dqdx, dqdy);
        else startRightEdge(s, upperX, upperSlope);
        rows(rT, rM);
    }
    if (rM < rB) {
        if (longOnRight) startLeftEdge(s, lowerX, lowerSlope, M, midPrestep, dqdx, dqdy);
        else startRightEdge(s, lowerX, lowerSlope);
        rows(rM, rB);
    }
}

// The pixel rules: `operator()(pixel, depth, key, texel, fogAmount)`, key = stamp + w; rules
// with kFogged also carry `fog` and use the interpolated fog amount.
template <int RunShift, class PixelRule>
struct PerspectiveSpan {
    static constexpr int32_t kRun = 1 << RunShift;
    PerspectiveState& s;
    const PixelRule& rule;
    float stamp;

    // Draws `count` pixels from column x, stepping u, v, w and the fog accumulator.
    void segment(uint32_t* pixels, float* depth, int32_t x, int32_t count, int32_t u, int32_t v, int32_t du,
                 int32_t dv, float w, float wStep, int32_t fog, int32_t fogStep) const {
        for (int32_t end = x + count; x < end; ++x) {
            rule(pixels[x], depth[x], stamp + w, s.texture[texelIndex(u, v)], fog >> 16);
            u = wrapAdd(u, du);
            v = wrapAdd(v, dv);
            w += wStep;
            fog = wrapAdd(fog, fogStep);
        }
    }

    int32_t fogAmount(float w) const {
        if constexpr (PixelRule::kFogged) return rule.fog.amount(w);
        else return 0;
    }

    // Columns d..d + n - 1 of row y.
    void row(int32_t y, int32_t d, int32_t n) const {
        uint32_t* pixels = s.pixels + static_cast<size_t>(y) * static_cast<size_t>(s.width);
        float* depth = s.depth + static_cast<size_t>(y) * static_cast<size_t>(s.width);
        const float prestep = static_cast<float>(d + 1) - s.leftX;
        float w = s.leftW + prestep * s.dwdx;
        float U = s.leftU + prestep * s.dUdx;
        float V = s.leftV + prestep * s.dVdx;
        const float f = 65536.0f / w;
        int32_t uS = truncateOrIntMin(f * U), vS = truncateOrIntMin(f * V);
        int32_t x = d;
        for (; n >= kRun; n -= kRun, x += kRun) {
            const float wE = w + s.runDwdx;
            U += s.runDUdx;
            V += s.runDVdx;
            const float fE = 65536.0f / wE;
            const int32_t uE = truncateOrIntMin(fE * U), vE = truncateOrIntMin(fE * V);
            const int32_t du = static_cast<int32_t>((static_cast<int64_t>(uE) - uS) >> RunShift);
            const int32_t dv = static_cast<int32_t>((static_cast<int64_t>(vE) - vS) >> RunShift);
            const float wStep = (wE - w) * (1.0f / static_cast<float>(kRun));
            const int32_t aS = fogAmount(w), aE = fogAmount(wE);
            const int32_t fogStep = ((aE - aS) * 65536) >> RunShift;
            segment(pixels, depth, x, kRun, uS, vS, du, dv, w, wStep, aS * 65536, fogStep);
            uS = uE;
            vS = vE;
            w = wE;
        }
        if (n == 0) return;
        const float m = static_cast<float>(n);
        const float wE = w + m * s.dwdx;
        const float fE = 65536.0f / wE;
        const int32_t uE = truncateOrIntMin(fE * (U + m * s.dUdx)), vE = truncateOrIntMin(fE * (V + m * s.dVdx));
        const int32_t du = stepOver(uS, uE, n), dv = stepOver(vS, vE, n);
        const float wStep = (wE - w) / m;
        const int32_t aS = fogAmount(w), aE = fogAmount(wE);
        const int32_t fogStep = (aE - aS) * 65536 / n;
        segment(pixels, depth, x, n, uS, vS, du, dv, w, wStep, aS * 65536, fogStep);
    }

    // Rows first..stop - 1. Rows above the target are skipped but the edges still advance;
    // from the target's bottom on nothing can draw, so the walk ends there. Rows far above
    // the target (a damaged object can put a vertex two billion rows up) are jumped over
    // with one multiplication each instead, up to the last kMaxAddedRowsAbove of them; the
    // jump rounds differently from the additions, so it starts only beyond what ordinary
    // geometry reaches (see the affine walk).
    static constexpr int32_t kMaxAddedRowsAbove = 1 << 20;

    void operator()(int32_t first, int32_t stop) const {
        if (first < -kMaxAddedRowsAbove) {
            const int32_t resume = stop < -kMaxAddedRowsAbove ? stop : -kMaxAddedRowsAbove;
            const double rows = static_cast<double>(int64_t(resume) - first);
            auto jump = [rows](float& value, float step) {
                value = static_cast<float>(static_cast<double>(value) + rows * static_cast<double>(step));
            };
            jump(s.leftX, s.leftXStep);
            jump(s.rightX, s.rightXStep);
            jump(s.leftW, s.leftWStep);
            jump(s.leftU, s.leftUStep);
            jump(s.leftV, s.leftVStep);
            first = resume;
        }
        if (first < 0) {
            // Above the target only the edges move: the same additions, kept in registers
            // (in the loop below the pixel stores could alias them), a few cycles a row.
            const int32_t end = stop < 0 ? stop : 0;
            float leftX = s.leftX, rightX = s.rightX, leftW = s.leftW, leftU = s.leftU, leftV = s.leftV;
            for (int32_t y = first; y < end; ++y) {
                leftX += s.leftXStep;
                rightX += s.rightXStep;
                leftW += s.leftWStep;
                leftU += s.leftUStep;
                leftV += s.leftVStep;
            }
            s.leftX = leftX;
            s.rightX = rightX;
            s.leftW = leftW;
            s.leftU = leftU;
            s.leftV = leftV;
            first = end;
        }
        for (int32_t y = first; y < stop && y < s.height; ++y) {
            int64_t d = truncateOrIntMin(s.leftX), e = truncateOrIntMin(s.rightX);
            if (d < 0) d = 0;
            if (e > s.width) e = s.width;
            if (e - d > 0) row(y, static_cast<int32_t>(d), static_cast<int32_t>(e - d));
            s.leftX += s.leftXStep;
            s.rightX += s.rightXStep;
            s.leftW += s.leftWStep;
            s.leftU += s.leftUStep;
            s.leftV += s.leftVStep;
        }
    }
};

// Sets up the triangle into `s` and draws it with one pixel rule and run length 1 << RunShift.
template <int RunShift, class PixelRule>
void fillPerspectiveTriangle(PerspectiveState& s, const float* points, const float* coords, float stamp,
                             const PixelRule& rule) {
    const PerspectiveSpan<RunShift, PixelRule> span{s, rule, stamp};
    setUpPerspectiveTriangle(points, coords, static_cast<float>(1 << RunShift), s, span);
}
