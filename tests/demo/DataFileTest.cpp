#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "support/TempDir.h"
#include "core/DataFile.h"

namespace {

std::string readAll(std::FILE* file) {
    std::string bytes;
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes += static_cast<char>(c);
    std::fclose(file);
    return bytes;
}

// A data tree in a temporary folder that is the working directory during the test.
class DataFileTest : public ::testing::Test {
protected:
    DataFileTest() {
        dir.write("data/gurkan2.pcx", "font");
        dir.write("data/Creds/Tunnel1.PCX", "tunnel");
        dir.write("data/Greets/plate.pcx", "lower");
        dir.write("data/Greets/PLATE.pcx", "upper");
        previous = std::filesystem::current_path();
        std::error_code error;
        std::filesystem::current_path(dir.path, error);
        if (error) ADD_FAILURE() << "cannot enter " << dir.path;
    }
    ~DataFileTest() override {
        std::error_code error;
        std::filesystem::current_path(previous, error);
        if (error) ADD_FAILURE() << "cannot return to " << previous;
    }

    // True where the file system itself ignores letter case (Windows): there a name
    // differing only in case is the same file.
    bool fileSystemIgnoresCase() const { return std::filesystem::exists("DATA/GURKAN2.PCX"); }

    TempDir dir;
    std::filesystem::path previous;
};

TEST_F(DataFileTest, BackslashSeparatesComponents) {
    std::FILE* file = openDataFile("data\\gurkan2.pcx", "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(readAll(file), "font");
}

TEST_F(DataFileTest, ComponentsMatchIgnoringCase) {
    std::FILE* file = openDataFile("data/creds/tunnel1.pcx", "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(readAll(file), "tunnel");
    // Where the file system ignores case the name as given is already the file.
    EXPECT_EQ(resolveDataPath("DATA\\CREDS\\tunnel1.Pcx"),
              fileSystemIgnoresCase() ? "DATA/CREDS/tunnel1.Pcx" : "data/Creds/Tunnel1.PCX");
}

TEST_F(DataFileTest, ExactNameWinsOverACaseFoldedOne) {
    if (fileSystemIgnoresCase()) {
        // The two names are one file there, written last as "upper".
        EXPECT_EQ(readAll(openDataFile("data/Greets/plate.pcx", "rb")), "upper");
        return;
    }
    EXPECT_EQ(readAll(openDataFile("data/greets/PLATE.pcx", "rb")), "upper");
    EXPECT_EQ(readAll(openDataFile("data/Greets/plate.pcx", "rb")), "lower");
}

TEST_F(DataFileTest, AbsolutePathsResolveToo) {
    std::string name = dir.path + "\\DATA\\gurkan2.PCX";
    std::FILE* file = openDataFile(name.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(readAll(file), "font");
}

TEST_F(DataFileTest, MissingFilesGiveNull) {
    EXPECT_EQ(openDataFile("data/absent.pcx", "rb"), nullptr);
    EXPECT_EQ(openDataFile("nodir\\gurkan2.pcx", "rb"), nullptr);
    EXPECT_EQ(openDataFile("data/gurkan2.pcx/more", "rb"), nullptr);
    EXPECT_EQ(openDataFile("", "rb"), nullptr);
    EXPECT_EQ(openDataFile(nullptr, "rb"), nullptr);
    EXPECT_EQ(resolveDataPath("data/absent.pcx"), "");
}

}  // namespace
