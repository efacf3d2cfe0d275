#pragma once
#include "display/PixelToolkit.h"

// The real toolkit: an SDL window (or the desktop in full screen) showing the surface,
// scaled without filtering, with the keyboard and the window's close button as key input.
class SdlToolkit : public PixelToolkit {
public:
    std::unique_ptr<ToolkitConsole> createConsole() override;
    std::unique_ptr<ToolkitSurface> createSurface(int32_t width, int32_t height,
                                                  const PixelFormat& format) override;
};
