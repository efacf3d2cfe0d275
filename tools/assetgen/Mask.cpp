#include "Mask.h"

#include <algorithm>
#include <cmath>

Mask padded(const Mask& m, int border) {
    Mask out(m.width + 2 * border, m.height + 2 * border);
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) out.ref(x + border, y + border) = m.at(x, y);
    return out;
}

static void boxPass(const Mask& in, Mask& out, int radius, bool horizontal) {
    const int len = horizontal ? in.width : in.height;
    const int lines = horizontal ? in.height : in.width;
    const float norm = 1.0f / float(2 * radius + 1);
    for (int line = 0; line < lines; ++line) {
        auto sample = [&](int i) {
            return horizontal ? in.at(i, line) : in.at(line, i);
        };
        float sum = 0;
        for (int i = -radius; i <= radius; ++i) sum += sample(i);
        for (int i = 0; i < len; ++i) {
            (horizontal ? out.ref(i, line) : out.ref(line, i)) = sum * norm;
            sum += sample(i + radius + 1) - sample(i - radius);
        }
    }
}

Mask blurred(const Mask& m, int radius) {
    if (radius <= 0) return m;
    Mask a = m, b(m.width, m.height);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(a, b, radius, true);
        boxPass(b, a, radius, false);
    }
    return a;
}

Mask grown(const Mask& m, int radius) {
    Mask out = blurred(m, std::max(1, radius / 2));
    for (float& a : out.alpha) a = std::clamp(a * 4.0f, 0.0f, 1.0f);
    return out;
}

Mask polygonMask(int w, int h, const std::vector<Point>& corners) {
    Mask out(w, h);
    const size_t n = corners.size();
    std::vector<float> crossings;
    for (int y = 0; y < h; ++y) {
        for (int sy = 0; sy < 4; ++sy) {
            float py = float(y) + (float(sy) + 0.5f) / 4.0f;
            crossings.clear();
            for (size_t i = 0; i < n; ++i) {
                Point a = corners[i], b = corners[(i + 1) % n];
                if ((a.y <= py) != (b.y <= py))
                    crossings.push_back(a.x + (py - a.y) / (b.y - a.y) * (b.x - a.x));
            }
            std::sort(crossings.begin(), crossings.end());
            for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
                // Sub-samples sit at (sx + 0.5) / 4; take those inside [left, right).
                int first = std::max(0, int(std::ceil(crossings[i] * 4.0f - 0.5f)));
                int last = std::min(4 * w, int(std::ceil(crossings[i + 1] * 4.0f - 0.5f)));
                for (int sx = first; sx < last; ++sx) out.ref(sx / 4, y) += 1.0f / 16.0f;
            }
        }
    }
    return out;
}

void paintMask(Canvas& canvas, const Mask& m, int x, int y,
               const std::function<Rgb(int cx, int cy)>& colourAt, float opacity) {
    for (int my = 0; my < m.height; ++my)
        for (int mx = 0; mx < m.width; ++mx) {
            float a = m.at(mx, my) * opacity;
            int cx = x + mx, cy = y + my;
            if (a > 0 && canvas.inside(cx, cy)) canvas.blend(cx, cy, colourAt(cx, cy), a);
        }
}

void paintMask(Canvas& canvas, const Mask& m, int x, int y, Rgb colour, float opacity) {
    paintMask(canvas, m, x, y, [colour](int, int) { return colour; }, opacity);
}

void addMask(Canvas& canvas, const Mask& m, int x, int y, Rgb colour, float amount) {
    for (int my = 0; my < m.height; ++my)
        for (int mx = 0; mx < m.width; ++mx) canvas.add(x + mx, y + my, colour, m.at(mx, my) * amount);
}
