#pragma once
#include <cstdint>

#include "demo/SyncScript.h"

class Clock;
class Demo;
class DisplayDriver;
class MusicPlayer;
class NewRenderDriver;
class PerfTimer;
class FontSheet;

// Told after every draw of the frame loop: which part drew, for which run time, and how
// long its draw call took on the wall clock.
class DrawObserver {
public:
    virtual void partDrawn(int32_t part, float time, double drawSeconds) = 0;
    virtual ~DrawObserver() = default;
};

// Plays a Demo: loads the music, opens the display, initialises the parts, reads the
// sync script and draws one part a frame. Parts are chosen by the run timer on the
// caller's clock; sync events fire by the music position. A front end either calls run,
// or steps begin, playFrame as often as it likes, then finish. Meant for one run.
class DemoRunner {
public:
    DisplayDriver* display;
    MusicPlayer* music;
    FontSheet* fontSheet;   // loaded by the constructor; the loop does not draw with it

    // Loads the font sheet from "data\gurkan2.pcx". The clock drives the run timer; it is
    // not owned and must outlive the runner.
    DemoRunner(DisplayDriver* display, MusicPlayer* music, Clock& clock);
    // Frees the font sheet. The program keeps its runner until the process ends.
    ~DemoRunner();
    DemoRunner(const DemoRunner&) = delete;
    DemoRunner& operator=(const DemoRunner&) = delete;

    // begin, frames until a key press, finish.
    void run(Demo* demo, const char* musicFile, const char* syncFile);

    // Loads the music, opens the display, initialises the parts, starts the run timer,
    // sets the default windows, reads the sync script and starts the music.
    void begin(Demo* demo, const char* musicFile, const char* syncFile);
    // One frame: reads the timer and the music position, delivers at most one due event,
    // draws the part whose window holds the time and presents it.
    void playFrame();
    // Stops the music and releases the audio library.
    void finish();

    // Consumes, without delivering them, the events whose time lies before the music
    // position: a run that starts part-way then behaves as if it had played up to there.
    void skipEventsBefore(uint32_t musicPosition);

    // Makes the first event at or after the music position the next one: the earlier
    // ones count as consumed, the later ones are due again (after a seek either way).
    void seekEvents(uint32_t musicPosition);
    // Reads the sync script afresh in place of the current one: default windows, then the
    // file's. The next event stays where it was; a seekEvents puts it in place.
    void reloadSyncScript(const char* syncFile);
    // The same for a script held in memory (`size` bytes at `data`).
    void reloadSyncScript(const uint8_t* data, size_t size);

    // Told after every draw; null (the default) measures nothing.
    void setDrawObserver(DrawObserver* observer) { drawObserver = observer; }

    // Run state, zero before the first run and not reset by a run.
    Demo* demo = nullptr;
    PerfTimer* timer = nullptr;
    NewRenderDriver* renderDriver = nullptr;
    float currentTime = 0.0f;
    int32_t nextEvent = 0;
    int32_t currentPart = 0;
    SyncScript syncScript;

private:
    void setDefaultWindows();
    // Delivers the next event when the music has reached it, to the part of the
    // previous frame; at most one a frame.
    void deliverDueEvent(uint32_t musicPosition);
    // The first part whose window holds time; part 0 when none does.
    int32_t selectPart(float time) const;
    void drawPart(int32_t part);

    Clock& clock;
    DrawObserver* drawObserver = nullptr;
};
