#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/LibcRandom.h"
#include "demo/SyncScript.h"

class Bitmap;
class Clock;
class Demo;
class DemoPart;
class DisplayDriver;
class MusicPlayer;
class PerfTimer;
class FontSheet;

// What one frame of the show did.
struct FrameReport {
    int32_t part = 0;              // index of the part drawn
    float time = 0.0f;             // the run time it was drawn for, seconds
    int32_t event = -1;            // index of the sync event delivered this frame; -1: none
    const char* eventName = nullptr;   // its name (valid until the script is read again)
    int32_t eventPart = -1;        // the part it went to: the one drawn the frame before
    double drawSeconds = 0.0;      // wall time of the part's draw call
};

// A part's time window, seconds of the run timer.
struct PartWindow {
    float start = 0.0f;
    float end = 0.0f;
};

// A sync event as the queries hand it out.
struct EventInfo {
    int32_t index = 0;
    const char* name = nullptr;   // valid until the script is read again
    int32_t position = 0;         // music bytes
    int64_t ms = 0;               // the run time the music reaches it, whole milliseconds
};

// The show session: plays a Demo. Loads the music, opens the display, initialises the
// parts, reads the sync script and draws one part a frame; parts are chosen by the run
// timer on the caller's clock, sync events fire by the music position. A front end either
// calls run (what the demo does), or steps begin, playFrame as often as it likes and
// finish, and may restart at any time in between. Meant for one run.
class DemoRunner {
public:
    // Loads the font sheet from "data\gurkan2.pcx". The clock drives the run timer; it, the
    // display and the music are not owned and must outlive the runner.
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
    FrameReport playFrame();
    // Stops the music and releases the audio library.
    void finish();

    // Goes to a run time as a run that starts there would be: the sync events before it
    // count as consumed and the later ones are due, the music moves there, every part puts
    // back what it carries from frame to frame, and the run timer reads `ms` from now on.
    // A front end that sets its own clock to the show time sets it first: the timer is then
    // left as it is. Past the end of the music the time is kept (the show holds its last
    // part as after playing through) and the music goes to its end. Returns the time, at
    // least 0. The next playFrame draws it.
    int64_t restart(int64_t ms);
    // Reads the sync script afresh in place of the current one: default windows, then the
    // file's; the events before the current run time count as consumed.
    void reloadSyncScript(const char* syncFile);
    // The same for a script held in memory (`size` bytes at `data`).
    void reloadSyncScript(const uint8_t* data, size_t size);

    // Puts another part object in the place of part `index` (for code loaded anew): the
    // runner inits it on the frame and render driver the others got, with the random
    // sequence as the first init of that place saw it, gives it the old one's window, and
    // the show goes on from the current time as after a restart, the music where it is.
    // Returns the old part, which the caller frees; null for an index out of range.
    DemoPart* replacePart(int32_t index, DemoPart* part);
    // Inits part `index` again (its files were made anew), likewise.
    void reinitPart(int32_t index);

    // Pure queries, for status lines and timelines.
    int32_t partCount() const;
    std::string partName(int32_t index) const;   // the class name: "KebabPart"
    PartWindow window(int32_t index) const;
    // The part drawn at a run time: the first whose window holds it, part 0 when none does.
    int32_t partAt(float time) const;
    int32_t currentPart() const { return current; }
    float currentTime() const { return currentSeconds; }
    int32_t eventCount() const { return script.eventCount; }
    EventInfo event(int32_t index) const;
    // The event to be delivered next; eventCount() when all are consumed.
    int32_t nextEvent() const { return next; }
    // The events the music reaches in [fromMs, toMs), in order.
    std::vector<EventInfo> eventsBetween(int64_t fromMs, int64_t toMs) const;
    int32_t changeCount() const { return script.changeCount; }
    float change(int32_t index) const { return script.changes[index]; }
    const FontSheet& fontSheet() const { return *font; }

private:
    void setDefaultWindows();
    // Consumes, without delivering them, the events the music reaches before a position.
    void skipEventsBefore(uint32_t musicPosition);
    // Delivers the next event when the music has reached it, to the part of the
    // previous frame; at most one a frame. Returns its index, or -1.
    int32_t deliverDueEvent(uint32_t musicPosition);
    double drawPart(int32_t part);
    // The parts' carried state and the events as a run starting at `ms` has them.
    void resetShowAt(int64_t ms);
    void initPart(int32_t index, DemoPart* part);

    DisplayDriver* display;
    MusicPlayer* music;
    FontSheet* font;   // loaded by the constructor; the loop does not draw with it
    Clock& clock;

    Demo* demo = nullptr;
    PerfTimer* timer = nullptr;
    SyncScript script;
    float currentSeconds = 0.0f;
    int32_t next = 0;
    int32_t current = 0;
    // The random sequence as each part's first init found it, by part index.
    std::vector<LibcRandom> randomBeforeInit;
};
