#include "FuzzSupport.h"
#include "targets/JpegTarget.h"

DEMO_FUZZ_QUIET_STDOUT
DEMO_FUZZ_TARGET(runJpegTarget)
