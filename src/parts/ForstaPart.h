#pragma once
#include "demo/DemoPart.h"

// The title: faded in from black over five seconds, held, faded out from 15 to 20 s.
class ForstaPart : public DemoPart {
public:
    Bitmap* title = nullptr;
    Bitmap* black = nullptr;
    Bitmap* frame = nullptr;   // the frame it was inited on, which it leaves as it is between the fades

    void init(Bitmap* frame, NewRenderDriver* driver) override;
    void draw(Bitmap* target, NewRenderDriver* driver, float time) override;
    int32_t onEvent(const SyncEvent* event) override { return ignoreEvent(event); }
    void notify(int32_t value) override { ignoreNotify(value); }
    // Between the fades the frame keeps what was drawn before: black, as the display's
    // surface starts.
    void rewind() override;

    enum class Fade { None, In, Out };
    struct FadeStep {
        Fade fade;
        int32_t alpha;  // weight of the picture that fades in
    };
    // What the frame shows at local time t.
    static FadeStep fadeAt(float t);
};
