#include "parts/Timeline.h"

#include <cstddef>

#include "demo/Demo.h"
#include "demo/Transition.h"

// The demo drops parts past its capacity without a word: a row too many must not build.
static_assert(show::kPartCount <= Demo::kMaxParts, "parts/Show.h has more rows than a Demo holds parts");

// The list index is what ties a part to its change times in the sync script.
void addTimeline(Demo* demo) {
#define SHOW_MAKER(Class, ...) &new##Class,
    static DemoPart* (*const makers[])() = {SHOW_PARTS(SHOW_MAKER, SHOW_SKIP)};
#undef SHOW_MAKER
    for (std::size_t i = 0; i < sizeof makers / sizeof makers[0]; ++i) {
        demo->addPart(makers[i]());
        if (i == 0) {
            CrossfadeTransition* crossfade = new CrossfadeTransition();
            crossfade->duration = 1.0f;
            demo->addTransition(crossfade);
        }
    }
}
