#include "audio/VirtualAudioLibrary.h"

#include "audio/StreamDecoder.h"

namespace {
constexpr size_t kMixFrames = 4096;
}

VirtualAudioLibrary::~VirtualAudioLibrary() { free(); }

bool VirtualAudioLibrary::openOutput() {
    mixedFrames = 0;
    buffer.assign(2 * kMixFrames, 0);
    return true;
}

void VirtualAudioLibrary::closeOutput() { endWavCapture(); }

void VirtualAudioLibrary::setTimeSeconds(double seconds) {
    if (!isInitialised() || !(seconds > 0)) return;
    // Truncated, so that a frame is mixed only once the clock has passed it.
    const auto target = static_cast<uint64_t>(seconds * kOutputRate);
    while (mixedFrames < target) {
        const size_t n = static_cast<size_t>(target - mixedFrames < kMixFrames ? target - mixedFrames : kMixFrames);
        renderOutput(buffer.data(), n);
        capture.write(buffer.data(), n);
        mixedFrames += n;
    }
}

bool VirtualAudioLibrary::beginWavCapture(const std::string& path) { return capture.open(path); }

bool VirtualAudioLibrary::endWavCapture() { return capture.close(); }
