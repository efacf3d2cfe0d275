#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "display/PixelToolkit.h"

// A toolkit without a window, for tests and the offline renderer: the console keeps each
// presented frame readable, key presses are injected, and a callback can take every frame.
class MemoryToolkit : public PixelToolkit {
public:
    using PresentCallback = std::function<void(const uint32_t* pixels, int32_t width, int32_t height)>;

    std::unique_ptr<ToolkitConsole> createConsole() override;
    std::unique_ptr<ToolkitSurface> createSurface(int32_t width, int32_t height,
                                                  const PixelFormat& format) override;

    // Queues a key press for the console to report.
    void pushKey(int32_t code);
    // Called with each frame as it is presented.
    void setPresentCallback(PresentCallback callback);

    // The last presented frame (width * height pixels), empty before the first update.
    const std::vector<uint32_t>& lastFrame() const { return shown; }
    int32_t frameWidth() const { return shownWidth; }
    int32_t frameHeight() const { return shownHeight; }
    long presentCount() const { return presents; }
    const std::string& title() const { return openTitle; }
    bool isOpen() const { return open; }

private:
    friend class MemoryConsole;

    std::vector<uint32_t> loaded;
    int32_t loadedWidth = 0, loadedHeight = 0;
    bool loadedIsNew = false;
    std::vector<uint32_t> shown;
    int32_t shownWidth = 0, shownHeight = 0;
    long presents = 0;
    std::string openTitle;
    bool open = false;
    std::deque<int32_t> keys;
    PresentCallback onPresent;
};
