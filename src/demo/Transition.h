#pragma once
#include <cstdint>

class Bitmap;
class Demo;
class DemoPart;
class NewRenderDriver;

// Mixes the pictures of parts into a target over a short time. Each kind reads only the
// arguments it needs; the others are carried for the common call shape.
// Kept for fidelity: the demo makes a default fade-in and one cross-fade (parts/Timeline.cpp),
// but the loop never inits or draws a transition.
class Transition {
public:
    float start = 0.0f;
    float end = 0.0f;
    float duration = 1.0f;
    Demo* owner = nullptr;
    Bitmap* firstBuffer = nullptr;    // frame-sized, made by init
    Bitmap* secondBuffer = nullptr;   // frame-sized, made by init

    Transition() = default;
    Transition(const Transition&) = delete;
    Transition& operator=(const Transition&) = delete;

    // init(start, end, value, part, driver, size); the base does nothing.
    virtual void init(float, float, int32_t, DemoPart*, NewRenderDriver*, Bitmap*) {}
    // draw(first part, second part, time, driver, target); the base does nothing.
    virtual void draw(DemoPart*, DemoPart*, float, NewRenderDriver*, Bitmap*) {}
    // Frees the buffers made by init. The program never destroys a transition.
    virtual ~Transition();

protected:
    // Makes both buffers with the size bitmap's width and height.
    void makeBuffers(const Bitmap* size);
};

// Blends the outgoing part into the incoming one during the `duration` seconds before
// the incoming part's start.
class CrossfadeTransition : public Transition {
public:
    // Draws `part` into the second buffer at time `end`.
    void init(float start, float end, int32_t unused, DemoPart* part, NewRenderDriver* driver,
              Bitmap* size) override;
    // first: outgoing part, second: incoming part.
    void draw(DemoPart* outgoing, DemoPart* incoming, float time, NewRenderDriver* driver,
              Bitmap* target) override;

    // 0 at `duration` before the incoming start, 254 at it; not clamped.
    int32_t alphaAt(float time, const DemoPart* incoming) const;
};

// Fades one part in from black between `start` and `end`.
class FadeInTransition : public Transition {
public:
    // Clears the second buffer to black.
    void init(float start, float end, int32_t unused, DemoPart* unusedPart,
              NewRenderDriver* unusedDriver, Bitmap* size) override;
    // Draws `part`; the second part is not used.
    void draw(DemoPart* part, DemoPart* unused, float time, NewRenderDriver* driver,
              Bitmap* target) override;

    // 0 at start, 254 at end; not clamped.
    int32_t alphaAt(float time) const;
};
