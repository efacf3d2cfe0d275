#pragma once
#include <cstdint>

#include "parts/ImageEffect.h"

class Bitmap;

// Smears a picture sideways: each pixel becomes the mean of a window of pixels of its row,
// computed with running sums so the cost does not grow with the window.
class RowBlurFilter : public ImageEffect {
public:
    Bitmap* source = nullptr;
    // Window length n and direction: n > 0 averages the pixel and the n - 1 before it,
    // n < 0 the pixel and the -n - 1 after it, 0 copies.
    int32_t strength = 0;

    RowBlurFilter(Bitmap* source, int32_t strength);

    // Writes the blurred source into `target`, reading the source at the same positions.
    // Source pixels outside the source count as black. `time` and `additive` are unused.
    void apply(Bitmap* target, float time, int32_t additive) override;
    // "SOURCE": `value` itself is the new source Bitmap; "VAL": reads a 32-bit strength.
    void setParameter(const char* name, void* value) override;
};
