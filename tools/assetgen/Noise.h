#pragma once
#include <cstdint>

// Smooth value noise on a lattice that repeats every `period` cells, so pictures made from
// it tile seamlessly. Result in 0..1.
float periodicNoise(float x, float y, int period, uint32_t seed);
// Sum of `octaves` noise layers, each of twice the frequency and half the weight; the
// whole repeats every `period` pixels (period / cells must be a whole number at each octave).
float periodicFbm(float x, float y, int period, int cells, int octaves, uint32_t seed);
