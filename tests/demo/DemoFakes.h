#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/MusicPlayer.h"
#include "core/Bitmap.h"
#include "demo/Clock.h"
#include "demo/DemoPart.h"
#include "demo/SyncEvent.h"
#include "display/DisplayDriver.h"

// One log shared by the fakes of a test, so that the order of calls across objects shows.
using CallLog = std::vector<std::string>;

inline std::string formatTime(float time) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", time);
    return text;
}

// A part that records what the framework asks of it.
class RecordingPart : public DemoPart {
public:
    RecordingPart(CallLog* log, std::string name) : log(log), name(std::move(name)) {}

    void init(Bitmap* frame, NewRenderDriver* driver) override {
        initFrame = frame;
        initDriver = driver;
        log->push_back("init " + name);
    }
    void draw(Bitmap* target, NewRenderDriver* driver, float time) override {
        drawTarget = target;
        drawDriver = driver;
        log->push_back("draw " + name + " " + formatTime(time));
        if (fillOnDraw && target->width > 0 && target->height > 0)
            for (int32_t i = 0; i < target->width * target->height; i++) target->pixels[i] = fill;
    }
    int32_t onEvent(const SyncEvent* event) override {
        log->push_back("event " + name + " " + event->name);
        return 0;
    }
    void notify(int32_t) override {}
    void rewind() override { log->push_back("rewind " + name); }

    CallLog* log;
    std::string name;
    Bitmap* initFrame = nullptr;
    NewRenderDriver* initDriver = nullptr;
    Bitmap* drawTarget = nullptr;
    NewRenderDriver* drawDriver = nullptr;
    bool fillOnDraw = false;
    uint32_t fill = 0;
};

// A display with a small memory frame. Each frame is announced by a time (milliseconds
// after the run timer's zero) that the fake sets on the virtual clock when the runner
// asks for a key; once the times are used up, a key is pressed.
class ScriptedDisplay : public DisplayDriver {
public:
    ScriptedDisplay(CallLog* log, VirtualClock* clock, int64_t clockBase, std::vector<int64_t> frameMs)
        : log(log), clock(clock), clockBase(clockBase), frameMs(std::move(frameMs)) {}

    void present() override { log->push_back("present"); presented++; }
    void presentBitmap(const Bitmap*) override {}
    void open(int32_t width, int32_t height, bool windowed, int32_t bitsPerPixel) override {
        log->push_back("open " + std::to_string(width) + "x" + std::to_string(height) +
                       (windowed ? " windowed " : " fullscreen ") + std::to_string(bitsPerPixel));
    }
    void reopen() override {}
    void idle() override {}
    bool keyPressed() override {
        if (presented >= frameMs.size()) return true;
        clock->set(clockBase + frameMs[presented] * 1000000);
        return false;
    }
    KeyState readKey() override { return {}; }
    void close() override {}
    Bitmap* frame() override { return &surface; }

    CallLog* log;
    VirtualClock* clock;
    int64_t clockBase;
    std::vector<int64_t> frameMs;
    size_t presented = 0;
    Bitmap surface{4, 3};
};

// A music player whose position follows a script, one value per query (the last one
// repeats); it plays nothing.
class ScriptedMusic : public MusicPlayer {
public:
    ScriptedMusic(CallLog* log, std::vector<uint32_t> positions)
        : MusicPlayer(nullptr), log(log), positions(std::move(positions)) {}

    bool load(const char* fileName) override {
        log->push_back(std::string("music load ") + fileName);
        return true;
    }
    bool play() override { log->push_back("music play"); return true; }
    bool stop() override { log->push_back("music stop"); return true; }
    bool free() override { log->push_back("music free"); return true; }
    bool setPosition(uint32_t bytes) override {
        log->push_back("music at " + std::to_string(bytes));
        positions = {bytes};
        queries = 0;
        return true;
    }
    uint32_t position() override {
        if (positions.empty()) return 0;
        uint32_t value = positions[queries < positions.size() ? queries : positions.size() - 1];
        queries++;
        return value;
    }

    CallLog* log;
    std::vector<uint32_t> positions;
    size_t queries = 0;
};
