#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestMedia.h"
#include "audio/AudioErrors.h"
#include "audio/MusicPlayer.h"
#include "audio/VirtualAudioLibrary.h"

namespace {

// The music player over a real (device-free) library: what it prints, and the positions
// the library reports back to it for each kind of file.
class PlayerOnVirtualLibrary : public testing::Test {
protected:
    std::string load(const std::string& path, bool* result) {
        testing::internal::CaptureStdout();
        *result = player.load(path.c_str());
        return testing::internal::GetCapturedStdout();
    }

    static std::vector<int16_t> silence(int frames) { return std::vector<int16_t>(2 * static_cast<size_t>(frames)); }

    VirtualAudioLibrary library;
    MusicPlayer player{&library};
};

TEST_F(PlayerOnVirtualLibrary, StreamPlaysLoopedAndReportsBytes) {
    const std::string path = writeTempFile("second.wav", makeWav(44100, 2, silence(44100)));
    bool loaded = false;
    EXPECT_EQ(load(path, &loaded), "bass used for module replaying\ntrying to load stream " + path + " \n");
    EXPECT_TRUE(loaded);
    EXPECT_EQ(player.position(), 0u);
    EXPECT_TRUE(player.play());
    library.setTimeSeconds(0.5);
    EXPECT_EQ(player.position(), 88200u);
    // Played with the loop flag: past the end the position starts over.
    library.setTimeSeconds(1.25);
    EXPECT_EQ(player.position(), 44100u);
    EXPECT_EQ(player.currentOrder(), 0);
    EXPECT_EQ(player.currentRow(), 0);
    EXPECT_FALSE(player.stop());
    library.setTimeSeconds(1.5);
    EXPECT_EQ(player.position(), 44100u);
    EXPECT_TRUE(player.free());
    EXPECT_EQ(player.position(), 0u);  // the library has let the channel go
}

TEST_F(PlayerOnVirtualLibrary, Mp3IsAStream) {
    const std::string path = writeTempFile("tone.mp3", encodeSineMp3(1.0, 44100));
    bool loaded = false;
    EXPECT_EQ(load(path, &loaded), "bass used for module replaying\ntrying to load stream " + path + " \n");
    EXPECT_TRUE(loaded);
    EXPECT_TRUE(player.play());
    library.setTimeSeconds(0.25);
    EXPECT_EQ(player.position(), 44100u);
}

TEST_F(PlayerOnVirtualLibrary, ModuleFallsBackHasNoBytePositionAndSeeksToTheRowOfATime) {
    const std::string path = writeTempFile("tiny.mod", makeTinyMod(4));
    bool loaded = false;
    EXPECT_EQ(load(path, &loaded), "bass used for module replaying\ntrying to load stream " + path +
                                       " \ntrying to load mod " + path + " \n");
    EXPECT_TRUE(loaded);
    EXPECT_TRUE(player.play());
    library.setTimeSeconds(1.5);
    EXPECT_EQ(player.position(), 0u);
    EXPECT_EQ(player.currentOrder(), 1);
    // stop leaves a module running.
    EXPECT_TRUE(player.stop());
    library.setTimeSeconds(2.8);
    EXPECT_EQ(player.currentOrder(), 2);
    EXPECT_TRUE(player.playModuleAt(3, 16));
    EXPECT_EQ(player.currentOrder(), 3);
    EXPECT_EQ(player.currentRow(), 16);

    // A byte position goes to the row playing at that time: the tiny module plays a row
    // every tick (20 ms at the default tempo), 64 rows an order, 4 orders.
    const double rowSeconds = 0.02;
    for (const double seconds : {0.0, 0.505, 0.515, 2.913, 1.287}) {
        ASSERT_TRUE(player.setPosition(static_cast<uint32_t>(seconds * 176400)));
        const int rows = static_cast<int>(std::lround(seconds / rowSeconds));
        EXPECT_EQ(player.currentOrder(), rows / 64) << seconds;
        EXPECT_EQ(player.currentRow(), rows % 64) << seconds;
    }
    ASSERT_TRUE(player.setPosition(60 * 176400));   // past the end: the last row
    EXPECT_EQ(player.currentOrder(), 3);
    EXPECT_EQ(player.currentRow(), 63);

    // A pause holds the row; resume plays on from it.
    ASSERT_TRUE(player.setPosition(static_cast<uint32_t>(1.01 * 176400)));
    const int32_t row = player.currentRow();
    EXPECT_TRUE(player.pause());
    library.setTimeSeconds(3.5);
    EXPECT_EQ(player.currentRow(), row);
    EXPECT_TRUE(player.resume());
    library.setTimeSeconds(3.61);   // five and a half rows on
    EXPECT_EQ(player.currentRow(), row + 5);
}

TEST(PlayerOnVirtualLibraryDeathTest, MissingFileEndsTheProcessWithTheLibrarysError) {
    auto loadMissing = [] {
        VirtualAudioLibrary library;
        MusicPlayer player(&library);
        player.load("no/such/musik.mp3");
    };
    const std::string expected = "BASS Error\\(" + std::to_string(AudioError::FileOpen) + "\\): Can't play the file\n";
    EXPECT_EXIT(
        {
            std::fflush(stdout);
            ::dup2(2, 1);
            loadMissing();
        },
        testing::ExitedWithCode(1),
        "bass used for module replaying\ntrying to load stream no/such/musik.mp3 \n"
        "trying to load mod no/such/musik.mp3 \n" + expected + "$");
}

}  // namespace
