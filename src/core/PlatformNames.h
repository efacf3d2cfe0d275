#pragma once
#include <string>
#include <typeinfo>

// Names from the compiler, with one implementation for POSIX systems and one for Windows
// (the build picks one).
namespace platform {

// The class name of a type as written in the source ("ForstaPart"); the compiler's own
// name when it cannot be made readable.
std::string readableTypeName(const std::type_info& type);

}  // namespace platform
