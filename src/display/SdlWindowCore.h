#pragma once
#include <cstdint>

#include "display/PixelToolkit.h"

// What the demo's toolkit and the player's window share of SDL: starting the video
// subsystem (refusing a window-less driver nobody asked for), the size that fits the
// screen, and one event pump translating SDL's events into the toolkit's terms.

// Starts SDL's video subsystem; throws DynamicError ("no display: ...") when there is no
// display, including when SDL fell back on its offscreen or dummy driver on its own.
void startSdlVideo();
void stopSdlVideo();

// The largest whole-number multiple of width x height that fits the usable desktop, at least 1.
int32_t largestScaleThatFits(int32_t width, int32_t height);
// The desktop's size in pixels; false when SDL cannot tell.
bool desktopSize(int32_t& width, int32_t& height);

struct WindowEvent {
    enum class Kind { Key, Repaint, Close, PointerDown, PointerUp, PointerMove, Wheel };
    Kind kind = Kind::Key;
    ToolkitKey key;        // Key: code 0 for a key the numbering has no code for
    bool repeat = false;   // Key: sent again because the key is held
    int32_t x = 0, y = 0;  // pointer: position, in the renderer's logical pixels when it has a size
    int32_t steps = 0;     // Wheel: notches, positive away from the user
};

// The next event of interest; false when none is waiting.
bool pollWindowEvent(WindowEvent& event);
