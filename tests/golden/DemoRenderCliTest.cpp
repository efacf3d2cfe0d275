// The demo-render program itself: its options, its errors, and what goes where.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "support/ProgramCommand.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class DemoRenderCli : public ::testing::Test {
protected:
    // Runs the program from the test folder; returns its exit status.
    int run(const std::string& arguments) {
        const std::string command = "cd '" + folder.string() + "' && " + programCommand(DEMO_RENDER_PATH) + " " + arguments +
                                    " >out.bin 2>err.txt";
        const int status = std::system(command.c_str());
        out = readFile(folder / "out.bin");
        err = readFile(folder / "err.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    TempDir dir;
    const fs::path folder{dir.path};
    std::string out, err;
};

TEST_F(DemoRenderCli, HelpGoesToStandardErrorAndNamesEveryOption) {
    EXPECT_EQ(run("--help"), 0);
    EXPECT_EQ(out, "");
    for (const char* option : {"--dir", "--fps", "--start", "--end", "--frames", "--png", "--y4m", "--wav", "--timings"})
        EXPECT_NE(err.find(option), std::string::npos) << option;
}

TEST_F(DemoRenderCli, BadOptionsAreRefusedBeforeAnythingRuns) {
    EXPECT_EQ(run("--bogus 1"), 2);
    EXPECT_NE(err.find("unknown option --bogus"), std::string::npos);
    EXPECT_EQ(run("--fps 0"), 2);
    EXPECT_EQ(run("--fps 2.5"), 2);
    EXPECT_EQ(run("--start -1"), 2);
    EXPECT_EQ(run("--end 5 --frames 3"), 2);
    EXPECT_EQ(run("--start 5 --end 4"), 2);
    EXPECT_EQ(run("--png"), 2);
    EXPECT_NE(err.find("--png needs a value"), std::string::npos);
    EXPECT_EQ(out, "");
}

TEST_F(DemoRenderCli, AMissingStageIsReported) {
    EXPECT_EQ(run("--dir nowhere --frames 1"), 1);
    EXPECT_NE(err.find("cannot enter nowhere"), std::string::npos);
}

TEST_F(DemoRenderCli, Y4mOnStandardOutputKeepsTheDemoLinesOutOfTheStream) {
    ASSERT_TRUE(fs::exists(TEST_STAGE_DIR "/synkTest.snc")) << "build the `stage` target";
    ASSERT_EQ(run("--dir '" TEST_STAGE_DIR "' --fps 30 --frames 3 --y4m - --png frames --wav sound.wav "
                  "--timings times.json --crcs crcs.txt"), 0) << err;
    const std::string header = "YUV4MPEG2 W512 H384 F30:1 Ip A1:1 C444 XCOLORRANGE=FULL\n";
    const size_t frameBytes = 6 + 512 * 384 * 3;
    ASSERT_EQ(out.size(), header.size() + 3 * frameBytes);
    EXPECT_EQ(out.substr(0, header.size()), header);
    for (size_t i = 0; i < 3; i++) EXPECT_EQ(out.substr(header.size() + i * frameBytes, 6), "FRAME\n");
    // The demo's own lines went to standard error instead.
    EXPECT_NE(err.find("loaded actions \n"), std::string::npos);
    EXPECT_NE(err.find("deallocated internal Bitmap buffer \n"), std::string::npos);
    // Output paths are relative to where the program started, not to the stage.
    EXPECT_TRUE(fs::exists(folder / "frames/frame-000000.png"));
    EXPECT_TRUE(fs::exists(folder / "frames/frame-000002.png"));
    EXPECT_FALSE(fs::exists(folder / "frames/frame-000003.png"));
    EXPECT_EQ(fs::file_size(folder / "sound.wav"), 44u + 176400u / 10);   // 0.1 s
    const std::string json = readFile(folder / "times.json");
    EXPECT_EQ(json.rfind("{\"frames\": 3, \"wall_s\": ", 0), 0u) << json;
    const std::string crcs = readFile(folder / "crcs.txt");
    EXPECT_TRUE(std::regex_match(crcs, std::regex("0 [0-9a-f]{8}\n1 [0-9a-f]{8}\n2 [0-9a-f]{8}\n"))) << crcs;
}

TEST_F(DemoRenderCli, WithoutY4mTheDemoLinesStayOnStandardOutput) {
    ASSERT_TRUE(fs::exists(TEST_STAGE_DIR "/synkTest.snc")) << "build the `stage` target";
    ASSERT_EQ(run("--dir '" TEST_STAGE_DIR "' --frames 2"), 0) << err;
    EXPECT_NE(out.find("loaded actions \n"), std::string::npos);
    EXPECT_EQ(err.find("loaded actions"), std::string::npos);
    EXPECT_NE(err.find("demo-render: 2 frames"), std::string::npos);
}

}  // namespace
