#pragma once
#include <cstdint>
#include <string>
#include <vector>

class FontSheet;

// What the timeline shows, gathered afresh for every drawing. Times in seconds of the show.
struct TimelineContent {
    struct Part {
        double start, end;
        std::string label;   // the part's name in the show
        std::string kind;    // its class
    };
    struct Event {
        double seconds;
        std::string name;
    };
    enum class Kind { None, Event, Change };

    std::vector<Part> parts;
    std::vector<Event> events;     // in the script's order, which is time order
    std::vector<double> changes;   // in the script's order
    double beatsPerMinute = 120.0;
    int32_t beatsPerBar = 4;
    double length = 0.0;           // where the show ends (the music's end)
    double playhead = 0.0;
    Kind selectedKind = Kind::None;
    int32_t selected = -1;
};

// The music's loudness over time: the peak of each 10 ms, from 16-bit stereo at 44100 Hz.
class MusicEnvelope {
public:
    static constexpr double kStepSeconds = 0.01;
    MusicEnvelope() = default;
    explicit MusicEnvelope(const std::vector<int16_t>& stereo);
    // The loudest peak between the two times, 0..255; 0 where there is no music.
    uint8_t peak(double from, double to) const;
    double seconds() const { return static_cast<double>(peaks.size()) * kStepSeconds; }

private:
    std::vector<uint8_t> peaks;
};

// The show's timeline as a strip below the status line: part blocks with their labels,
// bars and beats, the music's envelope, the events as ticks with their names, the
// selection and the playhead. It shows a span of the show, from the whole of it down to a
// few beats, and keeps the playhead in view.
class Timeline {
public:
    static constexpr int32_t kHeight = 48;
    static constexpr double kShortestSpan = 2.0;   // four beats at the show's tempo

    explicit Timeline(int32_t width) : width(width) {}

    void draw(uint32_t* pixels, const TimelineContent& content, const MusicEnvelope& envelope,
              const FontSheet& font);
    // Zooms in (steps > 0) or out by a factor of 1.5 a step, keeping `around` in place.
    void zoom(int32_t steps, double around, double length);
    // Scrolls by whole views so that the time is in view.
    void follow(double seconds, double length);

    double timeAt(int32_t x) const { return viewStart + (x + 0.5) * viewSpan / width; }
    int32_t columnOf(double seconds) const;
    double span() const { return viewSpan; }
    double start() const { return viewStart; }

    // The event tick or part change within a few pixels of x (row y of the strip), the
    // nearest one; Kind::None when there is none.
    struct Hit {
        TimelineContent::Kind kind = TimelineContent::Kind::None;
        int32_t index = -1;
    };
    Hit hitTest(int32_t x, int32_t y, const TimelineContent& content) const;

private:
    void clampView(double length);

    int32_t width;
    double viewStart = 0.0;
    double viewSpan = 0.0;   // 0 until the length is known: the whole show
};
