// The demo-render program itself: its options, its errors, and what goes where.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "support/ProgramCommand.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A PNG's RGB bytes, and its size.
std::vector<uint8_t> readPng(const fs::path& path, uint32_t& width, uint32_t& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
    width = image.width;
    height = image.height;
    return rgb;
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
    for (const char* option : {"--dir", "--fps", "--scale", "--start", "--end", "--frames", "--png", "--y4m", "--wav", "--timings"})
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
    EXPECT_EQ(run("--scale 0"), 2);
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

TEST_F(DemoRenderCli, ScaleWritesEachPixelAsABlockInPngAndY4m) {
    ASSERT_TRUE(fs::exists(TEST_STAGE_DIR "/synkTest.snc")) << "build the `stage` target";
    // A frame of the 3D part: fine edges everywhere.
    const std::string frame = "--dir '" TEST_STAGE_DIR "' --start 70.5 --frames 1 --y4m - ";
    ASSERT_EQ(run(frame + "--png one"), 0) << err;
    const std::string streamOne = out;
    ASSERT_EQ(run(frame + "--png three --scale 3"), 0) << err;
    const std::string streamThree = out;

    uint32_t w1 = 0, h1 = 0, w3 = 0, h3 = 0;
    const std::vector<uint8_t> one = readPng(folder / "one/frame-000000.png", w1, h1);
    const std::vector<uint8_t> three = readPng(folder / "three/frame-000000.png", w3, h3);
    ASSERT_EQ(w1, 512u);
    ASSERT_EQ(h1, 384u);
    ASSERT_EQ(w3, 1536u);
    ASSERT_EQ(h3, 1152u);
    const std::string header = "YUV4MPEG2 W1536 H1152 F60:1 Ip A1:1 C444 XCOLORRANGE=FULL\nFRAME\n";
    ASSERT_EQ(streamThree.substr(0, header.size()), header);
    const size_t start1 = streamOne.find("FRAME\n") + 6, start3 = header.size();
    ASSERT_EQ(streamOne.size(), start1 + 512 * 384 * 3);
    ASSERT_EQ(streamThree.size(), start3 + 1536 * 1152 * 3);
    size_t differing = 0;
    for (uint32_t y = 0; y < h3; y++)
        for (uint32_t x = 0; x < w3; x++) {
            const size_t at1 = (y / 3) * 512 + x / 3, at3 = y * 1536 + x;
            for (int k = 0; k < 3; k++) {
                differing += one[at1 * 3 + k] != three[at3 * 3 + k];
                // Plane k of the y4m frame.
                differing += streamOne[start1 + k * 512 * 384 + at1] != streamThree[start3 + k * 1536 * 1152 + at3];
            }
        }
    EXPECT_EQ(differing, 0u);
}

}  // namespace
