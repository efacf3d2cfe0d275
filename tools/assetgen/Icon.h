#pragma once
#include <string>

#include "Canvas.h"

// The desktop icon: the centre square of a picture shrunk to size x size, each icon pixel
// the mean of an equal box of picture pixels (the square is trimmed to a multiple of size).
Canvas makeIcon(const Canvas& picture, int size);
// Writes the canvas as an 8-bit RGB PNG; false (with a message on stderr) on failure.
bool writePng(const std::string& path, const Canvas& canvas);
