// The entry of a part module: built once for each part class, with LIVE_PART_CLASS naming
// it. Everything else in the module is hidden, so the module's part binds to its own code,
// and to the player's for all it shares (pictures, the flash registry, the random sequence).
#include "parts/Timeline.h"

#define LIVE_JOIN(a, b) a##b
#define LIVE_MAKER(Class) LIVE_JOIN(new, Class)
#define LIVE_TEXT(x) #x
#define LIVE_NAME(Class) LIVE_TEXT(Class)

extern "C" __attribute__((visibility("default"))) DemoPart* livePartMaker() { return LIVE_MAKER(LIVE_PART_CLASS)(); }

extern "C" __attribute__((visibility("default"))) const char* livePartClass() { return LIVE_NAME(LIVE_PART_CLASS); }
