#pragma once
#include <cstdint>

#include "audio/MixingAudioLibrary.h"
#include "audio/StreamDecoder.h"

// The real audio library: one SDL audio device at 44100 Hz, 16-bit stereo, mixing the
// channels in SDL's audio callback. Streams are decoded in the callback a piece at a time
// from the file's bytes in memory, so it never waits for a file or another thread.
class SdlAudioLibrary : public MixingAudioLibrary {
public:
    ~SdlAudioLibrary() override;

    // How far the sound heard lags the position: the device's buffer, in seconds (0 before
    // the device is open).
    double outputLatencySeconds() const { return static_cast<double>(bufferFrames) / kOutputRate; }

protected:
    bool openOutput() override;
    void closeOutput() override;
    void lockOutput() override;
    void unlockOutput() override;

private:
    static void fillDeviceBuffer(void* library, uint8_t* buffer, int bytes);

    uint32_t device = 0;
    uint32_t bufferFrames = 0;
};
