#include <gtest/gtest.h>

#include <string>

#include "core/Bitmap.h"
#include "parts/CredsPart.h"
#include "parts/FetdelPart.h"
#include "parts/ForortPart.h"
#include "parts/ForstaPart.h"
#include "parts/GreetsPart.h"
#include "parts/GrymtPart.h"
#include "parts/HusetPart.h"
#include "parts/SlutPart.h"

// Each part loads its pictures in init, in a fixed order, and the image factory names every
// file on standard output; the lines hold whether or not the files are present.

namespace {

const std::string kFactory = "VEX_ImageFactory constructor gets called \n";

std::string loading(const char* file) { return std::string("trying to load ") + file + " with loader number 0. \n"; }

template <typename Part>
std::string initOutput(Part& part) {
    testing::internal::CaptureStdout();
    part.init(nullptr, nullptr);
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(PartInit, PicturePartsLoadTheirFilesInOrder) {
    ForstaPart forsta;
    EXPECT_EQ(initOutput(forsta), kFactory + loading("data/Forsta/titel.pcx"));
    ASSERT_EQ(forsta.black->width, 512);
    EXPECT_EQ(forsta.black->pixels[512 * 384 - 1], 0u);

    GrymtPart grymt;
    EXPECT_EQ(initOutput(grymt), kFactory + loading("data/Grymt/grymt512100.pcx") +
                                     loading("data/Grymt/flow512100.pcx") + loading("data/pow/pow.pcx"));
    EXPECT_EQ(grymt.upperStrip->height, 100);
    EXPECT_FALSE(GrymtPart::flash.powActive);

    ForortPart forort;
    EXPECT_EQ(initOutput(forort), kFactory + loading("data/Forort/grafiti.pcx"));

    HusetPart huset;
    EXPECT_EQ(initOutput(huset), kFactory + loading("data/Huset/before.pcx") + loading("data/Huset/jag.pcx") +
                                     loading("data/Huset/pil.pcx") + loading("data/pow/pow.pcx"));
    EXPECT_EQ(huset.arrow->width, 40);
    // Read-only pictures are decoded once; every part still names them as it loads.
    EXPECT_EQ(huset.powPicture, grymt.powPicture);
    GrymtPart secondGrymt;
    EXPECT_EQ(initOutput(secondGrymt), kFactory + loading("data/Grymt/grymt512100.pcx") +
                                           loading("data/Grymt/flow512100.pcx") + loading("data/pow/pow.pcx"));
    EXPECT_EQ(secondGrymt.upperStrip, grymt.upperStrip);
    EXPECT_EQ(secondGrymt.lowerStrip, grymt.lowerStrip);
    EXPECT_NE(grymt.upperStrip, grymt.lowerStrip);

    SlutPart slut;
    EXPECT_EQ(initOutput(slut), kFactory + loading("data/Slut/slut.pcx"));
    EXPECT_EQ(slut.scroller->height, 1536);
}

TEST(PartInit, EffectPartsLoadPlatesThenTextures) {
    CredsPart creds;
    EXPECT_EQ(initOutput(creds), kFactory + loading("data/Creds/code.pcx") + loading("data/Creds/grafik.pcx") +
                                     loading("data/Creds/musik.pcx") + loading("data/Creds/plomek.pcx") + kFactory +
                                     loading("data/creds/tunnel1.pcx"));
    EXPECT_EQ(creds.musicPlate->height, 160);
    EXPECT_EQ(creds.tunnel->tableWidth * creds.tunnel->tableHeight, 512 * 384);

    FetdelPart fetdel;
    EXPECT_EQ(initOutput(fetdel),
              kFactory + loading("data/fetdel/bilden.pcx") + kFactory + loading("data/fetdel/bilden2.pcx"));

    GreetsPart greets;
    std::string expected = kFactory + loading("data/Greets/crest1.pcx") + loading("data/pow/pow.pcx");
    for (int i = 1; i <= 5; ++i) expected += loading(("data/Greets/namn" + std::to_string(i) + ".pcx").c_str());
    EXPECT_EQ(initOutput(greets), expected);
    for (int i = 0; i < GreetsPart::kPlateCount; ++i) {
        EXPECT_EQ(greets.filters[i]->source, greets.plates[i]);
        EXPECT_EQ(greets.filters[i]->strength, 20);
    }
    EXPECT_EQ(greets.scratch->pixels[100 * 30 - 1], 0u);
}
