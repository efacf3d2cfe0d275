#include "demo/DemoPart.h"

#include <cxxabi.h>
#include <strings.h>

#include <cstdlib>
#include <typeinfo>

#include "demo/SyncEvent.h"

std::string partClassName(const DemoPart& part) {
    const char* mangled = typeid(part).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && plain ? plain : mangled;
    std::free(plain);
    return name;
}

int32_t comparePowPow(const SyncEvent* event) { return ::strcasecmp(event->name, "POWPOW"); }
