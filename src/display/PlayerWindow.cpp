#include "display/PlayerWindow.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "display/SdlKeyMap.h"

struct PlayerWindow::Sdl {
    bool videoStarted = false;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;   // the frame on top, the status strip below it
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
    bool key() override {
        window.pumpEvents();
        return !window.keys.empty();
    }
    ToolkitKey read() override {
        window.pumpEvents();
        if (window.keys.empty()) return ToolkitKey{};
        ToolkitKey key = window.keys.front();
        window.keys.erase(window.keys.begin());
        return key;
    }
    void close() override { window.close(); }

private:
    PlayerWindow& window;
};

PlayerWindow::PlayerWindow(int32_t scale, int32_t statusHeight, bool fullscreen)
    : scale(scale < 1 ? 1 : scale), statusHeight(statusHeight), full(fullscreen), sdl(new Sdl()) {}

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
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) throw DynamicError(std::string("no display: ") + SDL_GetError());
    sdl->videoStarted = true;
    // A window-less video driver that nobody asked for would play the show unseen.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!std::getenv("SDL_VIDEODRIVER") && driver &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        close();
        throw DynamicError(std::string("no display: only the ") + driver + " video driver is available");
    }
    frameWidth = width;
    frameHeight = height;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    int windowWidth = width * scale, windowHeight = (height + statusHeight) * scale;
    // Full screen starts desktop-sized, so that it fills the screen even without a window manager.
    SDL_DisplayMode desktop;
    if (full && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        windowWidth = desktop.w;
        windowHeight = desktop.h;
    }
    sdl->window = SDL_CreateWindow(kPlayerTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth,
                                   windowHeight, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (sdl->window) sdl->renderer = SDL_CreateRenderer(sdl->window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (sdl->window && !sdl->renderer) sdl->renderer = SDL_CreateRenderer(sdl->window, -1, SDL_RENDERER_SOFTWARE);
    if (sdl->renderer)
        sdl->texture = SDL_CreateTexture(sdl->renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width,
                                         height + statusHeight);
    if (!sdl->texture) {
        const std::string message = std::string("cannot open the player window: ") + SDL_GetError();
        close();
        throw DynamicError(message);
    }
    SDL_RenderSetIntegerScale(sdl->renderer, SDL_TRUE);
    fitWindow();
}

void PlayerWindow::load(const uint32_t* pixels, int32_t pitchBytes) {
    if (!sdl->texture) return;
    const SDL_Rect frame{0, 0, frameWidth, frameHeight};
    SDL_UpdateTexture(sdl->texture, &frame, pixels, pitchBytes);
}

void PlayerWindow::setStatus(const uint32_t* pixels) {
    if (!sdl->texture || statusHeight <= 0) return;
    const SDL_Rect strip{0, frameHeight, frameWidth, statusHeight};
    SDL_UpdateTexture(sdl->texture, &strip, pixels, frameWidth * 4);
}

void PlayerWindow::present() {
    if (sdl->renderer) {
        const SDL_Rect shown{0, 0, frameWidth, frameHeight + (showStatus ? statusHeight : 0)};
        SDL_SetRenderDrawColor(sdl->renderer, 0, 0, 0, 255);
        SDL_RenderClear(sdl->renderer);
        SDL_RenderCopy(sdl->renderer, sdl->texture, &shown, nullptr);
        SDL_RenderPresent(sdl->renderer);
    }
    pumpEvents();
}

void PlayerWindow::setStatusVisible(bool visible) {
    showStatus = visible;
    fitWindow();
}

void PlayerWindow::setFullscreen(bool on) {
    full = on;
    if (!sdl->window) return;
    // Desktop-sized and placed as well, for a bare X server where no window manager does it.
    SDL_DisplayMode desktop;
    if (on && SDL_GetDesktopDisplayMode(0, &desktop) == 0) SDL_SetWindowSize(sdl->window, desktop.w, desktop.h);
    SDL_SetWindowFullscreen(sdl->window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    fitWindow();
    SDL_SetWindowPosition(sdl->window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

// The logical size is the frame and, when shown, the strip; a window is that times the scale.
void PlayerWindow::fitWindow() {
    if (!sdl->renderer) return;
    const int32_t height = frameHeight + (showStatus ? statusHeight : 0);
    SDL_RenderSetLogicalSize(sdl->renderer, frameWidth, height);
    if (!full) SDL_SetWindowSize(sdl->window, frameWidth * scale, height * scale);
}

void PlayerWindow::pumpEvents() {
    if (!sdl->videoStarted) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_KEYDOWN) {
            ToolkitKey key;
            key.code = virtualKeyFromSdl(event.key.keysym.sym);
            key.shift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
            if (key.code != 0) keys.push_back(key);
        } else if (event.type == SDL_QUIT) {
            keys.push_back(ToolkitKey{KeyCode::Escape});
        }
    }
}

void PlayerWindow::close() {
    if (sdl->texture) SDL_DestroyTexture(sdl->texture);
    if (sdl->renderer) SDL_DestroyRenderer(sdl->renderer);
    if (sdl->window) SDL_DestroyWindow(sdl->window);
    sdl->texture = nullptr;
    sdl->renderer = nullptr;
    sdl->window = nullptr;
    if (sdl->videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    sdl->videoStarted = false;
}
