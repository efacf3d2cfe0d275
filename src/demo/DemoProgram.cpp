#include "demo/DemoProgram.h"

#include "core/Bitmap.h"
#include "demo/Demo.h"
#include "demo/DemoRunner.h"
#include "demo/PerfTimer.h"
#include "parts/Timeline.h"
#include "raster/RenderDriver.h"

namespace {

// The objects that live until the process ends, kept reachable for leak checkers.
struct LongLivedObjects {
    NewRenderDriver* renderDriver = nullptr;
    Demo* demo = nullptr;
    DemoRunner* runner = nullptr;
};
LongLivedObjects longLived;

}  // namespace

DemoRunner* demoProgramRunner() { return longLived.runner; }

void runDemoProgram(DisplayDriver* display, MusicPlayer* music, Clock* clock) {
    setPerfClock(clock);

    Bitmap* frameSize = new Bitmap();
    frameSize->width = 512;
    frameSize->height = 384;
    longLived.renderDriver = new NewRenderDriver(frameSize);
    longLived.demo = new Demo(512, 384, 32, 0, longLived.renderDriver);
    addTimeline(longLived.demo);
    longLived.runner = new DemoRunner(display, music);

    longLived.runner->run(longLived.demo, "data/musik.mp3", "synkTest.snc");

    // Holds no pixels: only its message is left to print.
    delete frameSize;
}
