#pragma once
#include <cstdint>
#include <vector>

// The frame scaled on the CPU as the GPU path shows it: a logical size of frame width by
// height fitted into the output with the aspect kept (bands above and below, or at the
// sides), then each output pixel takes the frame pixel under its centre.

// Where the frame lands in the output: the renderer's letterbox rule.
struct LetterboxFit {
    int32_t x = 0, y = 0, width = 0, height = 0;
    float scale = 1.0f;
};
LetterboxFit letterboxFit(int32_t frameWidth, int32_t frameHeight, int32_t outputWidth, int32_t outputHeight);

class NearestScaler {
public:
    // For a frame of frameWidth x frameHeight into an output of outputWidth x outputHeight.
    NearestScaler(int32_t frameWidth, int32_t frameHeight, int32_t outputWidth, int32_t outputHeight);

    // Writes the whole output (pitch in pixels): the scaled frame, the bands black. Bits
    // 24-31 of the frame are never shown and come out 0.
    void scale(const uint32_t* frame, uint32_t* output, int32_t outputPitch) const;

    const LetterboxFit& fit() const { return where; }
    // The frame column and row each output column and row of the fit shows.
    const std::vector<int32_t>& columns() const { return sourceColumn; }
    const std::vector<int32_t>& rows() const { return sourceRow; }

private:
    int32_t frameWidth, outputWidth, outputHeight;
    LetterboxFit where;
    std::vector<int32_t> sourceColumn, sourceRow;
};
