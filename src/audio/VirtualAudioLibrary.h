#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "audio/MixingAudioLibrary.h"
#include "audio/WavWriter.h"

// The audio library without a device: the mix advances only when the caller moves the clock
// on, so positions follow a virtual clock exactly; what is mixed can be captured to a WAV
// file (the soundtrack of an offline rendering). The clock reads 0 at init.
class VirtualAudioLibrary : public MixingAudioLibrary {
public:
    ~VirtualAudioLibrary() override;

    // Mixes up to the given time since init; times at or before the current one do nothing.
    void setTimeSeconds(double seconds);
    // Frames mixed since init.
    uint64_t framesMixed() const { return mixedFrames; }

    // Writes everything mixed from now on to a WAV file; false when it cannot be created.
    bool beginWavCapture(const std::string& path);
    // Completes the WAV file; false when any write failed.
    bool endWavCapture();

protected:
    bool openOutput() override;
    void closeOutput() override;
    void lockOutput() override {}
    void unlockOutput() override {}

private:
    uint64_t mixedFrames = 0;
    std::vector<int16_t> buffer;
    WavWriter capture;
};
