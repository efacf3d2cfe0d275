#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "TestFiles.h"
#include "support/ProgramCommand.h"
#include "parts/Show.h"

namespace fs = std::filesystem;

// Two runs of assetgen into fresh folders write the same files, byte for byte, and the
// same files as the stage that the build made (taking the same music, in a cross build).
TEST(Assetgen, RunsAreByteIdentical) {
    const fs::path base = fs::path(TEST_BINARY_DIR) / "assetgen-determinism";
    fs::remove_all(base);
    const fs::path first = base / "first", second = base / "second";
    for (const fs::path& out : {first, second}) {
        const std::string music = ASSETGEN_MUSIC;
        const std::string command = programCommand(ASSETGEN_PATH) + (music.empty() ? "" : " --music '" + music + "'") +
                                    " '" + out.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(first)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), first);
        SCOPED_TRACE(relative.string());
        std::vector<uint8_t> a = readFileBytes(entry.path().string());
        EXPECT_EQ(a, readFileBytes((second / relative).string()));
        EXPECT_EQ(a, readFileBytes((fs::path(TEST_STAGE_DIR) / relative).string()));
        ++files;
    }
    // Each data file of the show's rows once, the font sheet, the music and the sync script.
    std::set<std::string> rowFiles;
    for (const show::Part& part : show::kParts)
        for (const show::DataFile& file : part.files) rowFiles.insert(file.path);
    EXPECT_EQ(files, rowFiles.size() + 3);
    fs::remove_all(base);
}

TEST(Assetgen, RefusesAMissingOutputFolderArgument) {
    std::string command = programCommand(ASSETGEN_PATH) + " 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}
