#pragma once
#include "display/PixelToolkit.h"

// What the entry does when the display cannot be opened (DisplayDriver::open throws
// DynamicError): a clear message on stderr and a non-zero exit status.
[[noreturn]] void exitOnDisplayError(const DynamicError& error);
