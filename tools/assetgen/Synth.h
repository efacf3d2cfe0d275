#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Random.h"

// Instruments of the soundtrack. Each call adds one note or hit into a stereo track at a
// time in seconds; the song (Song.cpp) decides what plays when.

// A stereo float track of a fixed length.
struct StereoTrack {
    int sampleRate;
    std::vector<float> left, right;

    StereoTrack(int rate, double seconds);
    size_t length() const { return left.size(); }
    // Adds a sample at index i, placed by pan (0 left, 0.5 centre, 1 right).
    void add(size_t i, float value, float pan) {
        if (i >= left.size()) return;
        left[i] += value * (1.0f - pan) * 2.0f * 0.7071f;
        right[i] += value * pan * 2.0f * 0.7071f;
    }
    // Adds another track scaled by gain.
    void mixIn(const StereoTrack& other, float gain);
};

// Frequency of a MIDI note number (69 = A 440 Hz).
double noteFrequency(double midi);

class Synth {
public:
    explicit Synth(int sampleRate) : rate(sampleRate), noise(0x5EED) {}

    void kick(StereoTrack& t, double at, float gain);
    void snare(StereoTrack& t, double at, float gain);
    void clap(StereoTrack& t, double at, float gain);
    void hat(StereoTrack& t, double at, float gain, bool open, float pan);
    void crash(StereoTrack& t, double at, float gain);
    // Rising filtered noise from `at` for `seconds`, ending loudest.
    void riser(StereoTrack& t, double at, double seconds, float gain);

    void bass(StereoTrack& t, double at, double seconds, int midi, float gain);
    // A chord of detuned saws; brightness 0..1 opens the filter.
    void pad(StereoTrack& t, double at, double seconds, const std::vector<int>& midis, float gain,
             float brightness);
    void lead(StereoTrack& t, double at, double seconds, int midi, float gain);
    void pluck(StereoTrack& t, double at, double seconds, int midi, float gain, float pan);

private:
    float white() { return noise.unit() * 2.0f - 1.0f; }
    size_t sampleAt(double seconds) const { return size_t(seconds * rate + 0.5); }

    int rate;
    Random noise;
};

// Feedback echo, alternating sides, applied in place.
void pingPongDelay(StereoTrack& t, double delaySeconds, float feedback, float wet);
// The reverberation alone (no dry signal) of a track: parallel damped comb filters and two
// all-pass diffusers per side, the right side slightly detuned in time for width.
StereoTrack reverbOf(const StereoTrack& send, float roomSize, float damping);
// Gain that dips after each kick, so pads and bass breathe with the beat ("pumping").
void duckUnderKicks(StereoTrack& t, const std::vector<double>& kickTimes, float depth);
// Scales the mix by `drive`, soft-clips it, and scales it to 16-bit interleaved stereo with
// its peak at `peak` (of full scale).
std::vector<int16_t> masterToPcm(const StereoTrack& mix, float drive, float peak);
