#pragma once
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

// Opens a data file the way the original's Windows file system would: '\' is a path
// separator like '/', and when the exact name does not exist each path component is
// matched without regard to letter case. `mode` is an fopen mode. Returns null when no
// file matches. Every loader of the system opens its files through this.
std::FILE* openDataFile(const char* name, const char* mode);

// The path openDataFile would open for `name`, or an empty string when none matches.
std::string resolveDataPath(const char* name);

// Reads the whole data file that openDataFile finds into `bytes`; false (and no bytes) when
// none matches.
bool readDataFile(const char* name, std::vector<uint8_t>& bytes);
