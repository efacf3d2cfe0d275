#pragma once
#include <cstdint>

// The units and sizes the whole show agrees on, in one place: the frame, the music's byte
// count, the run timer's milliseconds, the players' frame step. Plain constants, so every
// layer and the data generator can include it.
namespace units {

// The frame every part draws: 512 x 384 pixels of 32 bits.
inline constexpr int32_t kFrameWidth = 512;
inline constexpr int32_t kFrameHeight = 384;

// Music positions count bytes of 16-bit stereo PCM at 44100 Hz.
inline constexpr int32_t kSampleRate = 44100;
inline constexpr int32_t kBytesPerSampleFrame = 4;
inline constexpr int64_t kMusicBytesPerSecond = int64_t{kSampleRate} * kBytesPerSampleFrame;   // 176400

inline constexpr int64_t kMsPerSecond = 1000;
inline constexpr int64_t kNsPerMs = 1000000;
inline constexpr int64_t kNsPerSecond = kNsPerMs * kMsPerSecond;

// How long the show runs after its last part change: the end scroller's time. Where the
// offline renderer stops by default and the browser's seek bar ends.
inline constexpr int64_t kShowTailMs = 40000;

// One frame at 60 a second, the pace of a display and of the players' single steps.
inline constexpr int32_t kFramesPerSecond = 60;
inline constexpr int64_t kFrameStepNs = (kNsPerSecond + kFramesPerSecond / 2) / kFramesPerSecond;   // 16666667

// The music byte reached at a run time: whole sample frames, as the audio library counts
// them when it plays from the start. Capped below 2^32.
inline uint32_t musicBytesAt(int64_t ms) {
    if (ms <= 0) return 0;
    const auto frames = static_cast<uint64_t>(static_cast<double>(ms) / 1000.0 * kSampleRate);
    const uint64_t bytes = frames * kBytesPerSampleFrame;
    return bytes > 0xFFFFFFF0u ? 0xFFFFFFF0u : static_cast<uint32_t>(bytes);
}

// The run time, in whole milliseconds, at which the music reaches a byte position.
inline int64_t msAtMusicBytes(int64_t bytes) { return bytes * kMsPerSecond / kMusicBytesPerSecond; }

}  // namespace units
