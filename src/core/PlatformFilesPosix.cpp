#include "core/PlatformFiles.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

bool pathExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

bool listFolder(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    DIR* handle = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!handle) return false;
    while (dirent* entry = ::readdir(handle)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(handle);
    return true;
}

std::string workingDirectory() {
    char* path = ::getcwd(nullptr, 0);
    std::string result = path ? path : "";
    std::free(path);
    return result;
}

bool changeDirectory(const std::string& path) { return ::chdir(path.c_str()) == 0; }

std::string fileStamp(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return {};
    return std::to_string(info.st_size) + "@" + std::to_string(info.st_mtim.tv_sec) + "." +
           std::to_string(info.st_mtim.tv_nsec);
}

}  // namespace platform
