#pragma once
#include <string>
#include <vector>

// The file system as the system uses it, with one implementation for POSIX systems and one
// for Windows (the build picks one). Paths are narrow strings; '/' works on both.
namespace platform {

// True when something (file or folder) exists at `path`.
bool pathExists(const std::string& path);
// The names of the entries of folder `folder` ("" is the working directory), without "." and
// "..", in no particular order; false when the folder cannot be read.
bool listFolder(const std::string& folder, std::vector<std::string>& names);
// The working directory, or "" when it cannot be read.
std::string workingDirectory();
// Makes `path` the working directory; false when it cannot be entered.
bool changeDirectory(const std::string& path);
// What tells a changed file: its size and modification time (to the resolution the file
// system keeps) as text, or "" when there is no such file.
std::string fileStamp(const std::string& path);

}  // namespace platform
