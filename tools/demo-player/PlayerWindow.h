#pragma once
#include <cstdint>
#include <vector>

#include "display/PixelToolkit.h"
#include "display/SdlWindowCore.h"

// The player's window: the frame at a whole-number scale without filtering and, below it
// (never over it, so the frame area is exactly what the demo draws), strips of the
// player's own, each shown or hidden: the status line, the timeline. Full screen
// letterboxes the same picture. The input (keys with their modifiers and repeats, the
// pointer in the window's logical pixels, the wheel) goes to the player through
// takeInput; the console the display driver sees reports no keys.
class PlayerWindow : public PixelToolkit {
public:
    static constexpr const char* kPlayerTitle = "demo-player";

    // stripHeights: the strips below the frame, top to bottom. The scale is lowered to the
    // largest that fits the screen with every strip shown.
    PlayerWindow(int32_t scale, std::vector<int32_t> stripHeights, bool fullscreen);
    ~PlayerWindow() override;

    std::unique_ptr<ToolkitConsole> createConsole() override;
    std::unique_ptr<ToolkitSurface> createSurface(int32_t width, int32_t height,
                                                  const PixelFormat& format) override;

    // A strip's pixels (frame width by its height), shown from the next present.
    void setStrip(size_t strip, const uint32_t* pixels);
    void setStripVisible(size_t strip, bool visible);
    // The strip's top row in the window's logical pixels; -1 while hidden.
    int32_t stripTop(size_t strip) const;
    void setFullscreen(bool on);
    bool fullscreen() const { return full; }
    // The scale in use: the one asked for, or the largest that fits (known once open).
    int32_t scale() const { return usedScale; }

    // The input since the last call, in order.
    std::vector<WindowEvent> takeInput();

private:
    friend class PlayerConsole;
    struct Sdl;
    struct Strip {
        int32_t height;
        bool visible = true;
        std::vector<uint32_t> pixels;
    };

    void open(int32_t width, int32_t height);
    void load(const uint32_t* pixels, int32_t pitchBytes);
    void present();
    void pumpEvents();
    void close();
    void fitWindow();
    int32_t shownHeight() const;

    const int32_t askedScale;
    int32_t usedScale;
    bool full;
    std::vector<Strip> strips;
    int32_t frameWidth = 0, frameHeight = 0;
    std::vector<uint32_t> frame;
    bool changed = true;   // something differs from what is on screen, or the window asked
    std::vector<WindowEvent> input;
    Sdl* sdl;
};
