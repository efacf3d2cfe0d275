#include "Song.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "ShowTimeline.h"
#include "SyncScriptWriter.h"
#include "Synth.h"

namespace {

constexpr double kBar = show::kSecondsPerBar;
constexpr double kBeat = show::kSecondsPerBeat;
constexpr double kEighth = kBeat / 2;
constexpr double kSixteenth = kBeat / 4;

enum class Section { Intro, Entry, Groove, Breakbeat, Build, Drop, HalfTime, Anthem, Outro };

// What plays from each part's start on.
#define SONG_SECTION(Class, label, section, files) Section::section,
constexpr Section kSectionOfPart[] = {SHOW_PARTS(SONG_SECTION, SHOW_SKIP)};
#undef SONG_SECTION

struct Chord {
    int bassRoot;
    std::vector<int> pad;
};
// Am F C G.
const Chord kProgression[4] = {{33, {57, 60, 64}}, {29, {53, 57, 60}}, {36, {55, 60, 64}}, {31, {55, 59, 62}}};

struct HookNote {
    int step, eighths, midi;
};
// The hook: four bars of eighth notes, one bar over each chord.
const HookNote kHook[] = {{0, 2, 76},  {2, 1, 81},  {3, 1, 79},  {4, 2, 76},  {6, 2, 74},  {8, 3, 72},
                          {11, 1, 74}, {12, 2, 76}, {14, 2, 72}, {16, 2, 67}, {18, 1, 72}, {19, 1, 74},
                          {20, 2, 76}, {22, 2, 79}, {24, 2, 74}, {26, 2, 71}, {28, 4, 69}};

struct Tracks {
    StereoTrack drums, bass, pad, lead, arp, fx;
    explicit Tracks(double seconds)
        : drums(show::kSampleRate, seconds), bass(show::kSampleRate, seconds), pad(show::kSampleRate, seconds),
          lead(show::kSampleRate, seconds), arp(show::kSampleRate, seconds), fx(show::kSampleRate, seconds) {}
};

class Arranger {
public:
    Arranger() : synth(show::kSampleRate), tracks(show::kLengthSeconds) {}

    std::vector<int16_t> render() {
        const int bars = int(show::kLengthSeconds / kBar);
        for (int bar = 0; bar < bars; ++bar) playBar(bar);
        for (const show::Cue& cue : showTiming().cues)
            if (cue.name == "POWPOW") hit(cue.seconds());
        for (int i = 1; i < show::kPartCount; ++i) markChange(i);

        duckUnderKicks(tracks.pad, kicks, 0.55f);
        duckUnderKicks(tracks.bass, kicks, 0.35f);
        pingPongDelay(tracks.lead, 3 * kEighth, 0.38f, 0.45f);
        pingPongDelay(tracks.arp, 3 * kSixteenth, 0.3f, 0.5f);
        StereoTrack send(show::kSampleRate, show::kLengthSeconds);
        send.mixIn(tracks.pad, 0.35f);
        send.mixIn(tracks.lead, 0.3f);
        send.mixIn(tracks.arp, 0.3f);
        StereoTrack mix = reverbOf(send, 0.84f, 0.3f);
        mix.mixIn(tracks.drums, 0.95f);
        mix.mixIn(tracks.bass, 0.6f);
        mix.mixIn(tracks.pad, 0.55f);
        mix.mixIn(tracks.lead, 0.4f);
        mix.mixIn(tracks.arp, 0.22f);
        mix.mixIn(tracks.fx, 0.5f);
        fadeOut(mix, 8.0);
        return masterToPcm(mix, 0.5f, 0.85f);
    }

private:
    // The section playing at a bar, and the bar at which that section began.
    static Section sectionOf(int bar, int& sectionStart) {
        Section s = kSectionOfPart[0];
        sectionStart = 0;
        for (int i = 0; i < show::kPartCount; ++i)
            if (bar * kBar >= showTiming().partStart(i)) {
                s = kSectionOfPart[i];
                sectionStart = int(showTiming().partStart(i) / kBar);
            }
        return s;
    }

    void playBar(int bar) {
        int sectionStart;
        const Section section = sectionOf(bar, sectionStart);
        const int inSection = bar - sectionStart;
        const double t = bar * kBar;
        const Chord& chord = kProgression[inSection % 4];
        const int lastBar = int(show::kLengthSeconds / kBar) - 1;

        switch (section) {
            case Section::Intro: {
                float open = float(bar) / 10.0f;
                synth.pad(tracks.pad, t, kBar, chord.pad, 0.8f, 0.1f + 0.5f * open);
                if (bar >= 4) arpeggio(t, chord, 0.25f + 0.5f * open);
                if (bar >= 6) eighthHats(t, 0.25f);
                if (bar == 8) synth.riser(tracks.fx, t, 2 * kBar, 0.9f);
                if (bar == 9) snareRoll(t, 0.3f, 0.9f);
                break;
            }
            case Section::Entry:
            case Section::Groove:
                fourOnFloor(t, true);
                offbeatHats(t, 0.5f);
                bassLine(t, chord, false);
                synth.pad(tracks.pad, t, kBar, chord.pad, 0.7f, 0.55f);
                if (section == Section::Groove && inSection >= 2) hookBar(t, (inSection - 2) % 4, 0, 1.0f);
                break;
            case Section::Breakbeat:
                breakbeat(t);
                bassLine(t, chord, false);
                synth.pad(tracks.pad, t, kBar, chord.pad, 0.6f, 0.4f);
                arpeggio(t, chord, 0.8f);
                if (inSection >= 5) hookBar(t, (inSection - 5) % 4, -12, 0.7f);
                break;
            case Section::Build: {
                float rise = float(inSection + 1) / 2.0f;
                synth.pad(tracks.pad, t, kBar, chord.pad, 0.8f, 0.4f + 0.5f * rise);
                arpeggio(t, chord, 0.4f + 0.5f * rise);
                snareRoll(t, 0.25f + 0.3f * inSection, 0.55f + 0.4f * inSection);
                if (inSection == 0) synth.riser(tracks.fx, t, 2 * kBar, 1.0f);
                break;
            }
            case Section::Drop:
            case Section::Anthem:
                fourOnFloor(t, true);
                sixteenthHats(t);
                offbeatHats(t, 0.45f);
                bassLine(t, chord, true);
                synth.pad(tracks.pad, t, kBar, chord.pad, 0.8f, 0.75f);
                hookBar(t, inSection % 4, section == Section::Anthem ? 12 : 0, 1.0f);
                if (section == Section::Anthem) arpeggio(t, chord, 0.6f);
                break;
            case Section::HalfTime:
                halfTime(t);
                synth.bass(tracks.bass, t, kBar * 0.9, chord.bassRoot, 0.9f);
                synth.pad(tracks.pad, t, kBar, chord.pad, 0.8f, 0.35f);
                arpeggio(t, chord, 0.9f);
                break;
            case Section::Outro:
                if (inSection < 8) {
                    fourOnFloor(t, false);
                    offbeatHats(t, 0.35f * (1.0f - inSection / 10.0f));
                    bassLine(t, chord, false);
                    hookBar(t, inSection % 4, 0, 0.7f);
                }
                if (inSection < 16) arpeggio(t, chord, 0.7f);
                if (bar < lastBar - 3)
                    synth.pad(tracks.pad, t, kBar, chord.pad, 0.75f, 0.45f);
                else if (bar == lastBar - 3)   // the last chord rings to the end
                    synth.pad(tracks.pad, t, 4 * kBar - 0.6, kProgression[0].pad, 0.85f, 0.3f);
                break;
        }
    }

    void kickAt(double t, float gain) {
        synth.kick(tracks.drums, t, gain);
        kicks.push_back(t);
    }
    void fourOnFloor(double t, bool clap) {
        for (int b = 0; b < 4; ++b) kickAt(t + b * kBeat, 1.0f);
        if (clap) {
            synth.clap(tracks.drums, t + kBeat, 0.8f);
            synth.clap(tracks.drums, t + 3 * kBeat, 0.8f);
        }
    }
    void breakbeat(double t) {
        for (double k : {0.0, 1.5, 2.5}) kickAt(t + k * kBeat, 1.0f);
        synth.snare(tracks.drums, t + kBeat, 0.9f);
        synth.snare(tracks.drums, t + 3 * kBeat, 0.9f);
        synth.snare(tracks.drums, t + 3.75 * kBeat, 0.35f);
        sixteenthHats(t);
    }
    void halfTime(double t) {
        kickAt(t, 1.0f);
        kickAt(t + 2.5 * kBeat, 0.8f);
        synth.snare(tracks.drums, t + 2 * kBeat, 1.0f);
        eighthHats(t, 0.4f);
    }
    void eighthHats(double t, float gain) {
        for (int i = 0; i < 8; ++i) synth.hat(tracks.drums, t + i * kEighth, gain * (i % 2 ? 1.0f : 0.6f), false, 0.65f);
    }
    void offbeatHats(double t, float gain) {
        for (int b = 0; b < 4; ++b) synth.hat(tracks.drums, t + b * kBeat + kEighth, gain, true, 0.4f);
    }
    void sixteenthHats(double t) {
        for (int i = 0; i < 16; ++i) synth.hat(tracks.drums, t + i * kSixteenth, i % 4 == 2 ? 0.45f : 0.22f, false, 0.62f);
    }
    // Eighths over the first half bar, sixteenths over the second, getting louder.
    void snareRoll(double t, float from, float to) {
        constexpr int kHits = 12;
        for (int i = 0; i < kHits; ++i) {
            double at = i < 4 ? t + i * kEighth : t + 2 * kBeat + (i - 4) * kSixteenth;
            synth.snare(tracks.drums, at, from + (to - from) * float(i) / (kHits - 1));
        }
    }
    void bassLine(double t, const Chord& chord, bool driving) {
        for (int i = 0; i < 8; ++i) {
            int note = chord.bassRoot + ((i % 4 == 3) ? 12 : 0);
            float gain = driving ? (i % 2 ? 1.0f : 0.7f) : 0.85f;
            synth.bass(tracks.bass, t + i * kEighth, kEighth * 0.8, note, gain);
        }
    }
    void arpeggio(double t, const Chord& chord, float gain) {
        static const int order[8] = {0, 1, 2, 3, 4, 3, 2, 1};
        for (int i = 0; i < 16; ++i) {
            int k = order[i % 8];
            int midi = chord.pad[size_t(k % 3)] + 12 * (k / 3) + 12;
            synth.pluck(tracks.arp, t + i * kSixteenth, kSixteenth, midi, gain * 0.8f, i % 2 ? 0.3f : 0.7f);
        }
    }
    // One bar (0..3) of the hook, shifted by `transpose` semitones.
    void hookBar(double t, int hookBar, int transpose, float gain) {
        for (const HookNote& n : kHook)
            if (n.step / 8 == hookBar)
                synth.lead(tracks.lead, t + (n.step % 8) * kEighth, n.eighths * kEighth * 0.9, n.midi + transpose, gain);
    }
    // A crash where a part begins; where a beat was playing, a snare fill over the beat before.
    void markChange(int part) {
        const double at = showTiming().partStart(part);
        synth.crash(tracks.fx, at, 0.9f);
        const Section before = kSectionOfPart[part - 1];
        if (before == Section::Intro || before == Section::Build) return;
        for (int i = 0; i < 4; ++i) synth.snare(tracks.drums, at - kBeat + i * kSixteenth, 0.5f + 0.12f * i);
    }
    // The flash: a crash, a kick and a bright stab together.
    void hit(double t) {
        synth.crash(tracks.fx, t, 0.75f);
        kickAt(t, 0.9f);
        synth.pad(tracks.fx, t, 0.25, {57, 64, 69, 72}, 1.2f, 1.0f);
    }
    static void fadeOut(StereoTrack& mix, double seconds) {
        size_t n = size_t(seconds * mix.sampleRate), start = mix.length() - std::min(n, mix.length());
        for (size_t i = start; i < mix.length(); ++i) {
            float g = float(mix.length() - i) / float(n);
            mix.left[i] *= g;
            mix.right[i] *= g;
        }
    }

    Synth synth;
    Tracks tracks;
    std::vector<double> kicks;
};

}  // namespace

std::vector<int16_t> renderSong() { return Arranger().render(); }
