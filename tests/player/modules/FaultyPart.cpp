// A stand-in for the house part whose draw goes wrong on purpose, for the live-code tests.
// FAULTY_DRAW picks how: 1 a null-pointer write, 2 a loop that never ends, 3 abort() from
// the eighth draw of an object on (past what a trial draws).
#include <cstdlib>

#include "core/Bitmap.h"
#include "demo/DemoPart.h"

namespace {

class FaultyPart : public DemoPart {
public:
    void init(Bitmap*, NewRenderDriver*) override {}
    void draw(Bitmap* target, NewRenderDriver*, float) override {
        ++draws;
#if FAULTY_DRAW == 1
        *static_cast<volatile int*>(nullptr) = draws;
#elif FAULTY_DRAW == 2
        for (volatile int spin = 0;; spin = spin + 1) {
        }
#else
        if (draws >= 8) std::abort();
#endif
        target->pixels[0] = 0x123456;
    }
    int32_t onEvent(const SyncEvent*) override { return 0; }
    void notify(int32_t) override {}

private:
    int draws = 0;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) DemoPart* livePartMaker() { return new FaultyPart(); }
extern "C" __attribute__((visibility("default"))) const char* livePartClass() { return "HusetPart"; }
