#pragma once
#include <cstdint>

class Bitmap;
class Clock;
class LibcRandom;
class DemoPart;
class NewRenderDriver;
class PerfTimer;
class Transition;

// The timeline: frame parameters, the parts in play order, the transitions, the render
// driver the parts share and the run timer. Holds its parts without owning them.
class Demo {
public:
    static constexpr int32_t kMaxParts = 16;
    static constexpr int32_t kMaxTransitions = 15;

    int32_t width;
    int32_t height;
    int32_t windowed;      // nonzero asks the display for a window
    int32_t bitsPerPixel;
    DemoPart** parts;
    Transition** transitions;
    Transition* defaultTransition;
    int32_t partCount = 0;
    int32_t transitionCount = 0;
    PerfTimer* timer = nullptr;   // valid after createTimer
    NewRenderDriver* renderDriver;

    Demo(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t windowed,
         NewRenderDriver* renderDriver);
    // Frees the lists, the default transition and the timer; parts and added
    // transitions belong to whoever made them.
    ~Demo();
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    // Appends a part; the 17th and later are dropped silently.
    void addPart(DemoPart* part);
    // Appends a transition; the 16th and later are dropped silently.
    void addTransition(Transition* transition);
    // Calls every part's init, in list order, with the frame and the render driver. With
    // `randomBefore` (partCount entries), records the random sequence each init found.
    void initParts(Bitmap* frame, LibcRandom* randomBefore = nullptr);
    // Makes the run timer on the given clock; run time zero is now.
    void createTimer(Clock& clock);
};
