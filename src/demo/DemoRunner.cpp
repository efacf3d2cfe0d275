#include "demo/DemoRunner.h"

#include <chrono>
#include <cstdio>

#include "assets/FontSheet.h"
#include "audio/MusicPlayer.h"
#include "core/Bitmap.h"
#include "demo/Demo.h"
#include "demo/DemoPart.h"
#include "demo/PerfTimer.h"
#include "demo/SyncEvent.h"
#include "display/DisplayDriver.h"

DemoRunner::DemoRunner(DisplayDriver* display, MusicPlayer* music, Clock& clock)
    : display(display), music(music), fontSheet(new FontSheet()), clock(clock) {
    fontSheet->glyphSize = 8;
    fontSheet->firstCode = 31;
    fontSheet->loadSheet("data\\gurkan2.pcx");
}

DemoRunner::~DemoRunner() { delete fontSheet; }

void DemoRunner::run(Demo* demo, const char* musicFile, const char* syncFile) {
    begin(demo, musicFile, syncFile);
    while (!display->keyPressed()) playFrame();
    finish();
}

void DemoRunner::begin(Demo* demo, const char* musicFile, const char* syncFile) {
    music->load(musicFile);
    this->demo = demo;
    renderDriver = demo->renderDriver;
    display->open(demo->width, demo->height, demo->windowed != 0, demo->bitsPerPixel);
    demo->initParts(display->frame());
    demo->createTimer(clock);
    timer = demo->timer;
    setDefaultWindows();
    syncScript.setDemo(demo);
    syncScript.load(syncFile);
    std::printf("loaded actions \n");
    music->play();
}

void DemoRunner::finish() {
    music->stop();
    music->free();
}

void DemoRunner::setDefaultWindows() {
    for (int32_t i = 0; i < demo->partCount; i++) {
        demo->parts[i]->start = i == 0 ? 0.0f : 1000.0f;
        demo->parts[i]->end = i == 0 ? 1000.0f : 2000.0f;
    }
}

void DemoRunner::playFrame() {
    currentTime = timer->elapsed();
    uint32_t musicPosition = music->position();
    // A Demo without parts has nothing to draw or to tell; the frame is still shown.
    if (demo->partCount > 0) {
        deliverDueEvent(musicPosition);
        currentPart = selectPart(currentTime);
        drawPart(currentPart);
    }
    display->present();
}

void DemoRunner::drawPart(int32_t part) {
    DemoPart* drawn = demo->parts[part];
    if (!drawObserver) {
        drawn->draw(display->frame(), renderDriver, currentTime);
        return;
    }
    const auto before = std::chrono::steady_clock::now();
    drawn->draw(display->frame(), renderDriver, currentTime);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - before;
    drawObserver->partDrawn(part, currentTime, took.count());
}

void DemoRunner::deliverDueEvent(uint32_t musicPosition) {
    if (nextEvent >= syncScript.eventCount) return;
    SyncEvent* event = syncScript.events[nextEvent];
    if (static_cast<int32_t>(musicPosition) >= event->time) {
        demo->parts[currentPart]->onEvent(event);
        nextEvent++;
    }
}

void DemoRunner::skipEventsBefore(uint32_t musicPosition) {
    while (nextEvent < syncScript.eventCount &&
           syncScript.events[nextEvent]->time < static_cast<int32_t>(musicPosition))
        nextEvent++;
}

void DemoRunner::seekEvents(uint32_t musicPosition) {
    nextEvent = 0;
    skipEventsBefore(musicPosition);
}

void DemoRunner::reloadSyncScript(const char* syncFile) {
    syncScript.clear();
    setDefaultWindows();
    syncScript.load(syncFile);
}

void DemoRunner::reloadSyncScript(const uint8_t* data, size_t size) {
    syncScript.clear();
    setDefaultWindows();
    syncScript.parse(data, size);
}

int32_t DemoRunner::selectPart(float time) const {
    for (int32_t i = 0; i < demo->partCount; i++)
        if (demo->parts[i]->start <= time && time <= demo->parts[i]->end) return i;
    return 0;
}
