#pragma once
#include <cstdio>
#include <cstdlib>

// The readers print their progress on stdout; a harness runs them millions of times and
// has no use for it. The engine's key waits read standard input: at its end they return.
#define DEMO_FUZZ_QUIET_STDOUT                                  \
    extern "C" int LLVMFuzzerInitialize(int*, char***) {        \
        std::freopen("/dev/null", "w", stdout);                 \
        std::freopen("/dev/null", "r", stdin);                  \
        return 0;                                               \
    }

// A broken promise of a reader is a finding like a memory fault.
#define DEMO_FUZZ_TARGET(run)                                                   \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {   \
        if (!run(data, size)) std::abort();                                    \
        return 0;                                                               \
    }
