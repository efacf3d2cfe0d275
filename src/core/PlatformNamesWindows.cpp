#include "core/PlatformNames.h"

#if defined(__GNUC__)
#include <cxxabi.h>
#endif

#include <cstdlib>

namespace platform {

std::string readableTypeName(const std::type_info& type) {
    const char* mangled = type.name();
#if defined(__GNUC__)
    // mingw-w64's g++ mangles type names as on Linux (the Itanium C++ ABI).
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && plain ? plain : mangled;
    std::free(plain);
    return name;
#else
    // Microsoft's compiler names a class "class Name" already.
    std::string name = mangled;
    for (const char* prefix : {"class ", "struct "})
        if (name.rfind(prefix, 0) == 0) return name.substr(std::string(prefix).size());
    return name;
#endif
}

}  // namespace platform
