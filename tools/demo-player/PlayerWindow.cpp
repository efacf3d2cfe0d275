#include "PlayerWindow.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <string>

struct PlayerWindow::Sdl {
    bool videoStarted = false;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;   // the frame on top, the strips below it
};

// The console the display driver talks to; the window holds its state.
class PlayerConsole : public ToolkitConsole {
public:
    explicit PlayerConsole(PlayerWindow& window) : window(window) {}
    bool option(const std::string&) override { return true; }
    // The window carries its own title, not the demo's.
    void open(const char*, int32_t width, int32_t height, const PixelFormat& format, int32_t) override {
        if (width <= 0 || height <= 0 || format.bits != 32) throw DynamicError("unsupported console size or format");
        window.open(width, height);
    }
    void load(const uint32_t* pixels, int32_t, int32_t, int32_t pitchBytes) override { window.load(pixels, pitchBytes); }
    void update() override { window.present(); }
    // Keys reach the player through takeInput, with their modifiers.
    bool key() override {
        window.pumpEvents();
        return false;
    }
    ToolkitKey read() override { return ToolkitKey{}; }
    void close() override { window.close(); }

private:
    PlayerWindow& window;
};

PlayerWindow::PlayerWindow(int32_t scale, std::vector<int32_t> stripHeights, bool fullscreen)
    : askedScale(std::max(scale, 1)), usedScale(askedScale), full(fullscreen), sdl(new Sdl()) {
    for (int32_t height : stripHeights) strips.push_back(Strip{height, true, {}});
}

PlayerWindow::~PlayerWindow() {
    close();
    delete sdl;
}

std::unique_ptr<ToolkitConsole> PlayerWindow::createConsole() { return std::make_unique<PlayerConsole>(*this); }

std::unique_ptr<ToolkitSurface> PlayerWindow::createSurface(int32_t width, int32_t height, const PixelFormat& format) {
    if (format.bits != 32) throw DynamicError("unsupported surface format");
    return std::make_unique<MemorySurface>(width, height);
}

void PlayerWindow::open(int32_t width, int32_t height) {
    close();
    startSdlVideo();
    sdl->videoStarted = true;
    frameWidth = width;
    frameHeight = height;
    frame.assign(static_cast<size_t>(width) * height, 0);
    int32_t allHeight = height;
    for (Strip& strip : strips) {
        strip.pixels.assign(static_cast<size_t>(width) * strip.height, 0);
        allHeight += strip.height;
    }
    // Every strip shown must still fit, or the status line ends up off the screen.
    usedScale = std::min(askedScale, largestScaleThatFits(width, allHeight));
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    int32_t windowWidth = width * usedScale, windowHeight = shownHeight() * usedScale;
    // Full screen starts desktop-sized, so that it fills the screen even without a window manager.
    if (full) desktopSize(windowWidth, windowHeight);
    sdl->window = SDL_CreateWindow(kPlayerTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth,
                                   windowHeight, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (sdl->window) sdl->renderer = SDL_CreateRenderer(sdl->window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (sdl->window && !sdl->renderer) sdl->renderer = SDL_CreateRenderer(sdl->window, -1, SDL_RENDERER_SOFTWARE);
    if (sdl->renderer)
        sdl->texture = SDL_CreateTexture(sdl->renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width,
                                         allHeight);
    if (!sdl->texture) {
        const std::string message = std::string("cannot open the player window: ") + SDL_GetError();
        close();
        throw DynamicError(message);
    }
    SDL_RenderSetIntegerScale(sdl->renderer, SDL_TRUE);
    fitWindow();
}

// Only what differs from the screen is uploaded; an unchanged pass presents nothing.
void PlayerWindow::load(const uint32_t* pixels, int32_t pitchBytes) {
    if (!sdl->texture) return;
    const size_t rowBytes = static_cast<size_t>(frameWidth) * sizeof(uint32_t);
    const auto* rows = reinterpret_cast<const uint8_t*>(pixels);
    bool differs = false;
    for (int32_t y = 0; y < frameHeight; y++) {
        uint32_t* kept = frame.data() + static_cast<size_t>(y) * frameWidth;
        const uint8_t* row = rows + static_cast<size_t>(y) * pitchBytes;
        if (std::memcmp(kept, row, rowBytes) == 0) continue;
        std::memcpy(kept, row, rowBytes);
        differs = true;
    }
    if (!differs) return;
    const SDL_Rect area{0, 0, frameWidth, frameHeight};
    SDL_UpdateTexture(sdl->texture, &area, frame.data(), frameWidth * 4);
    changed = true;
}

void PlayerWindow::setStrip(size_t index, const uint32_t* pixels) {
    Strip& strip = strips[index];
    if (!sdl->texture || strip.height <= 0 ||
        std::equal(strip.pixels.begin(), strip.pixels.end(), pixels))
        return;
    std::copy(pixels, pixels + strip.pixels.size(), strip.pixels.begin());
    int32_t top = frameHeight;
    for (size_t i = 0; i < index; i++) top += strips[i].height;
    const SDL_Rect area{0, top, frameWidth, strip.height};
    SDL_UpdateTexture(sdl->texture, &area, strip.pixels.data(), frameWidth * 4);
    changed = changed || strip.visible;
}

int32_t PlayerWindow::stripTop(size_t index) const {
    if (!strips[index].visible) return -1;
    int32_t top = frameHeight;
    for (size_t i = 0; i < index; i++)
        if (strips[i].visible) top += strips[i].height;
    return top;
}

int32_t PlayerWindow::shownHeight() const {
    int32_t height = frameHeight;
    for (const Strip& strip : strips)
        if (strip.visible) height += strip.height;
    return height;
}

void PlayerWindow::present() {
    pumpEvents();
    if (!sdl->renderer || !changed) return;
    SDL_SetRenderDrawColor(sdl->renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdl->renderer);
    const SDL_Rect frameArea{0, 0, frameWidth, frameHeight};
    SDL_RenderCopy(sdl->renderer, sdl->texture, &frameArea, &frameArea);
    int32_t textureTop = frameHeight;
    for (size_t i = 0; i < strips.size(); i++) {
        const SDL_Rect from{0, textureTop, frameWidth, strips[i].height};
        const SDL_Rect to{0, stripTop(i), frameWidth, strips[i].height};
        if (strips[i].visible) SDL_RenderCopy(sdl->renderer, sdl->texture, &from, &to);
        textureTop += strips[i].height;
    }
    SDL_RenderPresent(sdl->renderer);
    changed = false;
}

void PlayerWindow::setStripVisible(size_t strip, bool visible) {
    if (strips[strip].visible == visible) return;
    strips[strip].visible = visible;
    fitWindow();
}

void PlayerWindow::setFullscreen(bool on) {
    full = on;
    if (!sdl->window) return;
    // Desktop-sized and placed as well, for a bare X server where no window manager does it.
    int32_t width = 0, height = 0;
    if (on && desktopSize(width, height)) SDL_SetWindowSize(sdl->window, width, height);
    SDL_SetWindowFullscreen(sdl->window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    fitWindow();
    SDL_SetWindowPosition(sdl->window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

// The logical size is the frame and the strips shown; a window is that times the scale.
void PlayerWindow::fitWindow() {
    changed = true;
    if (!sdl->renderer) return;
    SDL_RenderSetLogicalSize(sdl->renderer, frameWidth, shownHeight());
    if (!full) SDL_SetWindowSize(sdl->window, frameWidth * usedScale, shownHeight() * usedScale);
}

void PlayerWindow::pumpEvents() {
    if (!sdl->videoStarted) return;
    WindowEvent event;
    while (pollWindowEvent(event)) {
        if (event.kind == WindowEvent::Kind::Repaint) {
            changed = true;
        } else if (event.kind == WindowEvent::Kind::Close) {
            // Closing the window reads as Escape.
            event.kind = WindowEvent::Kind::Key;
            event.key = ToolkitKey{KeyCode::Escape};
            input.push_back(event);
        } else if (event.kind != WindowEvent::Kind::Key || event.key.code != 0) {
            input.push_back(event);
        }
    }
}

std::vector<WindowEvent> PlayerWindow::takeInput() {
    pumpEvents();
    std::vector<WindowEvent> taken;
    taken.swap(input);
    return taken;
}

void PlayerWindow::close() {
    if (sdl->texture) SDL_DestroyTexture(sdl->texture);
    if (sdl->renderer) SDL_DestroyRenderer(sdl->renderer);
    if (sdl->window) SDL_DestroyWindow(sdl->window);
    sdl->texture = nullptr;
    sdl->renderer = nullptr;
    sdl->window = nullptr;
    if (sdl->videoStarted) stopSdlVideo();
    sdl->videoStarted = false;
}
