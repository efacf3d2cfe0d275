#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "raster/FixedPoint.h"
#include "raster/RasterCommon.h"

// Edge and span set-up shared by the affine fill operations: x and every interpolated
// quantity (texture coordinates, intensities) in signed 16.16, stepped by integer
// division; 1/z as a float, stepped by float division. N is the number of quantities.

template <int N>
using Quantities = std::array<int32_t, N>;

// One triangle vertex as the edge walk reads it.
template <int N>
struct AffineVertex {
    int32_t x = 0;
    float inverseZ = 0;
    Quantities<N> q{};
};

// One edge at the current row, with its per-row steps.
template <int N>
struct AffineEdge {
    int32_t x = 0, xStep = 0;
    float inverseZ = 0, inverseZStep = 0;
    Quantities<N> q{}, qStep{};

    AffineEdge(const AffineVertex<N>& from, const AffineVertex<N>& to, int64_t rows)
        : x(from.x), inverseZ(from.inverseZ), q(from.q) {
        xStep = stepOver(from.x, to.x, rows);
        inverseZStep = rows == 0 ? 0.0f : (to.inverseZ - from.inverseZ) / static_cast<float>(rows);
        for (int k = 0; k < N; ++k) qStep[k] = stepOver(from.q[k], to.q[k], rows);
    }

    void advance() {
        x = wrapAdd(x, xStep);
        inverseZ += inverseZStep;
        for (int k = 0; k < N; ++k) q[k] = wrapAdd(q[k], qStep[k]);
    }

    // Moves the edge down by `rows` rows at once; the integers land exactly where repeated
    // steps would, 1/z may differ from repeated addition by rounding.
    void skip(int64_t rows) {
        x = advanceBy(x, xStep, rows);
        inverseZ = static_cast<float>(static_cast<double>(inverseZ) + static_cast<double>(rows) * inverseZStep);
        for (int k = 0; k < N; ++k) q[k] = advanceBy(q[k], qStep[k], rows);
    }
};

// Intensity k (0 red, 1 green, 2 blue) of one vertex as 16.16 (the shade value << 16).
inline int32_t fixedIntensity(const int32_t* shade, int vertex, int k) {
    return static_cast<int32_t>(static_cast<uint32_t>(shade[k * 3 + vertex]) << 16);
}

inline int64_t rowsBetween(int32_t first, int32_t last) { return static_cast<int64_t>(last) - first; }

// The triangle as the walk needs it: vertices a, b, c in screen-y order and their rows.
template <int N>
struct AffineTriangle {
    AffineVertex<N> a, b, c;
    int32_t top = 0, mid = 0, bottom = 0;
};

// Builds the walk's triangle from projected points; `quantity(vertex, k)` gives the 16.16
// value of quantity k at the original vertex index.
template <int N, class QuantityOf>
AffineTriangle<N> makeAffineTriangle(const float* points, QuantityOf quantity) {
    const VertexOrder order = orderByScreenY(points);
    auto vertex = [&](int i) {
        AffineVertex<N> v;
        v.x = toFixed16(points[i]);
        v.inverseZ = 1.0f / points[6 + i];
        for (int k = 0; k < N; ++k) v.q[k] = quantity(i, k);
        return v;
    };
    AffineTriangle<N> t;
    t.a = vertex(order.a);
    t.b = vertex(order.b);
    t.c = vertex(order.c);
    t.top = truncateOrIntMin(points[3 + order.a]);
    t.mid = truncateOrIntMin(points[3 + order.b]);
    t.bottom = truncateOrIntMin(points[3 + order.c]);
    return t;
}

// 16.16 texture coordinates of one coordinate array (u0 u1 u2 v0 v1 v2).
inline int32_t fixedCoordinate(const float* coords, int vertex, int axis) {
    return toFixed16(coords[axis * 3 + vertex]);
}

// Walks rows top..bottom - 1: the upper half between the a->b and a->c edges, the lower
// half between b->c and the continuing a->c edge. The bottom row itself is never drawn and
// the top row starts at vertex a's x without sub-pixel correction. Rows at or below the
// target's height cannot draw, so the walk stops there.
//
// Rows above the target are stepped like the others, so that what is drawn comes out of
// the same additions. The last kMaxSteppedRowsAbove of them are walked; the edges move over
// those before in one go, by the same additions for up to kMaxAddedRowsAbove rows (ordinary
// geometry, a vertex just past the near plane, reaches tens of thousands) and by one
// multiplication beyond, since a damaged object can put a vertex two billion rows up
// (integers exactly, 1/z up to rounding).
inline constexpr int32_t kMaxSteppedRowsAbove = 4096;
inline constexpr int32_t kMaxAddedRowsAbove = 1 << 20;

// Moves one edge, or two together, down by `rows` rows where nothing is drawn, landing where
// as many advance() calls would: integers at once, 1/z by the same additions (a few cycles
// a row, both edges in one loop). Rows more than kMaxAddedRowsAbove back are jumped.
template <int N>
void skipRowsAbove(int64_t rows, AffineEdge<N>& edge, AffineEdge<N>* alongside = nullptr) {
    const int64_t added = rows < kMaxAddedRowsAbove ? rows : kMaxAddedRowsAbove;
    AffineEdge<N> scratch = edge;  // stepped in vain when there is no second edge
    AffineEdge<N>& other = alongside ? *alongside : scratch;
    for (AffineEdge<N>* e : {&edge, &other}) {
        if (rows > added) e->skip(rows - added);
        e->x = advanceBy(e->x, e->xStep, added);
        for (int k = 0; k < N; ++k) e->q[k] = advanceBy(e->q[k], e->qStep[k], added);
    }
    float z = edge.inverseZ, otherZ = other.inverseZ;
    for (int64_t i = 0; i < added; ++i) {
        z += edge.inverseZStep;
        otherZ += other.inverseZStep;
    }
    edge.inverseZ = z;
    other.inverseZ = otherZ;
}

template <int N, class Span>
void walkAffineTriangle(const AffineTriangle<N>& t, int32_t height, Span&& span, bool walkLowerHalf = true) {
    AffineEdge<N> longEdge(t.a, t.c, rowsBetween(t.top, t.bottom));
    AffineEdge<N> upperEdge(t.a, t.b, rowsBetween(t.top, t.mid));
    int32_t y = t.top;
    if (y < -kMaxSteppedRowsAbove) {
        const int32_t resume = -kMaxSteppedRowsAbove;
        skipRowsAbove(int64_t(resume) - y, longEdge, t.mid > resume ? &upperEdge : nullptr);
        y = resume;
    }
    for (; y < t.mid && y < height; ++y) {
        span(y, upperEdge, longEdge);
        upperEdge.advance();
        longEdge.advance();
    }
    if (t.mid >= height || !walkLowerHalf) return;
    AffineEdge<N> lowerEdge(t.b, t.c, rowsBetween(t.mid, t.bottom));
    if (y > t.mid) skipRowsAbove(int64_t(y) - t.mid, lowerEdge);  // moved past the middle row
    else y = t.mid;
    for (; y < t.bottom && y < height; ++y) {
        span(y, lowerEdge, longEdge);
        lowerEdge.advance();
        longEdge.advance();
    }
}

// The same rows, but rows above the target are skipped arithmetically instead of walked.
template <int N, class Span>
void walkAffineTriangleClippingRows(const AffineTriangle<N>& t, int32_t height, Span&& span) {
    if (t.bottom < 0 || t.top > height) return;
    AffineEdge<N> longEdge(t.a, t.c, rowsBetween(t.top, t.bottom));
    AffineEdge<N> upperEdge(t.a, t.b, rowsBetween(t.top, t.mid));
    AffineEdge<N> lowerEdge(t.b, t.c, rowsBetween(t.mid, t.bottom));
    int32_t y = t.top;
    if (y < 0) {
        longEdge.skip(-static_cast<int64_t>(y));
        if (t.mid < 0) lowerEdge.skip(-static_cast<int64_t>(t.mid));
        else upperEdge.skip(-static_cast<int64_t>(y));
        y = 0;
    }
    for (; y < t.mid && y < height; ++y) {
        span(y, upperEdge, longEdge);
        upperEdge.advance();
        longEdge.advance();
    }
    if (t.mid > height) return;
    for (; y < t.bottom && y < height; ++y) {
        span(y, lowerEdge, longEdge);
        lowerEdge.advance();
        longEdge.advance();
    }
}

// One row after the span set-up: columns xl..xr - 1, values at column xl and per-pixel steps.
template <int N>
struct AffineSpan {
    int32_t xl = 0, xr = 0;
    size_t rowStart = 0;
    float inverseZ = 0, inverseZStep = 0;
    Quantities<N> q{}, qStep{};
};

// The span set-up: orders the two ends, steps over the full width, then clips. The right
// end is clamped to width - 1, so the last column of the target is never written.
template <int N>
bool setUpAffineSpan(int32_t y, const AffineEdge<N>& first, const AffineEdge<N>& second,
                     int32_t width, int32_t height, AffineSpan<N>& span) {
    if (y < 0 || y >= height) return false;
    int32_t xl = first.x >> 16, xr = second.x >> 16;
    if (xl == xr) return false;
    const AffineEdge<N>* left = &first;
    const AffineEdge<N>* right = &second;
    if (xl > xr) {
        std::swap(xl, xr);
        std::swap(left, right);
    }
    if (xr < 0 || xl >= width) return false;
    const int32_t n = xr - xl;
    span.inverseZ = left->inverseZ;
    span.inverseZStep = (right->inverseZ - left->inverseZ) / static_cast<float>(n);
    for (int k = 0; k < N; ++k) {
        span.q[k] = left->q[k];
        span.qStep[k] = stepOver(left->q[k], right->q[k], n);
    }
    if (xr >= width) xr = width - 1;
    if (xl < 0) {
        for (int k = 0; k < N; ++k) span.q[k] = advanceBy(span.q[k], span.qStep[k], -xl);
        span.inverseZ = span.inverseZ - static_cast<float>(xl) * span.inverseZStep;
        xl = 0;
    }
    span.xl = xl;
    span.xr = xr;
    span.rowStart = static_cast<size_t>(y) * static_cast<size_t>(width);
    return true;
}

// Where a span draws: the target's pixels, the depth buffer and the frame stamp.
struct AffineTarget {
    uint32_t* pixels;
    float* depth;
    int32_t width, height;
    float stamp;
};

// The per-pixel loop of every affine span. `rule(pixel, depth, key, q)` is the operation's
// pixel rule for one mode; it runs only where the key passes the depth test and decides
// itself whether the key is stored. 1/z and the quantities step on every column.
template <int N, class PixelRule>
void fillAffineSpan(const AffineTarget& target, const AffineSpan<N>& span, const PixelRule& rule) {
    uint32_t* pixels = target.pixels + span.rowStart;
    float* depth = target.depth + span.rowStart;
    float inverseZ = span.inverseZ;
    Quantities<N> q = span.q;
    for (int32_t x = span.xl; x < span.xr; ++x) {
        const float key = depthKey(target.stamp, inverseZ);
        if (key > depth[x]) rule(pixels[x], depth[x], key, q);
        inverseZ += span.inverseZStep;
        for (int k = 0; k < N; ++k) q[k] = wrapAdd(q[k], span.qStep[k]);
    }
}

// The row routine of one pixel rule: span set-up, then the pixel loop.
template <int N, class PixelRule>
auto affineRowFiller(const AffineTarget& target, const PixelRule& rule) {
    return [&target, &rule](int32_t y, const AffineEdge<N>& first, const AffineEdge<N>& second) {
        AffineSpan<N> span;
        if (setUpAffineSpan(y, first, second, target.width, target.height, span)) fillAffineSpan(target, span, rule);
    };
}

// Walks the triangle and fills every row with one pixel rule.
template <int N, class PixelRule>
void fillAffineTriangle(const AffineTriangle<N>& triangle, const AffineTarget& target, const PixelRule& rule,
                        bool walkLowerHalf = true) {
    walkAffineTriangle(triangle, target.height, affineRowFiller<N>(target, rule), walkLowerHalf);
}
