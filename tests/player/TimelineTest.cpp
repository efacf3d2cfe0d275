#include <gtest/gtest.h>

#include <cmath>

#include "Timeline.h"
#include "assets/FontSheet.h"
#include "support/GuardedBuffer.h"

namespace {

TEST(Timeline, ZoomsFromTheWholeShowToAFewBeatsAroundAPointAndFollowsThePlayhead) {
    Timeline timeline(512);
    timeline.follow(0.0, 180.0);
    EXPECT_EQ(timeline.span(), 180.0);
    const int32_t column = timeline.columnOf(90.0);
    timeline.zoom(100, 90.0, 180.0);
    EXPECT_EQ(timeline.span(), Timeline::kShortestSpan);
    EXPECT_NEAR(timeline.columnOf(90.0), column, 1);   // the point stays where it was
    timeline.zoom(2, 90.0, 180.0);
    EXPECT_EQ(timeline.span(), Timeline::kShortestSpan);
    timeline.zoom(-3, 90.0, 180.0);
    EXPECT_NEAR(timeline.span(), Timeline::kShortestSpan * 3.375, 1e-9);
    EXPECT_NEAR(timeline.timeAt(timeline.columnOf(91.0)), 91.0, timeline.span() / 512);
    for (double t : {0.0, 12.3, 95.0, 179.9}) {
        timeline.follow(t, 180.0);
        EXPECT_GE(t, timeline.start());
        EXPECT_LT(t, timeline.start() + timeline.span());
    }
    timeline.zoom(-100, 0.0, 180.0);
    EXPECT_EQ(timeline.start(), 0.0);
    EXPECT_EQ(timeline.span(), 180.0);
}

// Guard pages on both sides: ticks, names and blocks past either edge are cut, not written.
TEST(Timeline, DrawsInsideItsStripWithThePlayheadAcrossItAndPicksTheNearestTick) {
    FontSheet font;
    font.glyphSize = 8;
    std::vector<uint32_t> glyphs(static_cast<size_t>(FontSheet::kCellCount) * 64, 0x00ffffff);
    font.glyphs = glyphs.data();
    TimelineContent content;
    content.length = 20.0;
    content.parts = {{0.0, 6.0, "title", "Forsta"}, {6.0, 100000.0, "strips", "Grymt"}};
    content.changes = {6.0};
    content.events = {{-1.0, "early"}, {5.0, "POWPOW"}, {5.05, "POWPOW"}, {19.99, "late name"}};
    content.playhead = 7.5;
    for (GuardSide side : {GuardSide::After, GuardSide::Before}) {
        GuardedBuffer<uint32_t> strip(512 * Timeline::kHeight, side);
        Timeline timeline(512);
        timeline.zoom(1, 5.0, content.length);
        timeline.draw(strip.data(), content, MusicEnvelope(std::vector<int16_t>(44100 * 2 * 20, 9000)), font);
        const int32_t head = timeline.columnOf(7.5);
        for (int32_t y = 0; y < Timeline::kHeight; y++) EXPECT_EQ(strip[y * 512 + head], strip[head]) << y;
        EXPECT_NE(strip[head], strip[head + 20]);

        const int32_t tick = timeline.columnOf(5.05);
        EXPECT_EQ(timeline.hitTest(tick, 20, content).index, 2);
        EXPECT_EQ(timeline.hitTest(tick - 1, 20, content).kind, TimelineContent::Kind::Event);
        EXPECT_EQ(timeline.hitTest(timeline.columnOf(6.0), 2, content).kind, TimelineContent::Kind::Change);
        EXPECT_EQ(timeline.hitTest(timeline.columnOf(12.0), 20, content).kind, TimelineContent::Kind::None);
    }
    font.glyphs = nullptr;
}

}  // namespace
