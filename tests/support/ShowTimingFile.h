#pragma once
#include <gtest/gtest.h>

#include <string>

#include "parts/ShowTiming.h"
#include "support/FileBytes.h"

// The show's timing from its one source, the script in the source tree.
inline const show::Timing& sourceTiming() {
    static const show::Timing timing = [] {
        const std::vector<uint8_t> bytes = readFileBytes(std::string(TEST_SOURCE_DIR) + "/show/synkTest.snc");
        show::Timing read;
        std::string error;
        EXPECT_TRUE(show::readTiming(std::string(bytes.begin(), bytes.end()), read, error)) << error;
        return read;
    }();
    return timing;
}
