#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/PlatformFiles.h"
#include "core/TextCompare.h"
#include "support/TempDir.h"

namespace {

TEST(TextCompare, FoldsAsciiLettersOnlyAndOrdersByTheFoldedBytes) {
    EXPECT_EQ(compareIgnoringCase("POWPOW", "powPow"), 0);
    EXPECT_LT(compareIgnoringCase("apple", "BANANA"), 0);
    EXPECT_GT(compareIgnoringCase("Zoo", "zo"), 0);
    EXPECT_EQ(compareIgnoringCase("[", "{"), '[' - '{');  // not letters: compared as they are
    EXPECT_NE(compareIgnoringCase("\xC4", "\xE4"), 0);     // nor bytes above ASCII
    EXPECT_EQ(compareIgnoringCase("COLRxx", "colrYY", 4), 0);
    EXPECT_NE(compareIgnoringCase("COLR", "COLT", 4), 0);
    EXPECT_EQ(compareIgnoringCase("ab", "AB", 10), 0);  // stops at the end of both
}

TEST(PlatformFiles, ListsEntersAndStampsFolders) {
    TempDir dir;
    dir.write("sub/First.txt", "1");
    dir.write("sub/second", "22");
    std::vector<std::string> names;
    ASSERT_TRUE(platform::listFolder(dir.file("sub"), names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"First.txt", "second"}));
    EXPECT_FALSE(platform::listFolder(dir.file("absent"), names));

    EXPECT_TRUE(platform::pathExists(dir.file("sub")));
    EXPECT_FALSE(platform::pathExists(dir.file("sub/absent")));

    // A changed size changes the stamp; a missing file has none.
    const std::string stamp = platform::fileStamp(dir.file("sub/second"));
    EXPECT_NE(stamp, "");
    dir.write("sub/second", "333");
    EXPECT_NE(platform::fileStamp(dir.file("sub/second")), stamp);
    EXPECT_EQ(platform::fileStamp(dir.file("sub/absent")), "");

    const std::string previous = platform::workingDirectory();
    ASSERT_NE(previous, "");
    ASSERT_TRUE(platform::changeDirectory(dir.file("sub")));
    EXPECT_TRUE(platform::listFolder("", names));
    EXPECT_EQ(names.size(), 2u);
    EXPECT_FALSE(platform::changeDirectory(dir.file("absent")));
    EXPECT_TRUE(platform::changeDirectory(previous));
    EXPECT_EQ(platform::workingDirectory(), previous);
}

}  // namespace
