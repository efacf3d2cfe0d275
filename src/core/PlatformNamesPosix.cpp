#include "core/PlatformNames.h"

#include <cxxabi.h>

#include <cstdlib>

namespace platform {

std::string readableTypeName(const std::type_info& type) {
    const char* mangled = type.name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && plain ? plain : mangled;
    std::free(plain);
    return name;
}

}  // namespace platform
