#include "Noise.h"

#include <cmath>

static float latticeValue(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h & 0xFFFFFF) / 16777215.0f;
}

static float smooth(float t) { return t * t * (3.0f - 2.0f * t); }

float periodicNoise(float x, float y, int period, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float tx = smooth(x - fx), ty = smooth(y - fy);
    auto wrap = [period](int v) { return ((v % period) + period) % period; };
    int x0 = wrap(ix), x1 = wrap(ix + 1), y0 = wrap(iy), y1 = wrap(iy + 1);
    float top = latticeValue(x0, y0, seed) + (latticeValue(x1, y0, seed) - latticeValue(x0, y0, seed)) * tx;
    float bottom = latticeValue(x0, y1, seed) + (latticeValue(x1, y1, seed) - latticeValue(x0, y1, seed)) * tx;
    return top + (bottom - top) * ty;
}

float periodicFbm(float x, float y, int period, int cells, int octaves, uint32_t seed) {
    float sum = 0, weight = 0.5f, total = 0;
    for (int o = 0; o < octaves; ++o) {
        float scale = float(cells) / float(period);
        sum += weight * periodicNoise(x * scale, y * scale, cells, seed + uint32_t(o) * 101u);
        total += weight;
        weight *= 0.5f;
        cells *= 2;
    }
    return sum / total;
}
