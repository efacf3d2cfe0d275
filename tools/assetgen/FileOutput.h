#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes the bytes to the file, replacing it; false (with a message on stderr) on failure.
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// Creates the directory and its parents as needed; false on failure.
bool makeDirectories(const std::string& path);
