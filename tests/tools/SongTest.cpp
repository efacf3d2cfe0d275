#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "Random.h"
#include "ShowTimeline.h"
#include "Song.h"
#include "core/Units.h"
#include "SynthMath.h"

namespace {

// Mean energy below roughly 70 Hz (kick and bass; the chords start above 170 Hz) of the
// left channel between two times, through two one-pole low-pass stages.
double lowEnergy(const std::vector<int16_t>& pcm, double from, double to) {
    const double alpha = 1.0 - std::exp(-2.0 * 3.14159265 * 70.0 / units::kSampleRate);
    double stage1 = 0, stage2 = 0, sum = 0;
    size_t first = size_t(from * units::kSampleRate), last = size_t(to * units::kSampleRate);
    for (size_t i = first; i < last; ++i) {
        stage1 += alpha * (pcm[2 * i] - stage1);
        stage2 += alpha * (stage1 - stage2);
        sum += stage2 * stage2;
    }
    return sum / double(last - first);
}

// FNV-1a over the samples' bytes, in little-endian order on any host.
uint64_t hashOf(const std::vector<int16_t>& pcm) {
    uint64_t hash = 0xCBF29CE484222325ull;
    for (int16_t sample : pcm)
        for (int shift : {0, 8}) hash = (hash ^ ((uint16_t(sample) >> shift) & 0xFF)) * 0x100000001B3ull;
    return hash;
}

// The song's samples, the same on every platform we build for (the synth's own functions,
// SynthMath.h, and no floating-point contraction). Changing the music changes it on purpose.
constexpr uint64_t kSongHash = 0x6d79979abfbe4a10ull;

}  // namespace

TEST(Song, FillsTheShowAndFollowsItsParts) {
    const std::vector<int16_t> pcm = renderSong();
    ASSERT_EQ(pcm.size(), size_t(show::kLengthSeconds * units::kSampleRate) * 2);

    int peak = 0;
    for (int16_t s : pcm) peak = std::max(peak, std::abs(int(s)));
    EXPECT_GT(peak, 26000);
    EXPECT_LT(peak, 32767) << "the master leaves headroom for the MP3 encoder";

    // Kick and bass rest in the build-up before the kebab and come back with the drop.
    double build = lowEnergy(pcm, 62.0, 63.9), drop = lowEnergy(pcm, 66.1, 69.9);
    EXPECT_GT(drop, 4.0 * build) << drop << " " << build;
    // The title runs without the beat until the strips arrive.
    EXPECT_GT(lowEnergy(pcm, 20.1, 21.9), 4.0 * lowEnergy(pcm, 2.0, 8.0)) << lowEnergy(pcm, 2.0, 8.0);
    // The last half second has faded out.
    int tail = 0;
    for (size_t i = pcm.size() - 2 * units::kSampleRate / 2; i < pcm.size(); ++i) tail = std::max(tail, std::abs(int(pcm[i])));
    EXPECT_LT(tail, peak / 20);

    EXPECT_EQ(hashOf(pcm), kSongHash) << std::hex << hashOf(pcm);
}

// The synth's functions against the C library's, on the arguments the synth gives them.
TEST(Song, SynthFunctionsAgreeWithTheCLibrary) {
    Random random(21);
    int wrong = 0;
    for (int i = 0; i < 200000; ++i) {
        const double angle = (random.unit() - 0.5) * 4e4, power = (random.unit() - 0.5) * 60;
        const double exponent = -random.unit() * 700;
        const float drive = (random.unit() - 0.5f) * (i % 2 ? 0.5f : 12.0f);
        wrong += std::fabs(synthmath::sin(angle) - std::sin(angle)) > 1e-14;
        wrong += std::fabs(synthmath::exp2(power) / std::exp2(power) - 1) > 1e-14;
        wrong += std::fabs(synthmath::exp(exponent) / std::exp(exponent) - 1) > 1e-12;
        wrong += std::fabs(synthmath::tanh(drive) - std::tanh(drive)) > 2 * std::numeric_limits<float>::epsilon();
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(synthmath::tanh(40.0f), 1.0f);
    EXPECT_EQ(synthmath::tanh(-40.0f), -1.0f);
    EXPECT_EQ(synthmath::sin(0.0), 0.0);
    EXPECT_EQ(synthmath::exp2(3.0), 8.0);
}
