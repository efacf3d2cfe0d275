// Live code on the virtual platform: part modules swapped in, refused and rolled back, a
// build that fails, pictures remade. The player runs paused in the house part of the real
// show, in a stage whose house and flash pictures are copies (the rest are links).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <string>
#include <vector>

#include "LiveCoder.h"
#include "LivePart.h"
#include "PartModule.h"
#include "PlayerController.h"
#include "audio/VirtualAudioLibrary.h"
#include "core/Bitmap.h"
#include "display/MemoryToolkit.h"
#include "display/PtcDisplayDriver.h"
#include "support/TempDir.h"

#ifdef LIVE_TEST_MODULES
namespace {

namespace fs = std::filesystem;
constexpr int64_t kHouseMs = 93500;

std::string faultyModule(int fault) { return std::string(LIVE_TEST_MODULES) + "/faulty_part_" + std::to_string(fault) + ".so"; }

// The part modules mapped into this process now, each once.
int modulesMapped() {
    std::ifstream maps("/proc/self/maps");
    std::vector<std::string> names;
    for (std::string line; std::getline(maps, line);) {
        const size_t at = line.find("demo-player-part-");
        if (at != std::string::npos && std::find(names.begin(), names.end(), line.substr(at)) == names.end())
            names.push_back(line.substr(at));
    }
    return static_cast<int>(names.size());
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class LiveCoderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path from = TEST_STAGE_DIR;
        fs::create_directories(stage / "data");
        for (const auto& entry : fs::directory_iterator(from / "data")) {
            const std::string name = entry.path().filename().string();
            if (name == "Huset" || name == "pow") fs::copy(entry.path(), stage / "data" / name, fs::copy_options::recursive);
            else if (name != "musik.mp3") fs::create_symlink(entry.path(), stage / "data" / name);
        }
        fs::copy_file(from / "synkTest.snc", stage / "synkTest.snc");
        previous = fs::current_path();
        fs::current_path(stage);
        setup = LiveSetup::fromBuild();
    }
    void TearDown() override {
        testing::internal::CaptureStdout();
        if (controller) controller->finish();
        controller.reset();
        testing::internal::GetCapturedStdout();
        fs::current_path(previous);
    }

    void begin() {
        PlayerSettings settings;
        settings.startMs = kHouseMs;
        settings.paused = true;
        settings.live = true;
        settings.liveSetup = setup;
        testing::internal::CaptureStdout();
        controller = std::make_unique<PlayerController>(display, audio, wall);
        controller->begin(settings);
        testing::internal::GetCapturedStdout();
        ASSERT_NE(controller->liveCoder(), nullptr);
        live = controller->liveCoder();
    }
    std::vector<uint32_t> frame() {
        const Bitmap& f = *display.frame();
        return std::vector<uint32_t>(f.pixels, f.pixels + static_cast<size_t>(f.width) * f.height);
    }
    // A pass of the player's loop, its stdout kept away.
    void tick(int64_t wallMs = 0) {
        wall.advance(wallMs * 1000000);
        testing::internal::CaptureStdout();
        controller->tick();
        testing::internal::GetCapturedStdout();
    }
    bool swap(const std::string& path) {
        testing::internal::CaptureStdout();
        const bool swapped = live->swapInModule("HusetPart", path);
        testing::internal::GetCapturedStdout();
        tick();
        return swapped;
    }
    // Polls live code until its jobs are done (bounded).
    void settle() {
        for (int i = 0; i < 600 && !live->idle(); i++) {
            tick();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        tick();
        ASSERT_TRUE(live->idle());
    }
    const LivePart& house() {
        for (int32_t i = 0; i < controller->runner().partCount(); i++)
            if (live->partName(i) == "HusetPart") return *live->place(i);
        throw std::runtime_error("no house part");
    }

    TempDir dir;
    fs::path stage = fs::path(dir.path) / "stage";
    fs::path previous;
    LiveSetup setup;
    MemoryToolkit toolkit;
    PtcDisplayDriver display{toolkit};
    VirtualAudioLibrary audio;
    VirtualClock wall;
    std::unique_ptr<PlayerController> controller;
    LiveCoder* live = nullptr;
};

TEST_F(LiveCoderTest, GoodModuleSwapsInAtTheSameTimeAndOldModulesUnload) {
    begin();
    const std::vector<uint32_t> builtIn = frame();
    const int mappedBefore = modulesMapped();
    for (int i = 1; i <= 5; i++) {
        ASSERT_TRUE(swap(setup.modulePath("HusetPart"))) << live->status();
        EXPECT_FALSE(house().code()->isBuiltIn());
        EXPECT_EQ(controller->timeMs(), kHouseMs);
        // The module is the same source: the same frame, as after a restart there.
        EXPECT_EQ(frame(), builtIn) << "swap " << i;
        // The running module and the last good one, no more.
        EXPECT_LE(modulesMapped() - mappedBefore, 2) << "swap " << i;
    }
    EXPECT_EQ(live->swapCount(), 5);
    EXPECT_NE(live->status().find("HusetPart: new code"), std::string::npos) << live->status();
}

TEST_F(LiveCoderTest, CrashingOrHangingDrawIsRefusedAndTheRunningCodeStays) {
    begin();
    const std::vector<uint32_t> before = frame();
    const struct {
        int fault;
        const char* says;
    } cases[] = {{1, "SIGSEGV"}, {2, "more than "}};   // 1 s of CPU, or the trial's wall limit on a loaded machine
    for (const auto& c : cases) {
        EXPECT_FALSE(swap(faultyModule(c.fault)));
        EXPECT_NE(live->status().find(std::string("HusetPart refused: draw at 93.50 s: ") + c.says), std::string::npos)
            << live->status();
        EXPECT_NE(live->status().find("the running code stays"), std::string::npos);
        EXPECT_TRUE(house().code()->isBuiltIn());
        tick();
        EXPECT_EQ(frame(), before);
    }
    EXPECT_EQ(live->swapCount(), 0);
}

TEST_F(LiveCoderTest, DrawThatAbortsLaterIsRolledBackToTheLastGoodModule) {
    begin();
    ASSERT_TRUE(swap(setup.modulePath("HusetPart")));
    const int goodSerial = house().code()->serial();
    ASSERT_TRUE(swap(faultyModule(3))) << live->status();   // passes the trial's few draws
    controller->handleKey(' ');
    for (int i = 0; i < 12; i++) tick(16);
    EXPECT_EQ(live->rollbackCount(), 1);
    EXPECT_EQ(house().code()->serial(), goodSerial);
    EXPECT_NE(live->status().find("SIGABRT"), std::string::npos) << live->status();
    EXPECT_NE(live->status().find("in draw at 93."), std::string::npos) << live->status();
    EXPECT_NE(live->status().find("back to the last good code"), std::string::npos);
    EXPECT_FALSE(controller->quitRequested());
}

TEST_F(LiveCoderTest, BuildThatFailsReportsItsFirstErrorAndKeepsTheCode) {
    const std::string broken = dir.write("broken/HusetPart.cpp", "void draw() {}\n#error not finished\n#error second\n");
    // A build folder without the compile database: the build tool is asked, here a stand-in.
    setup.buildDir = dir.path;
    setup.cmakeCommand = dir.write("fake-cmake.sh", "#!/bin/sh\nexec c++ -fsyntax-only " + broken + "\n");
    fs::permissions(setup.cmakeCommand, fs::perms::owner_exec, fs::perm_options::add);
    begin();
    const std::vector<uint32_t> before = frame();
    live->fileChanged("src/parts/HusetPart.cpp");
    settle();
    EXPECT_EQ(live->status(), "HusetPart: " + broken + ":2: error: #error not finished; the running code stays");
    EXPECT_NE(controller->statusText().find("#error not finished"), std::string::npos);
    EXPECT_TRUE(house().code()->isBuiltIn());
    EXPECT_EQ(frame(), before);
}

TEST_F(LiveCoderTest, PictureMakerRemakesOnlyItsPartsFilesOrKeepsTheOldOnes) {
    setup.cmakeCommand = "true";   // the generator is taken as built
    const std::string said = "assetgen: data/Huset/jag.pcx is made 90 x 30, but its part loads it 100 x 30";
    setup.assetgen = dir.write("fail.sh", "#!/bin/sh\necho '" + said + "' >&2\nexit 1\n");
    fs::permissions(setup.assetgen, fs::perms::owner_exec, fs::perm_options::add);
    begin();
    const std::vector<uint32_t> before = frame();
    const std::string house0 = readFile(stage / "data/Huset/before.pcx");
    live->fileChanged("tools/assetgen/HousePictures.cpp");
    settle();
    EXPECT_EQ(live->status(), "the pictures of HusetPart: " + said + "; the old pictures stay");
    EXPECT_EQ(readFile(stage / "data/Huset/before.pcx"), house0);
    EXPECT_EQ(frame(), before);

    // The real generator writes the row's files and nothing else.
    const std::string made = dir.path + "/made";
    ASSERT_EQ(std::system((std::string(TEST_ASSETGEN) + " " + made + " --part HusetPart 2>/dev/null").c_str()), 0);
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(made))
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), made).generic_string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"data/Huset/before.pcx", "data/Huset/jag.pcx", "data/Huset/pil.pcx",
                                               "data/pow/pow.pcx"}));

    // A maker that draws another house: its files replace the stage's, the part draws them.
    const std::string kebab = std::string(TEST_STAGE_DIR) + "/data/kebab/kebab.pcx";
    setup.assetgen = dir.write("good.sh", "#!/bin/sh\n" + std::string(TEST_ASSETGEN) +
                                              " \"$1\" --part HusetPart && cp " + kebab + " \"$1/data/Huset/before.pcx\"\n");
    fs::permissions(setup.assetgen, fs::perms::owner_exec, fs::perm_options::add);
    controller->finish();
    controller.reset();
    begin();
    live->fileChanged("tools/assetgen/HousePictures.cpp");
    settle();
    EXPECT_EQ(live->status(), "new pictures for HusetPart");
    EXPECT_EQ(readFile(stage / "data/Huset/before.pcx"), readFile(kebab));
    EXPECT_TRUE(fs::is_symlink(stage / "data/kebab")) << "only the part's files are written";
    EXPECT_NE(frame(), before);
}

}  // namespace
#endif
