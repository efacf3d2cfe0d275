#include "program/DemoProgram.h"

#include <vector>

#include "core/Bitmap.h"
#include "core/LibcRandom.h"
#include "demo/Demo.h"
#include "demo/DemoRunner.h"
#include "parts/Timeline.h"
#include "raster/RenderDriver.h"

namespace {

// The objects that live until the process ends, kept reachable for leak checkers.
struct LongLivedObjects {
    NewRenderDriver* renderDriver;
    Demo* demo;
    DemoRunner* runner;
};
std::vector<LongLivedObjects>* const longLived = new std::vector<LongLivedObjects>();

}  // namespace

DemoProgram::DemoProgram(DisplayDriver* display, MusicPlayer* music, Clock& clock) {
    demoRandom().reseed(1);

    frameSize = new Bitmap();
    frameSize->width = 512;
    frameSize->height = 384;
    renderDriver = new NewRenderDriver(frameSize);
    demoObject = new Demo(512, 384, 32, 0, renderDriver);
    addTimeline(demoObject);
    runnerObject = new DemoRunner(display, music, clock);
    longLived->push_back({renderDriver, demoObject, runnerObject});
}

void DemoProgram::begin() { runnerObject->begin(demoObject, kMusicFile, kSyncFile); }

void DemoProgram::finish() {
    runnerObject->finish();
    releaseFrameSize();
}

void DemoProgram::run() {
    runnerObject->run(demoObject, kMusicFile, kSyncFile);
    releaseFrameSize();
}

void DemoProgram::releaseFrameSize() {
    // Holds no pixels: only its message is left to print.
    delete frameSize;
    frameSize = nullptr;
}

void runDemoProgram(DisplayDriver* display, MusicPlayer* music, Clock& clock) {
    DemoProgram program(display, music, clock);
    program.run();
}
