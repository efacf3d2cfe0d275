#pragma once
#include <cmath>

// The synth's transcendental functions, made of additions, multiplications and divisions
// only, so that the song's samples are the same bits on every platform. The C library's
// functions may round differently from one platform to another (tanhf does on aarch64), and
// a single differing sample changes the encoded music. Each is within a few units in the last
// place of a double, far below what a 16-bit sample can show. floor and ldexp are exact.
namespace synthmath {

// 2 to the power y: y = k + f with |f| <= 1/2, and e^(f ln 2) by its Taylor series
// (the 14th term is below 5e-18 there).
inline double exp2(double y) {
    if (y < -1070.0) return 0.0;
    if (y > 1023.0) return HUGE_VAL;
    const double k = std::floor(y + 0.5);
    const double r = (y - k) * 0.6931471805599453;
    double term = 1.0, sum = 1.0;
    for (int n = 1; n <= 13; ++n) {
        term = term * r / n;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

inline double exp(double x) { return exp2(x * 1.4426950408889634); }

// sin x: x = k pi/2 + r with |r| <= pi/4 (pi/2 split in two so that k times the first part is
// exact for any argument the synth reaches), then the series of sin or cos of r by quadrant.
inline double sin(double x) {
    const double pio2Hi = 1.57079632673412561417e+00;   // the first 33 bits of pi/2
    const double pio2Lo = 6.07710050650619224932e-11;   // the rest
    const double k = std::floor(x * 0.6366197723675814 + 0.5);
    const double r = (x - k * pio2Hi) - k * pio2Lo;
    const double r2 = r * r;
    double s = r, c = 1.0, termS = r, termC = 1.0;
    for (int n = 1; n <= 8; ++n) {
        termS = -termS * r2 / ((2 * n) * (2 * n + 1));
        termC = -termC * r2 / ((2 * n - 1) * (2 * n));
        s += termS;
        c += termC;
    }
    switch (static_cast<int>(k - 4.0 * std::floor(k * 0.25))) {
        case 0: return s;
        case 1: return c;
        case 2: return -s;
        default: return -c;
    }
}

// tanh in double, rounded once to float: 1 - 2 / (e^2x + 1), and near 0 (where that
// cancels) its series.
inline float tanh(float x) {
    const double d = x;
    if (std::fabs(d) < 0.0625) {
        const double d2 = d * d;
        return static_cast<float>(d * (1.0 - d2 * (1.0 / 3.0 - d2 * (2.0 / 15.0 - d2 * (17.0 / 315.0)))));
    }
    return static_cast<float>(1.0 - 2.0 / (exp(2.0 * d) + 1.0));
}

}  // namespace synthmath
