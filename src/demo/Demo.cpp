#include "demo/Demo.h"

#include <cstdio>

#include "core/LibcRandom.h"
#include "demo/DemoPart.h"
#include "demo/PerfTimer.h"
#include "demo/Transition.h"

Demo::Demo(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t windowed,
           NewRenderDriver* renderDriver)
    : width(width),
      height(height),
      windowed(windowed),
      bitsPerPixel(bitsPerPixel),
      parts(new DemoPart*[kMaxParts]()),
      transitions(new Transition*[kMaxTransitions]()),
      defaultTransition(new FadeInTransition()),
      renderDriver(renderDriver) {}

Demo::~Demo() {
    delete[] parts;
    delete[] transitions;
    delete defaultTransition;
    delete timer;
}

void Demo::addPart(DemoPart* part) {
    if (partCount >= kMaxParts) return;
    parts[partCount++] = part;
    part->owner = this;
}

void Demo::addTransition(Transition* transition) {
    if (transitionCount >= kMaxTransitions) return;
    transitions[transitionCount++] = transition;
    transition->owner = this;
}

void Demo::initParts(Bitmap* frame, LibcRandom* randomBefore) {
    std::printf("nu e jag h\xE4r 1 \n");
    std::printf("jag e h\xE4r for fuckes sake \n");
    for (int32_t i = 0; i < partCount; i++) {
        std::printf("jag e h\xE4r for fuckes sake \n");
        if (randomBefore) randomBefore[i] = demoRandom();
        parts[i]->init(frame, renderDriver);
    }
    std::printf("inited all parts \n");
    std::printf("inited all \n");
}

void Demo::createTimer(Clock& clock) {
    delete timer;
    timer = new PerfTimer(clock);
}
