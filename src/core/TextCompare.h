#pragma once
#include <cstddef>

// Compares two strings ignoring the case of ASCII letters, as strcasecmp does in the C
// locale: negative, zero or positive, the difference of the first differing bytes after
// folding to lower case. The same on every platform.
int compareIgnoringCase(const char* a, const char* b);
// The same over at most `count` bytes, as strncasecmp.
int compareIgnoringCase(const char* a, const char* b, size_t count);
