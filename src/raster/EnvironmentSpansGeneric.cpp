// The backend without SIMD: one pixel at a time.
#include "raster/EnvironmentSpans.h"

void fillImageBumpEnvSpan(const AffineTarget& target, const AffineSpan<6>& span, const ImageBumpEnv& rule) {
    fillImageBumpEnvColumns(target, span, rule);
}
