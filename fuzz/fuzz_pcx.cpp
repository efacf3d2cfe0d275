#include "FuzzSupport.h"
#include "targets/PcxTarget.h"

DEMO_FUZZ_QUIET_STDOUT
DEMO_FUZZ_TARGET(runPcxTarget)
