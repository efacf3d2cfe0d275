#include "demo/DemoPart.h"

#include <strings.h>

#include "demo/SyncEvent.h"

int32_t comparePowPow(const SyncEvent* event) { return ::strcasecmp(event->name, "POWPOW"); }
