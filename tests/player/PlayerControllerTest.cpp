#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "PlayerController.h"
#include "PlayerInput.h"
#include "RunningText.h"
#include "SyncEditor.h"
#include "audio/MusicPlayer.h"
#include "core/Bitmap.h"
#include "audio/VirtualAudioLibrary.h"
#include "demo/Demo.h"
#include "demo/DemoPart.h"
#include "demo/SyncEvent.h"
#include "display/MemoryToolkit.h"
#include "display/PtcDisplayDriver.h"
#include "parts/Show.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
constexpr int64_t kMs = 1000000;
const char* const kScript = "QRM SYNCSCRIPT\n3\nPOWPOW\n88200\n\nx\n264600\n\ny\n529200\n\n10\n";

// The player on the virtual platform, in a stage of the generated data with a sync script
// of our own: a part change every second from 1 s on, one for each part after the first,
// events at 0.5 s, 1.5 s and 3 s.
// Keys go in through the memory toolkit; wall time and the music move only when told.
class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(std::string(TEST_STAGE_DIR) + "/data/musik.mp3")) << "build the `stage` target";
        fs::create_directories(stage / "data");
        for (const auto& entry : fs::directory_iterator(std::string(TEST_STAGE_DIR) + "/data"))
            if (entry.path().filename() != "musik.mp3" || withMusic)
                fs::create_symlink(entry.path(), stage / "data" / entry.path().filename());
        writeScript(kScript, 1);
        previous = fs::current_path();
        fs::current_path(stage);
    }
    void TearDown() override {
        testing::internal::CaptureStdout();
        if (controller) controller->finish();
        testing::internal::GetCapturedStdout();
        fs::current_path(previous);
    }

    void writeScript(std::string text, int32_t version) {
        for (int i = 1; i < show::kPartCount; i++) text += "part\n" + std::to_string(i * version) + ".0\n\n";
        std::ofstream(stage / "synkTest.snc") << text;
    }

    void begin(PlayerSettings settings) {
        testing::internal::CaptureStdout();
        controller = std::make_unique<PlayerController>(display, audio, wall);
        controller->begin(settings);
        testing::internal::GetCapturedStdout();
    }
    // Plays on in 1/60 s passes; returns the names of the events delivered on the way.
    std::string play(int64_t ms) {
        std::string delivered;
        for (int64_t done = 0; done < ms; done += 16) {
            wall.advance(16 * kMs);
            audioSeconds += 0.016;
            audio.setTimeSeconds(audioSeconds);
            const int32_t before = controller->runner().nextEvent();
            controller->tick();
            if (controller->runner().nextEvent() == before + 1)
                delivered += std::string(controller->runner().event(before).name) + " ";
        }
        return delivered;
    }
    void press(int32_t code) {
        toolkit.pushKey(code);
        controller->tick();
    }
    uint32_t musicPosition() { return controller->musicPosition(); }
    int32_t part() { return controller->runner().currentPart(); }

    bool withMusic = true;
    TempDir folder;
    const fs::path stage{folder.path};
    fs::path previous;
    MemoryToolkit toolkit;
    PtcDisplayDriver display{toolkit};
    VirtualAudioLibrary audio;
    VirtualClock wall;
    double audioSeconds = 0.0;
    std::unique_ptr<PlayerController> controller;
};

TEST_F(PlayerTest, SeeksAndStepsMoveTimeMusicAndFrameWhilePausedHoldsTheFrame) {
    begin({2500, -1, true, false});
    EXPECT_EQ(controller->timeMs(), 2500);
    EXPECT_EQ(part(), 2);
    EXPECT_EQ(musicPosition(), 2500u * 1764 / 10);
    EXPECT_EQ(controller->framesDrawn(), 1);
    play(100);   // paused: shown again, not drawn again
    EXPECT_EQ(controller->framesDrawn(), 1);
    EXPECT_EQ(toolkit.presentCount(), 8);
    play(2200);   // passes while paused draw no frame: none a second
    EXPECT_NE(controller->statusText().find("  0fps"), std::string::npos) << controller->statusText();

    const std::pair<int32_t, int64_t> moves[] = {
        {KeyCode::Right, 3500}, {KeyCode::Left, 2500}, {KeyCode::Up, 12500}, {KeyCode::Down, 2500},
        {KeyCode::Home, 0},     {KeyCode::Period, 16}, {KeyCode::Period, 33}, {KeyCode::Period, 50},
        {KeyCode::Comma, 33},   {KeyCode::Left, 0},    {KeyCode::PageDown, 1001}, {KeyCode::PageDown, 2001},
        {KeyCode::PageUp, 1001}};
    for (const auto& [key, ms] : moves) {
        press(key);
        EXPECT_EQ(controller->timeMs(), ms) << "key " << key;
        EXPECT_EQ(musicPosition(), static_cast<uint32_t>(ms * 44100 / 1000) * 4) << "key " << key;
    }
    EXPECT_EQ(part(), 1);
    EXPECT_EQ(controller->framesDrawn(), 14);

    press(KeyCode::Space);   // playing: the steps do nothing, the wall clock moves the show
    press(KeyCode::Period);
    EXPECT_EQ(controller->timeMs(), 1001);
    play(480);
    EXPECT_NEAR(static_cast<double>(controller->timeMs()), 1481.0, 1.0);
    EXPECT_NEAR(static_cast<double>(musicPosition()), 1481 * 176.4, 16 * 176.4);

    // Past the end of the music the time goes where it is asked, the music to its end.
    controller->seek(10000000);
    EXPECT_EQ(controller->timeMs(), 10000000);
    EXPECT_LT(musicPosition(), units::musicBytesAt(10000000));
}

// Played on past the end of the show, where the music has gone round to its start, a seek
// goes from the show time, not from where the music has got to.
TEST_F(PlayerTest, PastTheEndASeekStaysNearTheEnd) {
    begin({181000, -1, false, false});
    audioSeconds = 181.0;
    play(4000);
    EXPECT_LT(musicPosition(), units::musicBytesAt(10000));
    press(KeyCode::Left);
    EXPECT_NEAR(static_cast<double>(controller->timeMs()), 184000.0, 20.0);
    EXPECT_EQ(part(), show::kPartCount - 1);
    EXPECT_EQ(controller->runner().nextEvent(), controller->runner().eventCount());
}

TEST_F(PlayerTest, EventsBeforeASeekAreConsumedAndTheOnesAfterItDelivered) {
    begin({});
    EXPECT_EQ(play(1000), "POWPOW ");
    press(KeyCode::Home);   // back: the flash is due again, and the flash on screen ends
    EXPECT_EQ(controller->runner().nextEvent(), 0);
    EXPECT_EQ(play(1000), "POWPOW ");
    controller->seek(2000);   // on past x: consumed without being delivered
    EXPECT_EQ(controller->runner().nextEvent(), 2);
    EXPECT_EQ(play(1100), "y ");

    press(KeyCode::LetterA + ('L' - 'A'));   // loop part 3, 3.0 to 4.0 s
    EXPECT_TRUE(controller->looping());
    play(1500);
    EXPECT_GE(controller->timeMs(), 3001);
    EXPECT_LE(controller->timeMs(), 4016);
    EXPECT_EQ(part(), 3);
    press(KeyCode::LetterA + ('L' - 'A'));
    EXPECT_FALSE(controller->looping());
}

// Parts that carry state from frame to frame (the label's random place, the blur set for
// the next frame) draw after a seek what they drew when first reached there.
TEST_F(PlayerTest, ASeekDrawsThePartAsARunStartingThereDoes) {
    begin({0, -1, true, false});
    for (const std::string name : {"HusetPart", "GreetsPart"}) {
        int part = 0;
        while (show::kParts[part].className != name) part++;
        const int64_t ms = part * 1000 + 300;
        const Bitmap& frame = *display.frame();
        controller->seek(ms);
        controller->tick();
        const std::vector<uint32_t> first(frame.pixels, frame.pixels + frame.width * frame.height);
        for (int i = 0; i < 3; i++) press(KeyCode::Period);
        controller->seek(ms);
        controller->tick();
        EXPECT_TRUE(std::equal(first.begin(), first.end(), frame.pixels)) << name;
    }
}

// A changed script is applied once it has stood still for a moment, at the current time,
// with the part loop on the new windows; a half-written or broken one keeps the old; what
// the checks find is said with its line.
TEST_F(PlayerTest, AChangedScriptAppliesOnceSettledAndABrokenOneKeepsTheOld) {
    begin({1500, -1, true, false});
    EXPECT_EQ(part(), 1);
    auto settle = [&] {
        controller->tick();
        wall.advance(ScriptSettle::kSettleNs);
        controller->tick();
    };
    writeScript(kScript, 2);   // changes at 2, 4, 6 ... s
    controller->tick();
    EXPECT_EQ(controller->runner().window(1).start, 1.0f) << "not before it has settled";
    settle();
    EXPECT_EQ(controller->reloadError(), "");
    EXPECT_EQ(controller->runner().window(1).start, 2.0f);
    EXPECT_EQ(part(), 0);      // redrawn at once with the new windows
    // POWPOW lies before 1.5 s: consumed; x at 1.5 s itself: delivered by the redraw.
    EXPECT_EQ(controller->runner().nextEvent(), 2);

    std::ofstream(stage / "synkTest.snc") << std::string(kScript).substr(0, 30);
    settle();
    EXPECT_NE(controller->reloadError().find("ends before the 3 events"), std::string::npos) << controller->reloadError();
    EXPECT_EQ(controller->runner().window(1).start, 2.0f);
    std::ofstream(stage / "synkTest.snc") << "QRM SYNC\n0\n0\n";
    settle();
    EXPECT_NE(controller->reloadError().find("not QRM SYNCSCRIPT"), std::string::npos);
    EXPECT_EQ(controller->statusText().rfind("! ", 0), 0u);
    fs::remove(stage / "synkTest.snc");
    settle();
    EXPECT_NE(controller->reloadError().find("cannot read"), std::string::npos);
    EXPECT_EQ(controller->runner().changeCount(), show::kPartCount - 1);

    // Applied, and its mistake said with its line; the loop of part 1 takes its new window
    // (from 2..4 s to 3..6 s).
    controller->seek(2500);
    controller->tick();
    press(KeyCode::LetterA + ('L' - 'A'));
    writeScript("QRM SYNCSCRIPT\n1\nPOWPOW\n70.0\n\n10\n", 3);
    settle();
    EXPECT_EQ(controller->reloadError(), "synkTest.snc line 4: the event time \"70.0\" is not a whole number of "
                                         "music bytes (176400 a second): read as 70");
    EXPECT_EQ(controller->runner().window(1).start, 3.0f);
    press(KeyCode::Space);
    play(2000);
    EXPECT_EQ(part(), 1);
    EXPECT_GT(controller->timeMs(), 4000) << "the loop still ends at the old end";
}

TEST_F(PlayerTest, AMissingScriptAtTheStartIsSaid) {
    fs::remove(stage / "synkTest.snc");
    begin({0, -1, true, false});
    EXPECT_EQ(controller->reloadError().rfind("no synkTest.snc here", 0), 0u) << controller->reloadError();
    // Longer than the 64 characters of the status line: it runs through it, read in full.
    const std::string said = controller->statusText();
    ASSERT_GT(said.size(), 64u);
    EXPECT_EQ(runningText(said, 64, 0), said.substr(0, 64));
    EXPECT_EQ(runningText(said, 64, 150 * 10), said.substr(10, 64));
    EXPECT_EQ(runningText(said, 64, 150 * static_cast<int64_t>(said.size() + 3)), said.substr(0, 64));
    EXPECT_EQ(runningText("short", 64, 999), "short");
}

TEST_F(PlayerTest, KeysForTheWindowMuteAndQuit) {
    begin({0, 4, false, true, false});
    EXPECT_EQ(controller->timeMs(), 4001);
    EXPECT_TRUE(controller->muted());
    // Part 4 from 4 s on: bar and beat at the tune's tempo, in columns that do not move
    // when a flag comes or goes.
    const int beats = static_cast<int>(4.001 * show::kBeatsPerMinute / 60.0);
    char partAndBeat[64];
    std::snprintf(partAndBeat, sizeof partAndBeat, " 4 %-6.*s %3d.%d >", static_cast<int>(std::strlen(show::kParts[4].className) - 4),
                  show::kParts[4].className, beats / show::kBeatsPerBar + 1, beats % show::kBeatsPerBar + 1);
    const std::string muted = controller->statusText();
    EXPECT_EQ(muted.find(partAndBeat), 14u) << muted;
    EXPECT_LE(muted.size(), 62u) << "the status line and its unsaved mark fit 64 glyphs";
    press(KeyCode::LetterA + ('M' - 'A'));
    EXPECT_FALSE(controller->muted());
    EXPECT_EQ(controller->statusText().find(partAndBeat), 14u);
    press(KeyCode::Tab);
    press(KeyCode::LetterA + ('F' - 'A'));
    EXPECT_FALSE(controller->statusVisible());
    EXPECT_TRUE(controller->fullscreen());
    toolkit.pushKey(KeyCode::Escape);
    EXPECT_FALSE(controller->tick());
}

// The sync editor on the show: every edit plays at once and undoes; the file changes
// only on Ctrl+S; Escape asks once while edits are unsaved.
class SyncEditorTest : public PlayerTest {
protected:
    void open(int64_t ms) {
        begin({ms, -1, true, false});
        std::ifstream in(stage / "synkTest.snc", std::ios::binary);
        original.assign(std::istreambuf_iterator<char>(in), {});
        editor = std::make_unique<SyncEditor>(*controller, saveTargets((stage / "synkTest.snc").string(), "", ""),
                                              kLatency);
        ASSERT_TRUE(editor->load(original));
        controller->setScriptGuard([this](const std::string& text) { return editor->takeChangedFile(text); });
    }
    bool key(int32_t code, bool shift = false, bool control = false, bool repeat = false) {
        return editor->handleKey(ToolkitKey{code, false, shift, control}, repeat);
    }
    static int32_t letter(char c) { return KeyCode::LetterA + (c - 'A'); }
    std::vector<int32_t> eventBytes() const {
        std::vector<int32_t> bytes;
        for (const SyncEventRecord& event : editor->script().events()) bytes.push_back(event.bytes);
        return bytes;
    }
    // The selected item's time in seconds.
    double selection() const {
        TimelineContent content;
        editor->fill(content);
        if (content.selectedKind == TimelineContent::Kind::Event) return content.events[content.selected].seconds;
        if (content.selectedKind == TimelineContent::Kind::Change) return content.changes[content.selected];
        return -1.0;
    }

    // Passes over the time a changed script must stand still before it is read.
    void settle() {
        controller->tick();
        wall.advance(ScriptSettle::kSettleNs);
        controller->tick();
    }

    static constexpr double kLatency = 0.25;
    std::string original;
    std::unique_ptr<SyncEditor> editor;
};

TEST_F(SyncEditorTest, KeysAddSelectMoveDeleteUndoAndSave) {
    open(2300);
    EXPECT_TRUE(key(letter('E')));   // paused at 2.3 s: on the nearest beat, 2.5 s
    EXPECT_EQ(eventBytes(), (std::vector<int32_t>{88200, 264600, 441000, 529200}));
    EXPECT_EQ(controller->runner().eventCount(), 4);   // the show plays it at once
    EXPECT_EQ(editor->statusLine("line").substr(0, 5), "*line");
    EXPECT_TRUE(key(KeyCode::Right, true, false, true));   // held: a beat at a time
    EXPECT_DOUBLE_EQ(selection(), 3.0);
    EXPECT_TRUE(key(KeyCode::Left, true, true));           // a frame back
    EXPECT_EQ(eventBytes()[2], 526260);
    EXPECT_TRUE(key(KeyCode::Delete));
    EXPECT_EQ(eventBytes(), (std::vector<int32_t>{88200, 264600, 529200}));
    EXPECT_EQ(controller->runner().eventCount(), 3);
    EXPECT_TRUE(key(letter('Z'), false, true));
    EXPECT_TRUE(key(letter('Y'), false, true));
    EXPECT_EQ(eventBytes().size(), 3u);
    for (int i = 0; i < 4; i++) key(letter('Z'), false, true);
    EXPECT_EQ(editor->script().text(), original);
    EXPECT_FALSE(editor->modified());
    EXPECT_TRUE(key(letter('Z'), true, true));   // Ctrl+Shift+Z redoes
    EXPECT_EQ(eventBytes().size(), 4u);

    // [ and ] from the playhead, then along events and part changes in time order.
    EXPECT_TRUE(key(KeyCode::BracketLeft));
    EXPECT_DOUBLE_EQ(selection(), 2.0);
    EXPECT_TRUE(key(KeyCode::BracketRight));
    EXPECT_DOUBLE_EQ(selection(), 2.5);
    key(KeyCode::BracketLeft);
    EXPECT_TRUE(key(KeyCode::Left, true));   // the change at 2 s to 1.5 s; not onto its neighbour at 1 s
    EXPECT_DOUBLE_EQ(selection(), 1.5);
    key(KeyCode::Left, true);
    EXPECT_DOUBLE_EQ(selection(), 1.5);
    EXPECT_EQ(controller->runner().window(2).start, 1.5f);

    EXPECT_TRUE(key(KeyCode::Escape));    // asks
    EXPECT_FALSE(key(KeyCode::Escape));   // again: the quit goes through
    testing::internal::CaptureStderr();
    EXPECT_TRUE(key(letter('S'), false, true));
    settle();
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("reloaded"), std::string::npos) << "no reload of its own save";
    std::ifstream saved(stage / "synkTest.snc", std::ios::binary), kept(stage / "synkTest.snc~", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), editor->script().text());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), original);
    EXPECT_FALSE(key(KeyCode::Escape));   // nothing unsaved: no question
}

// While playing, E lands where the sound heard then was: the output latency earlier. A
// change on disk keeps unsaved edits until R.
TEST_F(SyncEditorTest, WhilePlayingTheLatencyIsTakenOffAndAChangeOnDiskWaitsForR) {
    open(2300);
    press(KeyCode::Space);
    EXPECT_TRUE(key(letter('E'), true));
    const double heard = static_cast<double>(controller->timeMs()) / 1000.0 - kLatency;
    EXPECT_EQ(eventBytes()[2], musicBytesAt(heard));
    writeScript("QRM SYNCSCRIPT\n0\n10\n", 2);
    testing::internal::CaptureStderr();
    settle();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(eventBytes().size(), 4u);
    EXPECT_EQ(controller->runner().eventCount(), 4);
    EXPECT_FALSE(key(letter('R'), false, false, true));
    EXPECT_TRUE(key(letter('R')));
    EXPECT_TRUE(eventBytes().empty());
    EXPECT_EQ(controller->runner().eventCount(), 0);
    EXPECT_EQ(controller->runner().window(1).start, 2.0f);
}

// The window's input: held keys repeat moves, not toggles; T hides the timeline; a press
// on the timeline seeks, on a tick it selects, and a drag moves it as one undo step.
TEST_F(SyncEditorTest, InputRepeatsOnlyMovesAndThePointerSeeksOrDragsOnTheTimeline) {
    open(2300);
    Timeline timeline(512);
    PlayerInput input(*controller, *editor, timeline);
    TimelineContent content;
    editor->fill(content);
    content.length = 20.0;
    timeline.follow(0.0, content.length);
    WindowEvent event;
    event.key.code = KeyCode::Space;
    input.handle(event, 400, content);
    event.repeat = true;
    input.handle(event, 400, content);
    EXPECT_FALSE(controller->paused());
    input.handle(event, 400, content);
    EXPECT_FALSE(controller->paused());
    press(KeyCode::Space);
    event.key.code = KeyCode::Right;
    input.handle(event, 400, content);
    input.handle(event, 400, content);
    EXPECT_EQ(controller->timeMs(), 4300);
    event = WindowEvent{};
    event.key.code = letter('T');
    input.handle(event, 400, content);
    EXPECT_FALSE(input.timelineShown());

    event = WindowEvent{};
    event.kind = WindowEvent::Kind::PointerDown;
    event.x = timeline.columnOf(7.0);
    event.y = 420;
    input.handle(event, 400, content);
    EXPECT_NEAR(static_cast<double>(controller->timeMs()), 7000.0, 1000.0 * timeline.span() / 512);
    event.kind = WindowEvent::Kind::PointerUp;
    input.handle(event, 400, content);

    event.kind = WindowEvent::Kind::PointerDown;
    event.x = timeline.columnOf(1.5);
    input.handle(event, 400, content);
    for (double t : {1.6, 1.9, 2.2}) {
        event.kind = WindowEvent::Kind::PointerMove;
        event.x = timeline.columnOf(t);
        input.handle(event, 400, content);
        input.settlePointer();   // a pass each
    }
    event.kind = WindowEvent::Kind::PointerUp;
    input.handle(event, 400, content);
    EXPECT_NEAR(secondsAtBytes(eventBytes()[1]), 2.2, timeline.span() / 512);
    EXPECT_TRUE(key(letter('Z'), false, true));
    EXPECT_EQ(editor->script().text(), original);
}

class SilentPlayerTest : public PlayerTest {
protected:
    SilentPlayerTest() { withMusic = false; }
};

TEST_F(SilentPlayerTest, WithoutMusicItPlaysSilentlyAndTheEventsFollowTheShowTime) {
    testing::internal::CaptureStderr();
    begin({});
    EXPECT_NE(testing::internal::GetCapturedStderr().find("without sound"), std::string::npos);
    EXPECT_TRUE(controller->silent());
    EXPECT_EQ(play(1600), "POWPOW x ");
}

}  // namespace
