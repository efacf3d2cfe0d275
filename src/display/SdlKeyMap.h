#pragma once
#include <cstdint>

// The virtual-key code (KeyCode numbering) of an SDL key code; 0 for keys without one.
int32_t virtualKeyFromSdl(int32_t sdlKeycode);
