#include "Synth.h"

#include <algorithm>
#include <cmath>

#include "SynthMath.h"

namespace {

constexpr double kTau = 6.283185307179586;
constexpr double kLog2Of40 = 5.321928094887363;

// Chamberlin state-variable filter (low-pass and band-pass outputs).
struct Svf {
    float low = 0, band = 0;
    float f = 0.1f, damping = 1.0f;
    void tune(double cutoff, int rate, float resonanceDamping) {
        f = float(2.0 * synthmath::sin(kTau * 0.5 * std::min(cutoff, rate / 6.5) / rate));
        damping = resonanceDamping;
    }
    float step(float in) {
        low += f * band;
        float high = in - low - damping * band;
        band += f * high;
        return low;
    }
};

// Saw with the step smoothed by a polynomial (PolyBLEP), which keeps aliasing low.
struct BlepSaw {
    double phase = 0, increment = 0;
    explicit BlepSaw(double freq, int rate, double start = 0) : phase(start), increment(freq / rate) {}
    void retune(double freq, int rate) { increment = freq / rate; }
    float next() {
        double t = phase;
        double v = 2.0 * t - 1.0;
        if (t < increment) {
            double x = t / increment;
            v -= x + x - x * x - 1.0;
        } else if (t > 1.0 - increment) {
            double x = (t - 1.0) / increment;
            v -= x * x + x + x + 1.0;
        }
        phase += increment;
        if (phase >= 1.0) phase -= 1.0;
        return float(v);
    }
};

// Attack, full level, then a release after the note's length.
float envelope(double t, double length, double attack, double release) {
    if (t < attack) return float(t / attack);
    if (t < length) return 1.0f;
    return float(std::max(0.0, 1.0 - (t - length) / release));
}

// 1 until the last 10 ms of an n-sample sound, then down to 0, so a cut-off tail does
// not click.
float tailFade(size_t i, size_t n, int rate) {
    const double fade = 0.01 * rate;
    return float(std::min(1.0, double(n - i) / fade));
}

}  // namespace

StereoTrack::StereoTrack(int rate, double seconds)
    : sampleRate(rate), left(size_t(seconds * rate), 0.0f), right(size_t(seconds * rate), 0.0f) {}

void StereoTrack::mixIn(const StereoTrack& other, float gain) {
    for (size_t i = 0; i < std::min(length(), other.length()); ++i) {
        left[i] += other.left[i] * gain;
        right[i] += other.right[i] * gain;
    }
}

double noteFrequency(double midi) { return 440.0 * synthmath::exp2((midi - 69.0) / 12.0); }

void Synth::kick(StereoTrack& t, double at, float gain) {
    size_t start = sampleAt(at), n = size_t(0.45 * rate);
    double phase = 0;
    for (size_t i = 0; i < n; ++i) {
        double s = double(i) / rate;
        phase += (44.0 + 120.0 * synthmath::exp(-s * 28.0)) / rate;
        float body = float(synthmath::sin(kTau * phase) * synthmath::exp(-s * 6.5));
        float click = i < size_t(0.004 * rate) ? white() * 0.4f * (1.0f - float(s / 0.004)) : 0.0f;
        t.add(start + i, gain * synthmath::tanh(1.6f * (body + click)) * tailFade(i, n, rate), 0.5f);
    }
}

void Synth::snare(StereoTrack& t, double at, float gain) {
    size_t start = sampleAt(at), n = size_t(0.3 * rate);
    float previous = 0;
    for (size_t i = 0; i < n; ++i) {
        double s = double(i) / rate;
        float tone = float(synthmath::sin(kTau * 185.0 * s) * synthmath::exp(-s * 22.0));
        float w = white(), bright = w - previous * 0.6f;
        previous = w;
        float rattle = bright * float(synthmath::exp(-s * 15.0));
        t.add(start + i, gain * (0.55f * tone + 0.6f * rattle), 0.48f);
    }
}

void Synth::clap(StereoTrack& t, double at, float gain) {
    size_t start = sampleAt(at), n = size_t(0.35 * rate);
    Svf band;
    band.tune(1300, rate, 0.7f);
    for (size_t i = 0; i < n; ++i) {
        double s = double(i) / rate;
        double burst = std::fmod(s, 0.011);
        double env = s < 0.033 ? synthmath::exp(-burst * 300.0) : synthmath::exp(-(s - 0.033) * 16.0);
        band.step(white());
        t.add(start + i, gain * 2.2f * band.band * float(env), 0.52f);
    }
}

void Synth::hat(StereoTrack& t, double at, float gain, bool open, float pan) {
    size_t start = sampleAt(at), n = size_t((open ? 0.45 : 0.06) * rate);
    float previous = 0;
    const double decay = open ? 9.0 : 70.0;
    for (size_t i = 0; i < n; ++i) {
        double s = double(i) / rate;
        float w = white(), high = w - previous;
        previous = w;
        t.add(start + i, gain * 0.5f * high * float(synthmath::exp(-s * decay)), pan);
    }
}

void Synth::crash(StereoTrack& t, double at, float gain) {
    size_t start = sampleAt(at), n = size_t(2.6 * rate);
    float previousL = 0, previousR = 0;
    for (size_t i = 0; i < n; ++i) {
        double s = double(i) / rate;
        float env = float(synthmath::exp(-s * 1.7)) * (s < 0.002 ? float(s / 0.002) : 1.0f);
        float wl = white(), wr = white();
        t.add(start + i, gain * 0.45f * (wl - previousL) * env, 0.15f);
        t.add(start + i, gain * 0.45f * (wr - previousR) * env, 0.85f);
        previousL = wl, previousR = wr;
    }
}

void Synth::riser(StereoTrack& t, double at, double seconds, float gain) {
    size_t start = sampleAt(at), n = size_t(seconds * rate);
    Svf filter;
    for (size_t i = 0; i < n; ++i) {
        double p = double(i) / double(n);
        if (i % 64 == 0) filter.tune(200.0 * synthmath::exp2(p * kLog2Of40), rate, 0.35f);
        filter.step(white());
        float level = gain * float(p * p) * tailFade(i, n, rate);
        t.add(start + i, filter.band * level, 0.5f + 0.3f * float(synthmath::sin(kTau * 2.0 * p * seconds)));
    }
}

void Synth::bass(StereoTrack& t, double at, double seconds, int midi, float gain) {
    size_t start = sampleAt(at), n = size_t((seconds + 0.03) * rate);
    double freq = noteFrequency(midi);
    BlepSaw saw(freq, rate), sawDetuned(freq * 1.004, rate, 0.3);
    Svf filter;
    for (size_t i = 0; i < n; ++i) {
        double s = double(i) / rate;
        if (i % 32 == 0) filter.tune(180.0 + 1400.0 * synthmath::exp(-s * 11.0), rate, 0.5f);
        float raw = 0.5f * (saw.next() + sawDetuned.next());
        float sub = float(synthmath::sin(kTau * freq * s));
        float v = filter.step(raw) * 0.8f + sub * 0.6f;
        t.add(start + i, gain * v * envelope(s, seconds, 0.003, 0.03), 0.5f);
    }
}

void Synth::pad(StereoTrack& t, double at, double seconds, const std::vector<int>& midis,
                float gain, float brightness) {
    const double release = 0.6;
    size_t start = sampleAt(at), n = size_t((seconds + release) * rate);
    const double detune[3] = {-0.09, 0.0, 0.11};   // semitones
    const float pans[3] = {0.2f, 0.5f, 0.8f};
    for (int midi : midis)
        for (int v = 0; v < 3; ++v) {
            BlepSaw saw(noteFrequency(midi + detune[v]), rate, 0.37 * v);
            Svf filter;
            filter.tune(400.0 + 3600.0 * brightness, rate, 0.9f);
            for (size_t i = 0; i < n; ++i) {
                double s = double(i) / rate;
                float e = envelope(s, seconds, 0.25, release);
                t.add(start + i, gain * 0.18f * filter.step(saw.next()) * e, pans[v]);
            }
        }
}

void Synth::lead(StereoTrack& t, double at, double seconds, int midi, float gain) {
    size_t start = sampleAt(at), n = size_t((seconds + 0.12) * rate);
    double freq = noteFrequency(midi);
    // A square is the difference of two saws half a period apart; a third, detuned saw
    // thickens it.
    BlepSaw squareA(freq, rate), squareB(freq, rate, 0.5), saw(freq * 1.006, rate, 0.25);
    Svf filter;
    filter.tune(3200, rate, 0.6f);
    for (size_t i = 0; i < n; ++i) {
        double s = double(i) / rate;
        double vibrato = s > 0.18 ? 1.0 + 0.004 * synthmath::sin(kTau * 5.5 * s) : 1.0;
        squareA.retune(freq * vibrato, rate);
        squareB.retune(freq * vibrato, rate);
        saw.retune(freq * vibrato * 1.006, rate);
        float square = 0.5f * (squareA.next() - squareB.next());
        float decay = 0.75f + 0.25f * float(synthmath::exp(-s * 8.0));
        float v = filter.step(0.5f * square + 0.5f * saw.next()) * decay;
        t.add(start + i, gain * v * envelope(s, seconds, 0.006, 0.12), 0.5f);
    }
}

void Synth::pluck(StereoTrack& t, double at, double seconds, int midi, float gain, float pan) {
    size_t start = sampleAt(at), n = size_t((seconds + 0.2) * rate);
    BlepSaw saw(noteFrequency(midi), rate);
    Svf filter;
    for (size_t i = 0; i < n; ++i) {
        double s = double(i) / rate;
        if (i % 32 == 0) filter.tune(300.0 + 5000.0 * synthmath::exp(-s * 16.0), rate, 0.4f);
        float v = filter.step(saw.next()) * float(synthmath::exp(-s * 5.0));
        t.add(start + i, gain * v * envelope(s, seconds, 0.002, 0.2), pan);
    }
}

void pingPongDelay(StereoTrack& t, double delaySeconds, float feedback, float wet) {
    size_t d = size_t(delaySeconds * t.sampleRate);
    std::vector<float> echoL(t.length(), 0.0f), echoR(t.length(), 0.0f);
    for (size_t i = d; i < t.length(); ++i) {
        // The left echo is fed from the right side and the other way round.
        echoL[i] = (t.right[i - d] + echoR[i - d]) * feedback;
        echoR[i] = (t.left[i - d] + echoL[i - d]) * feedback;
    }
    for (size_t i = 0; i < t.length(); ++i) {
        t.left[i] += echoL[i] * wet;
        t.right[i] += echoR[i] * wet;
    }
}

void duckUnderKicks(StereoTrack& t, const std::vector<double>& kickTimes, float depth) {
    std::vector<float> gain(t.length(), 1.0f);
    for (double k : kickTimes) {
        size_t start = size_t(k * t.sampleRate), n = size_t(0.3 * t.sampleRate);
        for (size_t i = 0; i < n && start + i < gain.size(); ++i) {
            double s = double(i) / t.sampleRate;
            float dip = depth * float(synthmath::exp(-s * 9.0));
            gain[start + i] = std::min(gain[start + i], 1.0f - dip);
        }
    }
    for (size_t i = 0; i < t.length(); ++i) {
        t.left[i] *= gain[i];
        t.right[i] *= gain[i];
    }
}

namespace {

class Comb {
public:
    Comb(size_t length, float feedback, float damping) : buffer(length, 0.0f), feedback(feedback), damping(damping) {}
    float step(float in) {
        float out = buffer[at];
        filtered = out * (1.0f - damping) + filtered * damping;
        buffer[at] = in + filtered * feedback;
        at = (at + 1) % buffer.size();
        return out;
    }

private:
    std::vector<float> buffer;
    size_t at = 0;
    float feedback, damping, filtered = 0;
};

class AllPass {
public:
    explicit AllPass(size_t length) : buffer(length, 0.0f) {}
    float step(float in) {
        float delayed = buffer[at];
        buffer[at] = in + delayed * 0.5f;
        at = (at + 1) % buffer.size();
        return delayed - in;
    }

private:
    std::vector<float> buffer;
    size_t at = 0;
};

void reverbChannel(const std::vector<float>& in, std::vector<float>& out, size_t spread, float room, float damping) {
    const size_t combLengths[4] = {1116, 1188, 1277, 1356};
    std::vector<Comb> combs;
    for (size_t l : combLengths) combs.emplace_back(l + spread, room, damping);
    AllPass first(556 + spread), second(441 + spread);
    for (size_t i = 0; i < in.size(); ++i) {
        float sum = 0;
        for (Comb& c : combs) sum += c.step(in[i] * 0.25f);
        out[i] = second.step(first.step(sum));
    }
}

}  // namespace

StereoTrack reverbOf(const StereoTrack& send, float roomSize, float damping) {
    StereoTrack wet(send.sampleRate, 0.0);
    wet.left.resize(send.length());
    wet.right.resize(send.length());
    reverbChannel(send.left, wet.left, 0, roomSize, damping);
    reverbChannel(send.right, wet.right, 23, roomSize, damping);
    return wet;
}

std::vector<int16_t> masterToPcm(const StereoTrack& mix, float drive, float peak) {
    std::vector<float> shaped(mix.length() * 2);
    float loudest = 1e-6f;
    for (size_t i = 0; i < mix.length(); ++i) {
        shaped[2 * i] = synthmath::tanh(mix.left[i] * drive);
        shaped[2 * i + 1] = synthmath::tanh(mix.right[i] * drive);
        loudest = std::max({loudest, std::fabs(shaped[2 * i]), std::fabs(shaped[2 * i + 1])});
    }
    const float scale = peak * 32767.0f / loudest;
    std::vector<int16_t> pcm(shaped.size());
    for (size_t i = 0; i < shaped.size(); ++i) pcm[i] = int16_t(std::lround(shaped[i] * scale));
    return pcm;
}
