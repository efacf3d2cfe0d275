#pragma once
#include <cstdint>
#include <string>

class Bitmap;
class Demo;
class NewRenderDriver;
struct SyncEvent;

// One effect of the timeline. Constructing a part does no work; it loads everything in
// init. draw receives the absolute run time in seconds.
class DemoPart {
public:
    float start = 0.0f;   // window start, seconds of the run timer
    float end = 0.0f;     // window end
    Demo* owner = nullptr;

    virtual void init(Bitmap* frame, NewRenderDriver* driver) = 0;
    virtual void draw(Bitmap* target, NewRenderDriver* driver, float time) = 0;
    // Parts that do not react to events use ignoreEvent; the result is not looked at.
    virtual int32_t onEvent(const SyncEvent* event) = 0;
    virtual void notify(int32_t value) = 0;
    // The show restarts at another time (a front end's seek, a part replaced; the demo
    // itself never does): a part that carries state from frame to frame (a flash, a filter
    // set for the next frame, the frame it leaves as it is, the random numbers it draws)
    // puts back what a run's first frame finds, so that it draws what a run starting at
    // the new time draws. Called for every part, after all of them are inited.
    virtual void rewind() {}
    virtual ~DemoPart() = default;

protected:
    // The shared empty operations that parts use for onEvent and notify.
    static int32_t ignoreEvent(const SyncEvent*) { return 0; }
    static void ignoreNotify(int32_t) {}
};

// The part's class name, as the front ends show it ("KebabPart").
std::string partClassName(const DemoPart& part);

// Case-insensitive comparison of an event's name with "POWPOW"; 0 on a match.
int32_t comparePowPow(const SyncEvent* event);
