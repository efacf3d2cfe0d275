#include "Timeline.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "StripText.h"
#include "assets/FontSheet.h"

namespace {

// Rows of the strip, top to bottom.
constexpr int32_t kPartRows = 10;      // part blocks with their labels
constexpr int32_t kRulerTop = 10;      // bar and beat ticks
constexpr int32_t kEnvelopeTop = 14;   // the music's envelope, around its middle row
constexpr int32_t kEnvelopeRows = 22;
constexpr int32_t kNameTop = 38;       // event names
constexpr int32_t kPickPixels = 3;

constexpr uint32_t kBackground = 0x00101014;
constexpr uint32_t kEnvelope = 0x00385a78;
constexpr uint32_t kBarLine = 0x00606070;
constexpr uint32_t kBeatLine = 0x00303038;
constexpr uint32_t kEventTick = 0x00f0a030;
constexpr uint32_t kChangeLine = 0x00e0e0e0;
constexpr uint32_t kSelected = 0x0040ff60;
constexpr uint32_t kPlayhead = 0x00ff3030;
constexpr uint32_t kPartShades[] = {0x00304a70, 0x00504070, 0x00306050, 0x00605030};
constexpr uint32_t kKindText = 0x00a0a0a0;

void column(uint32_t* pixels, int32_t width, int32_t x, int32_t top, int32_t bottom, uint32_t colour) {
    if (x < 0 || x >= width) return;
    for (int32_t y = std::max(top, 0); y < std::min(bottom, Timeline::kHeight); y++) pixels[y * width + x] = colour;
}

}  // namespace

MusicEnvelope::MusicEnvelope(const std::vector<int16_t>& stereo) {
    const size_t samplesPerStep = static_cast<size_t>(44100 * kStepSeconds) * 2;
    peaks.reserve(stereo.size() / samplesPerStep + 1);
    for (size_t i = 0; i < stereo.size(); i += samplesPerStep) {
        int32_t loudest = 0;
        for (size_t j = i; j < std::min(i + samplesPerStep, stereo.size()); j++)
            loudest = std::max(loudest, std::abs(static_cast<int32_t>(stereo[j])));
        peaks.push_back(static_cast<uint8_t>(std::min(255, loudest >> 7)));
    }
}

uint8_t MusicEnvelope::peak(double from, double to) const {
    if (peaks.empty() || to < 0.0) return 0;
    const auto first = static_cast<size_t>(std::max(0.0, from / kStepSeconds));
    const size_t last = std::min(peaks.size(), static_cast<size_t>(std::max(0.0, to / kStepSeconds)) + 1);
    uint8_t loudest = 0;
    for (size_t i = first; i < last; i++) loudest = std::max(loudest, peaks[i]);
    return loudest;
}

int32_t Timeline::columnOf(double seconds) const {
    return static_cast<int32_t>(std::floor((seconds - viewStart) * width / viewSpan));
}

void Timeline::clampView(double length) {
    if (length <= 0.0) length = kShortestSpan;
    if (viewSpan <= 0.0 || viewSpan > length) viewSpan = std::max(length, kShortestSpan);
    viewSpan = std::max(viewSpan, kShortestSpan);
    viewStart = std::clamp(viewStart, 0.0, std::max(0.0, length - viewSpan));
}

void Timeline::zoom(int32_t steps, double around, double length) {
    clampView(length);
    const double fraction = (around - viewStart) / viewSpan;
    viewSpan = std::clamp(viewSpan * std::pow(1.5, -steps), kShortestSpan, std::max(length, kShortestSpan));
    viewStart = around - fraction * viewSpan;
    clampView(length);
}

void Timeline::follow(double seconds, double length) {
    clampView(length);
    if (seconds < viewStart || seconds >= viewStart + viewSpan)
        viewStart = std::floor(seconds / viewSpan) * viewSpan;
    clampView(length);
}

void Timeline::draw(uint32_t* pixels, const TimelineContent& content, const MusicEnvelope& envelope,
                    const FontSheet& font) {
    clampView(content.length);
    std::fill(pixels, pixels + static_cast<size_t>(width) * kHeight, kBackground);
    const double perColumn = viewSpan / width;

    // Bars and beats: beats only where they lie at least four pixels apart.
    const double beat = 60.0 / content.beatsPerMinute;
    const bool showBeats = beat / perColumn >= 4.0;
    for (auto n = static_cast<int64_t>(viewStart / beat); n * beat < viewStart + viewSpan; n++) {
        const bool bar = n % content.beatsPerBar == 0;
        if (!bar && !showBeats) continue;
        const int32_t x = columnOf(static_cast<double>(n) * beat);
        column(pixels, width, x, kRulerTop, bar ? kEnvelopeTop : kRulerTop + 2, kBarLine);
        column(pixels, width, x, kEnvelopeTop, kNameTop, bar ? kBeatLine + 0x00101010 : kBeatLine);
    }

    const int32_t middle = kEnvelopeTop + kEnvelopeRows / 2;
    for (int32_t x = 0; x < width; x++) {
        const double from = viewStart + x * perColumn;
        const int32_t reach = envelope.peak(from, from + perColumn) * (kEnvelopeRows / 2) / 255;
        column(pixels, width, x, middle - reach, middle + reach + 1, kEnvelope);
    }

    for (size_t i = 0; i < content.parts.size(); i++) {
        const TimelineContent::Part& part = content.parts[i];
        const int32_t left = std::max(0, columnOf(part.start));
        const int32_t right = std::min(width, columnOf(std::min(part.end, content.length)));
        for (int32_t x = left; x < right; x++) column(pixels, width, x, 0, kPartRows - 1, kPartShades[i % 4]);
        // The label, cut to the block; the class after it when there is room.
        const int32_t after = drawStripText(pixels, width, kPartRows, left + 2, 1, font, part.label, 0xffffff, right - 1);
        drawStripText(pixels, width, kPartRows, after + font.glyphSize / 2, 1, font, part.kind, kKindText, right - 1);
    }

    for (size_t i = 0; i < content.changes.size(); i++) {
        const bool selected = content.selectedKind == TimelineContent::Kind::Change && content.selected == int32_t(i);
        column(pixels, width, columnOf(content.changes[i]), 0, kNameTop, selected ? kSelected : kChangeLine);
    }

    // Event names go where the previous name has ended, so that close ticks stay readable.
    int32_t nameEnd = -1;
    for (size_t i = 0; i < content.events.size(); i++) {
        const bool selected = content.selectedKind == TimelineContent::Kind::Event && content.selected == int32_t(i);
        const int32_t x = columnOf(content.events[i].seconds);
        if (x < -kPickPixels || x >= width) continue;
        const uint32_t colour = selected ? kSelected : kEventTick;
        column(pixels, width, x, kRulerTop, kNameTop + 1, colour);
        if (selected) column(pixels, width, x + 1, kRulerTop, kNameTop + 1, colour);
        if (x > nameEnd || selected)
            nameEnd = drawStripText(pixels, width, kHeight, x, kNameTop + 1, font, content.events[i].name, colour);
    }

    const int32_t head = columnOf(content.playhead);
    column(pixels, width, head, 0, kHeight, kPlayhead);
}

Timeline::Hit Timeline::hitTest(int32_t x, int32_t y, const TimelineContent& content) const {
    Hit hit;
    int32_t nearest = kPickPixels + 1;
    const auto consider = [&](TimelineContent::Kind kind, size_t index, double seconds) {
        const int32_t distance = std::abs(columnOf(seconds) - x);
        if (distance >= nearest) return;
        nearest = distance;
        hit = Hit{kind, static_cast<int32_t>(index)};
    };
    // Part changes are taken in the part row, events below it.
    if (y < kRulerTop) {
        for (size_t i = 0; i < content.changes.size(); i++) consider(TimelineContent::Kind::Change, i, content.changes[i]);
    } else {
        for (size_t i = 0; i < content.events.size(); i++) consider(TimelineContent::Kind::Event, i, content.events[i].seconds);
    }
    return hit;
}
