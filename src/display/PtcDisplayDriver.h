#pragma once
#include <memory>

#include "display/DisplayDriver.h"
#include "display/PixelToolkit.h"

// The display driver over the pixel toolkit: one console and one surface; the frame is a
// view of the surface memory, so parts draw straight into what gets presented.
// The toolkit must outlive the driver.
class PtcDisplayDriver : public DisplayDriver {
public:
    explicit PtcDisplayDriver(PixelToolkit& toolkit);
    // Releases the frame view (which prints the Bitmap's release line) but never the surface
    // memory through it.
    ~PtcDisplayDriver() override;

    void present() override;
    void presentBitmap(const Bitmap* source) override;
    // Throws DynamicError when the toolkit cannot open the output.
    void open(int32_t width, int32_t height, bool windowed, int32_t bitsPerPixel) override;
    void reopen() override;
    void idle() override;
    bool keyPressed() override;
    KeyState readKey() override;
    void close() override;
    Bitmap* frame() override;

private:
    PixelToolkit& toolkit;
    Bitmap* frameView = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t windowed = 0;
    int32_t bitsPerPixel = 0;
    std::unique_ptr<ToolkitConsole> console;
    std::unique_ptr<ToolkitSurface> surface;
};

// The window title the driver opens with.
inline constexpr const char* kDisplayTitle = "PTC-driver";

// Maps a toolkit key code to the driver's key state: the code's low byte and the one
// navigation flag it stands for, if any.
KeyState keyStateFor(int32_t code);
