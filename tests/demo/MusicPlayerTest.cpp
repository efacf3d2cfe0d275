#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "audio/AudioLibrary.h"
#include "audio/MusicPlayer.h"
#include "core/PlatformConsole.h"

namespace {

// Records every call with its arguments, answers as configured, and can echo each call
// to stdout so that a test that ends the process still shows the order.
class RecordingAudioLibrary : public AudioLibrary {
public:
    uint32_t version = kVersion;
    int32_t initResult = 1;
    uint32_t stream = 7;
    uint32_t module = 9;
    uint32_t channelPosition = 0;
    int32_t errorCode = 42;
    bool echo = false;
    std::vector<std::string> calls;
    SyncProc syncProc = nullptr;

    uint32_t getVersion() override { return record("getVersion"), version; }
    int32_t init(int32_t device, uint32_t rate, uint32_t flags, void* window) override {
        record("init " + std::to_string(device) + " " + std::to_string(rate) + " " +
               std::to_string(flags) + (window ? " window" : " null"));
        return initResult;
    }
    uint32_t streamCreateFile(int32_t fromMemory, const void* file, uint32_t offset,
                              uint32_t length, uint32_t flags) override {
        record("streamCreateFile " + std::to_string(fromMemory) + " " + static_cast<const char*>(file) +
               " " + std::to_string(offset) + " " + std::to_string(length) + " " + std::to_string(flags));
        return stream;
    }
    uint32_t musicLoad(int32_t fromMemory, const void* file, uint32_t offset, uint32_t length,
                       uint32_t flags) override {
        record("musicLoad " + std::to_string(fromMemory) + " " + static_cast<const char*>(file) + " " +
               std::to_string(offset) + " " + std::to_string(length) + " " + std::to_string(flags));
        return module;
    }
    uint32_t channelSetSync(uint32_t handle, uint32_t type, uint32_t param, SyncProc proc) override {
        record("channelSetSync " + std::to_string(handle) + " " + std::to_string(type) + " " +
               std::to_string(param));
        syncProc = proc;
        return 1;
    }
    int32_t start() override { return record("start"), 1; }
    int32_t setVolume(uint32_t volume) override { return record("setVolume " + std::to_string(volume)), 1; }
    void musicSetAmplify(uint32_t handle, uint32_t amplify) override {
        record("musicSetAmplify " + std::to_string(handle) + " " + std::to_string(amplify));
    }
    int32_t streamPlay(uint32_t handle, int32_t flush, uint32_t flags) override {
        record("streamPlay " + std::to_string(handle) + " " + std::to_string(flush) + " " + std::to_string(flags));
        return 1;
    }
    int32_t musicPlay(uint32_t handle) override { return record("musicPlay " + std::to_string(handle)), 1; }
    int32_t musicPlayEx(uint32_t handle, uint32_t position, int32_t flags, int32_t reset) override {
        char text[64];
        std::snprintf(text, sizeof text, "musicPlayEx %u 0x%08X %d %d", handle, position, flags, reset);
        return record(text), 1;
    }
    int32_t channelStop(uint32_t handle) override { return record("channelStop " + std::to_string(handle)), 1; }
    uint32_t channelGetPosition(uint32_t handle) override {
        return record("channelGetPosition " + std::to_string(handle)), channelPosition;
    }
    int32_t channelSetPosition(uint32_t handle, uint32_t position) override {
        return record("channelSetPosition " + std::to_string(handle) + " " + std::to_string(position)), 1;
    }
    int32_t errorGetCode() override { return record("errorGetCode"), errorCode; }
    void free() override { record("free"); }

private:
    void record(const std::string& call) {
        calls.push_back(call);
        if (echo) std::printf("[%s]\n", call.c_str());
    }
};

using Calls = std::vector<std::string>;

std::string loadCapturingStdout(MusicPlayer& player, const char* fileName, bool* result) {
    testing::internal::CaptureStdout();
    *result = player.load(fileName);
    return testing::internal::GetCapturedStdout();
}

TEST(MusicPlayer, LoadsAndPlaysAStream) {
    RecordingAudioLibrary library;
    MusicPlayer player(&library);
    bool loaded = false;
    EXPECT_EQ(loadCapturingStdout(player, "data/musik.mp3", &loaded),
              "bass used for module replaying\ntrying to load stream data/musik.mp3 \n");
    EXPECT_TRUE(loaded);
    EXPECT_EQ(library.calls, Calls({"getVersion", "init -1 44100 0 null",
                                    "streamCreateFile 0 data/musik.mp3 0 0 0", "channelSetSync 7 2 0"}));
    ASSERT_NE(library.syncProc, nullptr);
    library.syncProc(7, 7, 0);

    library.calls.clear();
    EXPECT_TRUE(player.play());
    library.channelPosition = 176400;
    EXPECT_EQ(player.position(), 176400u);
    EXPECT_FALSE(player.stop());
    EXPECT_TRUE(player.free());
    EXPECT_EQ(library.calls, Calls({"start", "setVolume 100", "musicSetAmplify 0 70", "streamPlay 7 0 4",
                                    "channelGetPosition 7", "channelStop 7", "free"}));
}

TEST(MusicPlayer, StreamPauseAndResume) {
    RecordingAudioLibrary library;
    MusicPlayer player(&library);
    EXPECT_FALSE(player.pauseStream());
    EXPECT_FALSE(player.resumeStream(0));
    EXPECT_TRUE(library.calls.empty());

    bool loaded = false;
    loadCapturingStdout(player, "song.mp3", &loaded);
    library.calls.clear();
    library.channelPosition = 1234;
    EXPECT_TRUE(player.pauseStream());
    EXPECT_TRUE(player.resumeStream(99));
    EXPECT_EQ(player.currentOrder(), 0);
    EXPECT_EQ(player.currentRow(), 0);
    EXPECT_EQ(library.calls, Calls({"channelGetPosition 7", "channelStop 7", "streamPlay 7 0 4"}));
}

TEST(MusicPlayer, FallsBackToAModule) {
    RecordingAudioLibrary library;
    library.stream = 0;
    MusicPlayer player(&library);
    bool loaded = false;
    EXPECT_EQ(loadCapturingStdout(player, "tune.xm", &loaded),
              "bass used for module replaying\ntrying to load stream tune.xm \ntrying to load mod tune.xm \n");
    EXPECT_TRUE(loaded);
    EXPECT_EQ(library.calls, Calls({"getVersion", "init -1 44100 0 null", "streamCreateFile 0 tune.xm 0 0 0",
                                    "musicLoad 0 tune.xm 0 0 5", "channelSetSync 9 2 0"}));

    library.calls.clear();
    EXPECT_TRUE(player.play());
    library.channelPosition = 0x00100003;
    EXPECT_EQ(player.position(), 0u);  // only a stream has a byte position
    EXPECT_EQ(player.currentOrder(), 3);
    EXPECT_EQ(player.currentRow(), 16);
    EXPECT_TRUE(player.stop());  // the module keeps running
    EXPECT_FALSE(player.pauseStream());
    EXPECT_EQ(library.calls, Calls({"start", "setVolume 100", "musicSetAmplify 9 70", "musicPlay 9",
                                    "channelGetPosition 9", "channelGetPosition 9"}));
}

TEST(MusicPlayer, PlayModuleAtPacksRowAndOrder) {
    RecordingAudioLibrary library;
    MusicPlayer player(&library);
    EXPECT_FALSE(player.playModuleAt(3, 16));
    EXPECT_EQ(library.calls, Calls({"start"}));

    library.stream = 0;
    bool loaded = false;
    loadCapturingStdout(player, "tune.mod", &loaded);
    library.calls.clear();
    EXPECT_TRUE(player.playModuleAt(3, 16));
    EXPECT_TRUE(player.playModuleAt(0x12345, 0x10001));
    EXPECT_EQ(library.calls, Calls({"start", "musicPlayEx 9 0x00100003 -1 1", "start",
                                    "musicPlayEx 9 0x00012345 -1 1"}));
}

TEST(MusicPlayer, WrongVersionLoadsNothing) {
    RecordingAudioLibrary library;
    library.version = 0x20000;
    MusicPlayer player(&library);
    bool loaded = true;
    EXPECT_EQ(loadCapturingStdout(player, "data/musik.mp3", &loaded),
              "bass used for module replaying\nBASS version 0.6 was not loaded\n");
    EXPECT_FALSE(loaded);
    EXPECT_EQ(library.calls, Calls({"getVersion"}));
    EXPECT_EQ(player.position(), 0u);
    EXPECT_FALSE(player.stop());
}

// The fatal paths end the process; the echoed calls and the message go to stderr so
// that the death test can match them in order.
void loadWithStdoutOnStderr(RecordingAudioLibrary& library, const char* fileName) {
    platform::sendStandardOutputToError();
    library.echo = true;
    MusicPlayer player(&library);
    player.load(fileName);
}

TEST(MusicPlayerDeathTest, DeviceFailureEndsTheProcessWithAnError) {
    RecordingAudioLibrary library;
    library.initResult = 0;
    EXPECT_EXIT(loadWithStdoutOnStderr(library, "x.mp3"), testing::ExitedWithCode(1),
                "\\[init -1 44100 0 null\\]\n\\[errorGetCode\\]\nBASS Error\\(42\\): Can't initialize device\n"
                "\\[free\\]\n$");
}

TEST(MusicPlayerDeathTest, FileThatIsNoMusicEndsTheProcessWithAnError) {
    RecordingAudioLibrary library;
    library.stream = 0;
    library.module = 0;
    library.errorCode = 2;
    EXPECT_EXIT(loadWithStdoutOnStderr(library, "notes.txt"), testing::ExitedWithCode(1),
                "trying to load stream notes.txt \n\\[streamCreateFile 0 notes.txt 0 0 0\\]\n"
                "trying to load mod notes.txt \n"
                "\\[musicLoad 0 notes.txt 0 0 5\\]\n\\[errorGetCode\\]\n"
                "BASS Error\\(2\\): Can't play the file\n\\[free\\]\n$");
}

}  // namespace
