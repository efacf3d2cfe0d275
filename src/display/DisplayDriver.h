#pragma once
#include <cstdint>

class Bitmap;

// Result of readKey: the key code's low byte and at most one navigation flag.
struct KeyState {
    uint8_t code = 0;
    uint8_t down = 0, up = 0, left = 0, right = 0;
    uint8_t home = 0, end = 0, pageUp = 0, pageDown = 0;
};

// Puts the frame on the screen and reports key presses.
class DisplayDriver {
public:
    virtual void present() = 0;
    virtual void presentBitmap(const Bitmap* source) = 0;
    virtual void open(int32_t width, int32_t height, bool windowed, int32_t bitsPerPixel) = 0;
    virtual void reopen() = 0;
    virtual void idle() = 0;
    virtual bool keyPressed() = 0;
    virtual KeyState readKey() = 0;
    virtual void close() = 0;
    // The frame bitmap whose pixels are the display surface's memory; valid after open.
    virtual Bitmap* frame() = 0;
    virtual ~DisplayDriver() = default;
};
