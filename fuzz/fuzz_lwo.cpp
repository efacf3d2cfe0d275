#include "FuzzSupport.h"
#include "targets/LwoTarget.h"

DEMO_FUZZ_QUIET_STDOUT
DEMO_FUZZ_TARGET(runLwoTarget)
