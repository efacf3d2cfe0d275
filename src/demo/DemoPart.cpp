#include "demo/DemoPart.h"

#include <typeinfo>

#include "core/PlatformNames.h"
#include "core/TextCompare.h"
#include "demo/SyncEvent.h"

std::string partClassName(const DemoPart& part) { return platform::readableTypeName(typeid(part)); }

int32_t comparePowPow(const SyncEvent* event) { return compareIgnoringCase(event->name, "POWPOW"); }
