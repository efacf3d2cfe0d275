#include "FuzzSupport.h"
#include "targets/MusicTarget.h"

DEMO_FUZZ_QUIET_STDOUT
DEMO_FUZZ_TARGET(runMusicTarget)
