#pragma once
#include <cstdint>

#include "demo/SyncScript.h"

class Demo;
class DisplayDriver;
class MusicPlayer;
class NewRenderDriver;
class PerfTimer;
class FontSheet;

// Plays a Demo: loads the music, opens the display, initialises the parts, reads the
// sync script and draws one part a frame until a key is pressed. Parts are chosen by the
// run timer; sync events fire by the music position. Meant for one run.
class DemoRunner {
public:
    DisplayDriver* display;
    MusicPlayer* music;
    FontSheet* fontSheet;   // loaded by the constructor; the loop does not draw with it

    // Loads the font sheet from "data\gurkan2.pcx".
    DemoRunner(DisplayDriver* display, MusicPlayer* music);
    // Frees the font sheet. The program keeps its runner until the process ends.
    ~DemoRunner();
    DemoRunner(const DemoRunner&) = delete;
    DemoRunner& operator=(const DemoRunner&) = delete;

    // Returns after a key press, with the music stopped and the audio library released.
    void run(Demo* demo, const char* musicFile, const char* syncFile);

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
    void playFrame();
    // Delivers the next event when the music has reached it, to the part of the
    // previous frame; at most one a frame.
    void deliverDueEvent(uint32_t musicPosition);
    // The first part whose window holds time; part 0 when none does.
    int32_t selectPart(float time) const;
};
