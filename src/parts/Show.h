#pragma once
#include <initializer_list>

// The show in one record: every part in play order, one row each. The timeline makes the
// parts from it; the data generator lays out the music and makes the pictures from it; the
// tests take their expectations from it. When parts begin and where they flash is the show's
// sync script's (show/synkTest.snc, read by parts/ShowTiming.h). It includes nothing of the
// system, so the generator can read it without depending on the parts.
//
// SHOW_PARTS(ROW, DATA) calls ROW(Class, label, section, files) for each part:
//   Class    the part's class; its file defines `DemoPart* newClass()` (declared in Timeline.h)
//   label    its name for people (the sync script's change label)
//   section  what the music plays from the part's start on (a section of the generator's song)
//   files    (DATA(path, width, height, maker), ...): what its init loads, at the size it loads
//            it, under the name the stage folder holds it (letter case of data files does not
//            matter to the loaders), and the generator's function that makes it
// The three strips parts load the same files. They share one flash state, so a flash late in
// one would light the next one from its start until its own first flash: each strips part
// gets one flash in the script, a beat in.
#define SHOW_PARTS(ROW, DATA)                                                                          \
    ROW(ForstaPart, "title", Intro, (DATA("data/Forsta/titel.pcx", 512, 384, makeTitle)))              \
    ROW(GrymtPart, "strips", Entry, SHOW_STRIPS_FILES(DATA))                                           \
    ROW(FetdelPart, "rotozoom", Groove,                                                                \
        (DATA("data/fetdel/bilden.pcx", 256, 256, makeRingTile),                                       \
         DATA("data/fetdel/bilden2.pcx", 256, 256, makePlasmaTile)))                                   \
    ROW(ForortPart, "graffiti", Breakbeat, (DATA("data/Forort/grafiti.pcx", 512, 384, makeGraffiti)))  \
    ROW(GrymtPart, "strips", Build, SHOW_STRIPS_FILES(DATA))                                           \
    ROW(KebabPart, "kebab", Drop,                                                                      \
        (DATA("data/kebab/kebab.pcx", 512, 384, makeKebabBackdrop),                                    \
         DATA("data/pow/pow.pcx", 512, 384, makePow),                                                  \
         DATA("data/kebab/bump.jpg", 256, 256, makeBumpHeights),                                       \
         DATA("data/kebab/kebab2.lwo", 0, 0, buildKebabModel),                                         \
         DATA("data/kebab/envmap.jpg", 256, 256, makeEnvironment)))                                    \
    ROW(HusetPart, "house", HalfTime,                                                                  \
        (DATA("data/Huset/before.pcx", 512, 384, makeHouse), DATA("data/Huset/jag.pcx", 100, 30, makeMeLabel), \
         DATA("data/Huset/pil.pcx", 40, 40, makeArrow), DATA("data/pow/pow.pcx", 512, 384, makePow)))  \
    ROW(GrymtPart, "strips", Build, SHOW_STRIPS_FILES(DATA))                                           \
    ROW(CredsPart, "credits", Groove,                                                                  \
        (DATA("data/Creds/code.pcx", 512, 80, makeCodePlate),                                          \
         DATA("data/Creds/grafik.pcx", 512, 80, makeGraphicsPlate),                                    \
         DATA("data/Creds/musik.pcx", 512, 160, makeMusicPlate),                                       \
         DATA("data/Creds/plomek.pcx", 256, 256, makeEmblem),                                          \
         DATA("data/Creds/tunnel1.pcx", 256, 256, makeTunnelTile)))                                    \
    ROW(GreetsPart, "greets", Anthem,                                                                  \
        (DATA("data/Greets/crest1.pcx", 512, 384, makeGreetingsBackdrop),                              \
         DATA("data/pow/pow.pcx", 512, 384, makePow),                                                  \
         DATA("data/Greets/namn1.pcx", 100, 30, makeGreetPlate<1>),                                    \
         DATA("data/Greets/namn2.pcx", 100, 30, makeGreetPlate<2>),                                    \
         DATA("data/Greets/namn3.pcx", 100, 30, makeGreetPlate<3>),                                    \
         DATA("data/Greets/namn4.pcx", 100, 30, makeGreetPlate<4>),                                    \
         DATA("data/Greets/namn5.pcx", 100, 30, makeGreetPlate<5>)))                                   \
    ROW(SlutPart, "end scroller", Outro, (DATA("data/Slut/slut.pcx", 512, 1536, makeEndScroller)))

// What every strips part loads.
#define SHOW_STRIPS_FILES(DATA)                                                                        \
    (DATA("data/Grymt/grymt512100.pcx", 512, 100, makeGrymtStrip),                                     \
     DATA("data/Grymt/flow512100.pcx", 512, 100, makeFlowStrip), DATA("data/pow/pow.pcx", 512, 384, makePow))

// Removes the parentheses around a row's list.
#define SHOW_LIST(...) __VA_ARGS__
// A DATA for expansions that do not look at the files.
#define SHOW_SKIP(...)

// The rows as plain data, for whoever needs no class, section or maker.
namespace show {

struct DataFile {
    const char* path;
    int width, height;   // 0 x 0 for what is not a picture
};

struct Part {
    const char* className;
    const char* label;
    std::initializer_list<DataFile> files;
};

#define SHOW_DATA_FILE(path, width, height, maker) DataFile{path, width, height}
// Plain braces, not Part{...}: only lists that initialise the array's elements directly live
// as long as the array; through a Part temporary their backing arrays may end with the full
// expression (clang ends them, leaving the rows pointing at dead storage).
#define SHOW_PART_RECORD(Class, label, section, files) {#Class, label, {SHOW_LIST files}},
// const rather than constexpr: clang (the fuzzers', emscripten's) does not accept pointers
// into the lists' backing arrays as constant expressions.
inline const Part kParts[] = {SHOW_PARTS(SHOW_PART_RECORD, SHOW_DATA_FILE)};
#undef SHOW_PART_RECORD
#undef SHOW_DATA_FILE

inline constexpr int kPartCount = static_cast<int>(sizeof kParts / sizeof kParts[0]);

// The tune's tempo in 4/4, which the flashes and the part changes fall on.
inline constexpr double kBeatsPerMinute = 120.0;
inline constexpr int kBeatsPerBar = 4;

}  // namespace show
