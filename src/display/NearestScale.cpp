#include "display/NearestScale.h"

#include <algorithm>
#include <cmath>
#include <cstring>

LetterboxFit letterboxFit(int32_t frameWidth, int32_t frameHeight, int32_t outputWidth, int32_t outputHeight) {
    LetterboxFit fit;
    if (frameWidth <= 0 || frameHeight <= 0 || outputWidth <= 0 || outputHeight <= 0) return fit;
    // Single precision and the rounding of the renderer's own fit, so the bands match.
    const float wanted = static_cast<float>(frameWidth) / static_cast<float>(frameHeight);
    const float real = static_cast<float>(outputWidth) / static_cast<float>(outputHeight);
    if (std::fabs(wanted - real) < 0.0001f) {
        fit.scale = static_cast<float>(outputWidth) / static_cast<float>(frameWidth);
        fit.width = outputWidth;
        fit.height = outputHeight;
    } else if (wanted > real) {
        fit.scale = static_cast<float>(outputWidth) / static_cast<float>(frameWidth);
        fit.width = outputWidth;
        fit.height = static_cast<int32_t>(std::floor(static_cast<float>(frameHeight) * fit.scale));
        fit.y = (outputHeight - fit.height) / 2;
    } else {
        fit.scale = static_cast<float>(outputHeight) / static_cast<float>(frameHeight);
        fit.height = outputHeight;
        fit.width = static_cast<int32_t>(std::floor(static_cast<float>(frameWidth) * fit.scale));
        fit.x = (outputWidth - fit.width) / 2;
    }
    return fit;
}

namespace {
// The source index under the centre of output pixel i: floor((i + 0.5) / scale), kept inside.
std::vector<int32_t> centreSamples(int32_t outputCount, float scale, int32_t sourceCount) {
    std::vector<int32_t> map(static_cast<size_t>(std::max(outputCount, 0)));
    for (int32_t i = 0; i < outputCount; ++i) {
        const double at = (static_cast<double>(i) + 0.5) / static_cast<double>(scale);
        map[static_cast<size_t>(i)] = std::clamp(static_cast<int32_t>(std::floor(at)), 0, sourceCount - 1);
    }
    return map;
}
}  // namespace

NearestScaler::NearestScaler(int32_t frameWidth, int32_t frameHeight, int32_t outputWidth, int32_t outputHeight)
    : frameWidth(frameWidth), outputWidth(outputWidth), outputHeight(outputHeight),
      where(letterboxFit(frameWidth, frameHeight, outputWidth, outputHeight)),
      sourceColumn(centreSamples(where.width, where.scale, frameWidth)),
      sourceRow(centreSamples(where.height, where.scale, frameHeight)) {}

void NearestScaler::scale(const uint32_t* frame, uint32_t* output, int32_t outputPitch) const {
    const size_t pitch = static_cast<size_t>(outputPitch);
    for (int32_t y = 0; y < outputHeight; ++y) {
        uint32_t* row = output + static_cast<size_t>(y) * pitch;
        const int32_t fitRow = y - where.y;
        if (fitRow < 0 || fitRow >= where.height) {
            std::fill(row, row + outputWidth, 0u);
            continue;
        }
        std::fill(row, row + where.x, 0u);
        std::fill(row + where.x + where.width, row + outputWidth, 0u);
        uint32_t* inside = row + where.x;
        // Rows that show the same frame row as the one above are copies of it.
        if (fitRow > 0 && sourceRow[static_cast<size_t>(fitRow)] == sourceRow[static_cast<size_t>(fitRow - 1)]) {
            std::memcpy(inside, inside - pitch, static_cast<size_t>(where.width) * sizeof(uint32_t));
            continue;
        }
        const uint32_t* source = frame + static_cast<size_t>(sourceRow[static_cast<size_t>(fitRow)]) * frameWidth;
        for (int32_t x = 0; x < where.width; ++x) inside[x] = source[sourceColumn[static_cast<size_t>(x)]] & 0xffffffu;
    }
}
