#include "core/PlatformFiles.h"

#include <windows.h>

#include <vector>

namespace platform {

bool pathExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool listFolder(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    const std::string pattern = (folder.empty() ? std::string(".") : folder) + "\\*";
    WIN32_FIND_DATAA entry;
    HANDLE handle = ::FindFirstFileA(pattern.c_str(), &entry);
    if (handle == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(handle, &entry));
    ::FindClose(handle);
    return true;
}

std::string workingDirectory() {
    const DWORD size = ::GetCurrentDirectoryA(0, nullptr);
    if (size == 0) return {};
    std::vector<char> buffer(size);
    const DWORD length = ::GetCurrentDirectoryA(size, buffer.data());
    return length > 0 && length < size ? std::string(buffer.data(), length) : std::string();
}

bool changeDirectory(const std::string& path) { return ::SetCurrentDirectoryA(path.c_str()) != 0; }

std::string fileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info)) return {};
    const unsigned long long size = (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    const unsigned long long written =
        (static_cast<unsigned long long>(info.ftLastWriteTime.dwHighDateTime) << 32) |
        info.ftLastWriteTime.dwLowDateTime;
    // The write time counts 100 ns steps.
    return std::to_string(size) + "@" + std::to_string(written);
}

}  // namespace platform
