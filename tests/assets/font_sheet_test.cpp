// Glyph cells cut from the sheet picture land at their character codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/FontSheet.h"
#include "image_test_support.h"

namespace {

// The sheet's bytes are all below 0xC0, so its stream is the plane bytes as literals:
// red = x % 160, green = y % 100, blue = x / 160 + 2 * (y / 100). Every pixel differs.
uint32_t sheetPixel(int x, int y) {
    return uint32_t(x % 160) << 16 | uint32_t(y % 100) << 8 | uint32_t(x / 160 + 2 * (y / 100));
}

std::vector<uint8_t> sheetFile() {
    std::vector<uint8_t> stream;
    for (int y = 0; y < 200; ++y)
        for (int plane = 0; plane < 3; ++plane)
            for (int x = 0; x < 320; ++x) stream.push_back(uint8_t(sheetPixel(x, y) >> (16 - 8 * plane)));
    return imagetest::pcxWithStream(stream);
}

// True when the glyph of `code` is the sheet's square at (column, row).
bool glyphIsSheetSquare(const FontSheet& sheet, int code, int column, int row) {
    const int size = sheet.glyphSize;
    const uint32_t* cell = sheet.glyphs + size_t(code) * size_t(size * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (cell[y * size + x] != sheetPixel(column + x, row + y)) return false;
    return true;
}

bool glyphIsBlank(const FontSheet& sheet, int code) {
    const int cellPixels = sheet.glyphSize * sheet.glyphSize;
    for (int i = 0; i < cellPixels; ++i)
        if (sheet.glyphs[size_t(code) * size_t(cellPixels) + size_t(i)] != 0) return false;
    return true;
}

class FontSheetTest : public testing::Test {
protected:
    void SetUp() override { writeFileBytes(dir.file("gurkan2.pcx"), sheetFile()); }
    TempDir dir;
};

TEST_F(FontSheetTest, CellsOfTheRunnersSheetLandAtTheirCodes) {
    FontSheet sheet;
    sheet.glyphSize = 8;
    sheet.firstCode = 31;
    // The runner's backslash and another letter case, resolved as Windows would.
    std::string name = dir.file("GURKAN2.pcx");
    name[name.rfind('/')] = '\\';

    testing::internal::CaptureStdout();
    sheet.loadSheet(name.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "VEX_ImageFactory constructor gets called \ntrying to load " + name +
                  " with loader number 0. \n");
    ASSERT_NE(sheet.glyphs, nullptr);
    ASSERT_NE(sheet.spare, nullptr);

    EXPECT_TRUE(glyphIsSheetSquare(sheet, 31, 0, 0));     // cell 0
    EXPECT_TRUE(glyphIsSheetSquare(sheet, 32, 8, 0));     // cell 1
    EXPECT_TRUE(glyphIsSheetSquare(sheet, 70, 312, 0));   // cell 39, last of the first row
    EXPECT_TRUE(glyphIsSheetSquare(sheet, 71, 0, 8));     // cell 40 starts the second row
    EXPECT_TRUE(glyphIsSheetSquare(sheet, 111, 0, 16));   // cell 80 starts the third row
    EXPECT_TRUE(glyphIsSheetSquare(sheet, 127, 128, 16)); // cell 96, the 97th and last glyph
    for (int code : {0, 30, 128, 200, 255}) EXPECT_TRUE(glyphIsBlank(sheet, code)) << code;
}

TEST_F(FontSheetTest, CellsOutsideThePictureStayBlank) {
    // 40-pixel cells: eight a row, five rows fit in 200 pixels; codes 40..127 have no cell.
    FontSheet sheet;
    sheet.glyphSize = 40;
    sheet.firstCode = 0;
    testing::internal::CaptureStdout();
    sheet.loadSheet(dir.file("gurkan2.pcx").c_str());
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(glyphIsSheetSquare(sheet, 9, 40, 40));
    EXPECT_TRUE(glyphIsSheetSquare(sheet, 39, 280, 160));
    EXPECT_TRUE(glyphIsBlank(sheet, 40));
    EXPECT_TRUE(glyphIsBlank(sheet, 127));
}

TEST_F(FontSheetTest, OutOfRangeSettingsNeverCrash) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (int size : {0, -8, 201, 1 << 30}) {
        FontSheet sheet;
        sheet.glyphSize = size;
        sheet.loadSheet(dir.file("gurkan2.pcx").c_str());
        EXPECT_EQ(sheet.glyphs, nullptr) << size;
    }
    FontSheet negative;
    negative.firstCode = -5;  // sheet cell 5 is code 0
    negative.loadSheet(dir.file("gurkan2.pcx").c_str());
    FontSheet beyond;
    beyond.firstCode = 1000;
    beyond.loadSheet(dir.file("gurkan2.pcx").c_str());
    FontSheet missing;
    missing.loadSheet(dir.file("absent.pcx").c_str());
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();

    EXPECT_TRUE(glyphIsSheetSquare(negative, 0, 40, 0));
    EXPECT_TRUE(glyphIsBlank(beyond, 127));
    EXPECT_TRUE(glyphIsBlank(missing, 65));
}

}  // namespace
