#pragma once
// PCX decoding with caller sizes from the input. Layout: flags (bit 0: scale), target width
// and height (u16, cut to 0..640), picture width and height (i16: negative and huge sizes
// reach the decoder as a hostile caller could pass them), then the file.
// Returns false when the decoder broke its promise (a status other than 0 or -1, or a
// failed decode that touched the target); memory faults are the sanitizers' to catch.
#include <vector>

#include "../InputCursor.h"
#include "assets/PcxDecoder.h"

inline bool runPcxTarget(const uint8_t* data, size_t size) {
    InputCursor input(data, size);
    const bool scale = input.takeByte() & 1;
    const int32_t targetWidth = input.takeU16() % 641;
    const int32_t targetHeight = input.takeU16() % 641;
    const int32_t sourceWidth = input.takeI16();
    const int32_t sourceHeight = input.takeI16();

    constexpr uint32_t kUntouched = 0xA5C3E1F0u;
    // Exactly the target's pixels, so any write past them is caught.
    std::vector<uint32_t> target(size_t(targetWidth) * size_t(targetHeight), kUntouched);
    uint32_t none = kUntouched;
    uint32_t* pixels = target.empty() ? &none : target.data();

    int32_t status = decodePcxFromMemory(input.rest(), input.restSize(), targetWidth, targetHeight,
                                         pixels, sourceWidth, sourceHeight, scale);
    if (status != 0 && status != -1) return false;
    if (none != kUntouched) return false;
    if (status == -1)
        for (uint32_t pixel : target)
            if (pixel != kUntouched) return false;
    return true;
}
