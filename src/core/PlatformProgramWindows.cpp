#include "core/PlatformProgram.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace platform {

namespace {

bool isFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder of the running program, or "" when unknown.
std::string programFolder() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            const std::string file(path.data(), length);
            const size_t slash = file.find_last_of("\\/");
            return slash == std::string::npos ? std::string() : file.substr(0, slash);
        }
        path.resize(path.size() * 2);
    }
}

// Standard error when it goes somewhere (a console or a redirect), else a message box.
void tell(const std::string& message) {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (error != nullptr && error != INVALID_HANDLE_VALUE && ::GetFileType(error) != FILE_TYPE_UNKNOWN) {
        std::fprintf(stderr, "%s\n", message.c_str());
        std::fflush(stderr);
    } else {
        ::MessageBoxA(nullptr, message.c_str(), "softdemo", MB_OK | MB_ICONERROR);
    }
}

}  // namespace

bool enterDataFolder(const char* programName, const char* dataFolder) {
    if (isFolder(dataFolder)) return true;
    const std::string folder = programFolder();
    if (!folder.empty() && isFolder(folder + "\\" + dataFolder) && ::SetCurrentDirectoryA(folder.c_str()))
        return true;
    tell(std::string(programName) + ": the data folder " + (folder.empty() ? std::string(".") : folder) + "\\" +
         dataFolder + " is missing; unzip the whole softdemo-windows-x86_64.zip again");
    return false;
}

}  // namespace platform
