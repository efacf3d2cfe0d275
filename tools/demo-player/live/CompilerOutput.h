#pragma once
#include <string>

// The first error in a build's output, whole, as "file:line: error: message" (the column
// left out), with the source folder's prefix taken off the file; failing that, the first
// line that speaks of an error, or else the last line. Empty for empty output.
std::string firstCompilerError(const std::string& output, const std::string& sourceDir);
