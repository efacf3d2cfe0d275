#include "FuzzSupport.h"
#include "targets/SyncTarget.h"

DEMO_FUZZ_QUIET_STDOUT
DEMO_FUZZ_TARGET(runSyncTarget)
