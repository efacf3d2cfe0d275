#include "display/SoftwareGl.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

bool isSoftwareGlRenderer(const char* renderer) {
    if (!renderer) return false;
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (std::strstr(renderer, name)) return true;
    return false;
}

bool openGlIsSoftwareOnly() {
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
    const char* forced = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    if (forced && *forced && std::strcmp(forced, "0") != 0) return true;
    std::error_code error;
    for (const char* device : {"/dev/nvidia0", "/dev/dxg"})
        if (std::filesystem::exists(device, error)) return false;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) return false;
    }
    return true;
#else
    return false;
#endif
}
