#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Decoding of stream files (MP3, WAV) into the output format: 44100 Hz, 16-bit, stereo,
// interleaved, piece by piece as it plays. Shared by the device and the virtual audio
// library, so both play the same samples.

inline constexpr int32_t kOutputRate = 44100;
inline constexpr int32_t kOutputBytesPerFrame = 4;  // two 16-bit channels

// A file's audio in its own rate and channel count (1 or 2), read in pieces.
class PcmSource {
public:
    virtual ~PcmSource() = default;
    int32_t rate() const { return sourceRate; }
    int32_t channels() const { return sourceChannels; }
    // Up to `count` interleaved samples; 0 at the end. A piece may end inside a frame.
    virtual size_t read(int16_t* samples, size_t count) = 0;
    // From the first sample again, giving exactly the same samples.
    virtual void rewind() = 0;
    // What opens a second source over the same file (sharing its bytes), at its first
    // sample; it gives null when the file cannot be opened. It holds only what never
    // changes, so it may be called on any thread while this source plays on.
    using Opener = std::function<std::unique_ptr<PcmSource>()>;
    virtual Opener opener() const = 0;

protected:
    int32_t sourceRate = 0;
    int32_t sourceChannels = 0;
};

// Null when the bytes are no MP3 (after an optional ID3v2 tag the first MPEG audio frame
// must start at once, so that other files are not mistaken for one).
std::unique_ptr<PcmSource> openMp3Source(std::vector<uint8_t> bytes);
// PCM WAV, 8 or 16 bits, mono or stereo, 4000..384000 Hz; null otherwise.
std::unique_ptr<PcmSource> openWavSource(std::vector<uint8_t> bytes);

// A source in the output format, a piece at a time: mono doubled, other rates resampled
// linearly. Output frame i is read at source frame i * rate / 44100 in 32.32 fixed point
// (the same on every machine) between that frame and the next, the last frame standing in
// for its missing successor; there are (source frames * 44100 / rate) of them. The position
// is carried across pieces, so any split of the reads gives the same frames.
class OutputStream {
public:
    explicit OutputStream(std::unique_ptr<PcmSource> source);
    // Up to `frames` stereo frames; fewer only at the end.
    size_t read(int16_t* stereo, size_t frames);
    // True when no frame is left (decodes ahead to know).
    bool atEnd() { return !nextFrameReady(); }
    void rewind();
    // Goes to output frame `frame`, decoding what lies before it; false (at the end) when
    // the stream is shorter.
    bool seek(uint64_t frame);
    // The next frame to be read.
    uint64_t position() const { return next; }
    // What opens a second stream of the same file at its start (null when it cannot), to
    // seek in while this one plays on.
    std::function<std::unique_ptr<OutputStream>()> opener() const;

private:
    // Decodes until output frame `next` can be made; false when the stream has no such frame.
    bool nextFrameReady();
    uint64_t framesHeld() const { return base + held / static_cast<size_t>(channels); }

    std::unique_ptr<PcmSource> source;
    int32_t channels;
    uint64_t step;                  // source frames per output frame, 32.32
    std::vector<int16_t> window;    // source samples from frame `base` on
    size_t held = 0;                // samples in the window, a partial frame included
    uint64_t base = 0;
    uint64_t next = 0;              // output frame
    uint64_t sourcePosition = 0;    // of output frame `next`, 32.32
    bool sourceEnded = false;
};

// The stream of a WAV or MP3 file; null when it is neither or holds no sound.
std::unique_ptr<OutputStream> openOutputStream(std::vector<uint8_t> bytes);
// The whole of a WAV or MP3 file in the output format; false when it is neither.
bool decodeStream(const uint8_t* data, size_t size, std::vector<int16_t>& stereo);
