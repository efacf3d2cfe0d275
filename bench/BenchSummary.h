#pragma once
// Ratios between benchmarks, printed after the run from the medians of the same run.
// A benchmark file declares the comparisons it cares about at namespace scope:
//   BENCH_RATIO("copyInto / memcpy", "BM_copyInto", "BM_memcpy", 1.2);
// The names are the benchmarks' function names; a limit of 0 means "for information".

struct BenchRatio {
    const char* label;
    const char* numerator;
    const char* denominator;
    double limit;
};

bool registerBenchRatio(const BenchRatio& ratio);

#define BENCH_RATIO_CONCAT2(a, b) a##b
#define BENCH_RATIO_CONCAT(a, b) BENCH_RATIO_CONCAT2(a, b)
#define BENCH_RATIO(label, numerator, denominator, limit) \
    static const bool BENCH_RATIO_CONCAT(benchRatio_, __LINE__) = registerBenchRatio({label, numerator, denominator, limit})
