// Loader choice by the last three letters of the name, and what the factory prints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <unistd.h>

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "image_test_support.h"

namespace {

constexpr uint32_t kUntouched = 0xCAFEF00D;

// Index of the first loader that takes the name, -1 when none does.
int chosenLoader(VEX_ImageFactory& factory, const char* name) {
    for (int i = 0; i < factory.loaderCount; ++i)
        if (factory.loaders[i]->canLoad(name)) return i;
    return -1;
}

TEST(ImageFactory, ConstructorAnnouncesItselfAndRegistersPcxThenJpeg) {
    testing::internal::CaptureStdout();
    VEX_ImageFactory factory;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "VEX_ImageFactory constructor gets called \n");
    ASSERT_EQ(factory.loaderCount, 2);
    EXPECT_NE(dynamic_cast<PcxLoader*>(factory.loaders[0]), nullptr);
    EXPECT_NE(dynamic_cast<JpgLoader*>(factory.loaders[1]), nullptr);
}

TEST(ImageFactory, LoaderIsChosenByTheLastThreeLettersInAnyCase) {
    testing::internal::CaptureStdout();
    VEX_ImageFactory factory;
    testing::internal::GetCapturedStdout();
    const std::pair<const char*, int> cases[] = {
        {"data/kebab/kebabtxt.pxc", -1}, {"x.jPg", 1},   {"x.JPG", 1},  {"x.pCx", 0},
        {"data\\gurkan2.pcx", 0},        {"pcx", 0},     {"nodotjpg", 1}, {"x.jpeg", -1},
        {"x.jpg ", -1},                  {"cx", -1},     {"", -1},      {"x.pcx.bak", -1},
    };
    for (const auto& [name, loader] : cases) EXPECT_EQ(chosenLoader(factory, name), loader) << name;
    EXPECT_EQ(chosenLoader(factory, nullptr), -1);
}

TEST(ImageFactory, NameNoLoaderTakesIsLeftAloneAndNotAnnounced) {
    testing::internal::CaptureStdout();
    Bitmap* made;
    Bitmap target(3, 2);
    for (int i = 0; i < 6; ++i) target.pixels[i] = kUntouched;
    {
        VEX_ImageFactory factory;
        made = factory.load("data/kebab/kebabtxt.pxc", 3, 2, 5, 4, false, 1);
        factory.loadInto(&target, "data/kebab/kebabtxt.pxc", 3, 2, false, 1);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "VEX_ImageFactory constructor gets called \n");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->width, 5);
    EXPECT_EQ(made->height, 4);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(target.pixels[i], kUntouched);
    delete made;
}

TEST(ImageFactory, MissingPictureIsAnnouncedReportedAndLeavesTargetAlone) {
    Bitmap target(2, 2);
    for (int i = 0; i < 4; ++i) target.pixels[i] = kUntouched;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    {
        VEX_ImageFactory factory;
        factory.loadInto(&target, "data/nowhere/Missing.PCX", 2, 2, true, 1);
    }
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "VEX_ImageFactory constructor gets called \n"
              "trying to load data/nowhere/Missing.PCX with loader number 0. \n");
    EXPECT_NE(errors.find("data/nowhere/Missing.PCX"), std::string::npos);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(target.pixels[i], kUntouched);
}

TEST(ImageFactory, LoadFillsANewBitmapOfTheAskedSize) {
    TempDir dir;
    std::string path = dir.file("two.pcx");
    // 2 x 1: red then blue.
    writeFileBytes(path, imagetest::pcxWithStream({0xC1, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xC1, 0xFF}));
    testing::internal::CaptureStdout();
    Bitmap* bitmap;
    {
        VEX_ImageFactory factory;
        bitmap = factory.load(path.c_str(), 2, 1, 4, 2, true, 1);
    }
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(bitmap->width, 4);
    ASSERT_EQ(bitmap->height, 2);
    const std::vector<uint32_t> expected = {0xFF0000, 0xFF0000, 0x0000FF, 0x0000FF,
                                            0xFF0000, 0xFF0000, 0x0000FF, 0x0000FF};
    EXPECT_EQ(std::vector<uint32_t>(bitmap->pixels, bitmap->pixels + 8), expected);
    delete bitmap;

    PcxLoader loader;
    Bitmap* fresh = loader.loadNew(path.c_str(), 2, 1, false, 1);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->pixels[0], 0xFF0000u);
    EXPECT_EQ(fresh->pixels[1], 0x0000FFu);
    delete fresh;
}

// A shared picture is decoded by its first request in a folder; every request announces it.
TEST(ImageFactory, SharedPictureIsDecodedOncePerNameSizeAndFolder) {
    TempDir first, second;
    writeFileBytes(first.file("p.pcx"), imagetest::pcxWithStream({0xC1, 0x10, 0xC1, 0x20, 0xC1, 0x30}));
    writeFileBytes(second.file("p.pcx"), imagetest::pcxWithStream({0xC1, 0x40, 0xC1, 0x50, 0xC1, 0x60}));
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    testing::internal::CaptureStdout();
    VEX_ImageFactory factory, other;
    ASSERT_EQ(chdir(first.file("").c_str()), 0);
    const Bitmap* a = factory.loadShared("p.pcx", 1, 1, 1, 1, false, 1);
    const Bitmap* b = other.loadShared("p.pcx", 1, 1, 1, 1, false, 1);
    const Bitmap* wider = factory.loadShared("p.pcx", 1, 1, 2, 1, true, 1);
    ASSERT_EQ(chdir(second.file("").c_str()), 0);
    const Bitmap* elsewhere = factory.loadShared("p.pcx", 1, 1, 1, 1, false, 1);
    ASSERT_EQ(chdir(previous), 0);
    const std::string line = "trying to load p.pcx with loader number 0. \n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "VEX_ImageFactory constructor gets called \nVEX_ImageFactory constructor gets called \n" + line +
                  line + line + line);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->pixels[0], 0x102030u);
    EXPECT_NE(wider, a);
    EXPECT_EQ(wider->width, 2);
    EXPECT_NE(elsewhere, a);
    EXPECT_EQ(elsewhere->pixels[0], 0x405060u);
}

TEST(ImageFactory, AbsurdAndEmptySizesNeverCrash) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    {
        VEX_ImageFactory factory;
        Bitmap* huge = factory.load("data/x.pcx", 4, 4, 2000000000, 2000000000, true, 1);
        EXPECT_EQ(huge->width, 0);
        EXPECT_EQ(huge->height, 0);
        delete huge;
        Bitmap* empty = factory.load("data/x.pcx", 0, -3, 0, -3, true, 1);
        delete empty;
        EXPECT_EQ(PcxLoader().loadNew("data/x.pcx", 1 << 30, 1 << 30, false, 1), nullptr);
        factory.loadInto(nullptr, "data/x.pcx", 4, 4, false, 1);
    }
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
}

}  // namespace
