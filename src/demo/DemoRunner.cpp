#include "demo/DemoRunner.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "assets/FontSheet.h"
#include "audio/MusicPlayer.h"
#include "core/Bitmap.h"
#include "core/Units.h"
#include "demo/Demo.h"
#include "demo/DemoPart.h"
#include "demo/PerfTimer.h"
#include "demo/SyncEvent.h"
#include "display/DisplayDriver.h"

DemoRunner::DemoRunner(DisplayDriver* display, MusicPlayer* music, Clock& clock)
    : display(display), music(music), font(new FontSheet()), clock(clock) {
    font->glyphSize = 8;
    font->firstCode = 31;
    font->loadSheet("data\\gurkan2.pcx");
}

DemoRunner::~DemoRunner() { delete font; }

void DemoRunner::run(Demo* demo, const char* musicFile, const char* syncFile) {
    begin(demo, musicFile, syncFile);
    while (!display->keyPressed()) playFrame();
    finish();
}

void DemoRunner::begin(Demo* demo, const char* musicFile, const char* syncFile) {
    music->load(musicFile);
    this->demo = demo;
    display->open(demo->width, demo->height, demo->windowed != 0, demo->bitsPerPixel);
    randomBeforeInit.assign(static_cast<size_t>(demo->partCount), LibcRandom());
    demo->initParts(display->frame(), randomBeforeInit.data());
    demo->createTimer(clock);
    timer = demo->timer;
    setDefaultWindows();
    script.setDemo(demo);
    script.load(syncFile);
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

FrameReport DemoRunner::playFrame() {
    currentSeconds = timer->elapsed();
    uint32_t musicPosition = music->position();
    FrameReport report;
    report.time = currentSeconds;
    // A Demo without parts has nothing to draw or to tell; the frame is still shown.
    if (demo->partCount > 0) {
        report.eventPart = current;
        report.event = deliverDueEvent(musicPosition);
        if (report.event >= 0) report.eventName = script.events[report.event]->name;
        else report.eventPart = -1;
        current = partAt(currentSeconds);
        report.part = current;
        report.drawSeconds = drawPart(current);
    }
    display->present();
    return report;
}

double DemoRunner::drawPart(int32_t part) {
    const auto before = std::chrono::steady_clock::now();
    demo->parts[part]->draw(display->frame(), demo->renderDriver, currentSeconds);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
}

int32_t DemoRunner::deliverDueEvent(uint32_t musicPosition) {
    if (next >= script.eventCount) return -1;
    SyncEvent* event = script.events[next];
    if (static_cast<int32_t>(musicPosition) < event->time) return -1;
    demo->parts[current]->onEvent(event);
    return next++;
}

void DemoRunner::skipEventsBefore(uint32_t musicPosition) {
    while (next < script.eventCount && script.events[next]->time < static_cast<int32_t>(musicPosition)) next++;
}

int64_t DemoRunner::restart(int64_t ms) {
    if (ms < 0) ms = 0;
    // A stream stops at its end and a module at its last row; the time goes on either way,
    // so that the show stays where the front end asked to be.
    const uint32_t bytes = units::musicBytesAt(ms);
    if (music->position() != bytes) music->setPosition(bytes);
    timer->markAt(ms);
    resetShowAt(ms);
    return ms;
}

void DemoRunner::resetShowAt(int64_t ms) {
    currentSeconds = static_cast<float>(static_cast<double>(ms) / units::kMsPerSecond);
    next = 0;
    skipEventsBefore(units::musicBytesAt(ms));
    for (int32_t i = 0; i < demo->partCount; i++) demo->parts[i]->rewind();
}

void DemoRunner::reloadSyncScript(const char* syncFile) {
    script.clear();
    setDefaultWindows();
    script.load(syncFile);
    next = 0;
    skipEventsBefore(units::musicBytesAt(std::llround(static_cast<double>(currentSeconds) * units::kMsPerSecond)));
}

void DemoRunner::reloadSyncScript(const uint8_t* data, size_t size) {
    script.clear();
    setDefaultWindows();
    script.parse(data, size);
    next = 0;
    skipEventsBefore(units::musicBytesAt(std::llround(static_cast<double>(currentSeconds) * units::kMsPerSecond)));
}

void DemoRunner::initPart(int32_t index, DemoPart* part) {
    LibcRandom& random = demoRandom();
    const LibcRandom during = random;
    random = randomBeforeInit[static_cast<size_t>(index)];
    part->owner = demo;
    part->init(display->frame(), demo->renderDriver);
    random = during;
}

DemoPart* DemoRunner::replacePart(int32_t index, DemoPart* part) {
    if (index < 0 || index >= demo->partCount || !part) return nullptr;
    DemoPart* old = demo->parts[index];
    initPart(index, part);
    part->start = old->start;
    part->end = old->end;
    demo->parts[index] = part;
    resetShowAt(std::llround(static_cast<double>(currentSeconds) * units::kMsPerSecond));
    return old;
}

void DemoRunner::reinitPart(int32_t index) {
    if (index < 0 || index >= demo->partCount) return;
    initPart(index, demo->parts[index]);
    resetShowAt(std::llround(static_cast<double>(currentSeconds) * units::kMsPerSecond));
}

int32_t DemoRunner::partCount() const { return demo ? demo->partCount : 0; }

std::string DemoRunner::partName(int32_t index) const { return partClassName(*demo->parts[index]); }

PartWindow DemoRunner::window(int32_t index) const { return {demo->parts[index]->start, demo->parts[index]->end}; }

int32_t DemoRunner::partAt(float time) const {
    for (int32_t i = 0; i < demo->partCount; i++)
        if (demo->parts[i]->start <= time && time <= demo->parts[i]->end) return i;
    return 0;
}

EventInfo DemoRunner::event(int32_t index) const {
    const SyncEvent* event = script.events[index];
    return {index, event->name, event->time, units::msAtMusicBytes(event->time)};
}

std::vector<EventInfo> DemoRunner::eventsBetween(int64_t fromMs, int64_t toMs) const {
    std::vector<EventInfo> found;
    for (int32_t i = 0; i < script.eventCount; i++) {
        const int32_t position = script.events[i]->time;
        // From the start on, the events at or before position 0 (due at the first frame) count.
        if ((fromMs <= 0 || position >= static_cast<int64_t>(units::musicBytesAt(fromMs))) &&
            position < static_cast<int64_t>(units::musicBytesAt(toMs)))
            found.push_back(event(i));
    }
    return found;
}
