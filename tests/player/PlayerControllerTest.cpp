#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "PlayerController.h"
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

TEST_F(PlayerTest, AChangedScriptAppliesAtOnceAndABrokenOneKeepsTheOld) {
    begin({1500, -1, true, false});
    EXPECT_EQ(part(), 1);
    writeScript(kScript, 2);   // changes at 2, 4, 6 ... s
    controller->tick();
    EXPECT_EQ(controller->reloadError(), "");
    EXPECT_EQ(controller->runner().window(1).start, 2.0f);
    EXPECT_EQ(part(), 0);      // redrawn at once with the new windows
    // POWPOW lies before 1.5 s: consumed; x at 1.5 s itself: delivered by the redraw.
    EXPECT_EQ(controller->runner().nextEvent(), 2);

    std::ofstream(stage / "synkTest.snc") << "QRM SYNC\n0\n0\n";
    controller->tick();
    EXPECT_NE(controller->reloadError().find("first line"), std::string::npos);
    EXPECT_EQ(controller->statusText().rfind("! ", 0), 0u);
    EXPECT_EQ(controller->runner().window(1).start, 2.0f);
    fs::remove(stage / "synkTest.snc");
    controller->tick();
    EXPECT_NE(controller->reloadError().find("cannot read"), std::string::npos);
    EXPECT_EQ(controller->runner().changeCount(), show::kPartCount - 1);
}

TEST_F(PlayerTest, KeysForTheWindowMuteAndQuit) {
    begin({0, 4, false, true, false});
    EXPECT_EQ(controller->timeMs(), 4001);
    EXPECT_TRUE(controller->muted());
    // Part 4 from 4 s on: bar and beat at the tune's tempo.
    const int beats = static_cast<int>(4.001 * show::kBeatsPerMinute / 60.0);
    const std::string partAndBeat = std::string("4 ") + show::kParts[4].className + " " +
                                    std::to_string(beats / show::kBeatsPerBar + 1) + "." +
                                    std::to_string(beats % show::kBeatsPerBar + 1) + " ";
    EXPECT_NE(controller->statusText().find(partAndBeat), std::string::npos) << controller->statusText();
    press(KeyCode::LetterA + ('M' - 'A'));
    EXPECT_FALSE(controller->muted());
    press(KeyCode::Tab);
    press(KeyCode::LetterA + ('F' - 'A'));
    EXPECT_FALSE(controller->statusVisible());
    EXPECT_TRUE(controller->fullscreen());
    toolkit.pushKey(KeyCode::Escape);
    EXPECT_FALSE(controller->tick());
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
