#pragma once
#include <cstdint>
#include <vector>

#include "display/PixelToolkit.h"

// The player's toolkit: a window showing the frame at a whole-number scale without
// filtering, with a status strip below the frame (never over it, so the frame area is
// exactly what the demo draws). The strip can be hidden and the window made full screen
// (letterboxed, still whole-number scaled). Keys and the close button as in the demo's
// toolkit; closing the window reads as Escape.
class PlayerWindow : public PixelToolkit {
public:
    static constexpr const char* kPlayerTitle = "demo-player";

    PlayerWindow(int32_t scale, int32_t statusHeight, bool fullscreen);
    ~PlayerWindow() override;

    std::unique_ptr<ToolkitConsole> createConsole() override;
    std::unique_ptr<ToolkitSurface> createSurface(int32_t width, int32_t height,
                                                  const PixelFormat& format) override;

    // The status strip's pixels (frame width by statusHeight), shown from the next update.
    void setStatus(const uint32_t* pixels);
    void setStatusVisible(bool visible);
    bool statusVisible() const { return showStatus; }
    void setFullscreen(bool on);
    bool fullscreen() const { return full; }

private:
    friend class PlayerConsole;
    struct Sdl;

    void open(int32_t width, int32_t height);
    void load(const uint32_t* pixels, int32_t pitchBytes);
    void present();
    void pumpEvents();
    void close();
    void fitWindow();

    const int32_t scale;
    const int32_t statusHeight;
    bool full;
    bool showStatus = true;
    int32_t frameWidth = 0, frameHeight = 0;
    std::vector<ToolkitKey> keys;
    Sdl* sdl;
};
