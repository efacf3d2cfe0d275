#include "display/SdlToolkit.h"

#include <cstring>

#include <SDL.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

#include "display/FramePacer.h"
#include "display/NearestScale.h"
#include "display/PresentStats.h"
#include "display/SdlWindowCore.h"
#include "display/SoftwareGl.h"

namespace {

// In a browser the page's animation frames pace the loop; a wait of our own would only
// stall them.
#if defined(__EMSCRIPTEN__)
constexpr bool kOwnPacing = false;
#else
constexpr bool kOwnPacing = true;
#endif

class SdlConsole : public ToolkitConsole {
public:
    ~SdlConsole() override { close(); }

    bool option(const std::string& name) override {
        if (name == "synchronized update") synchronized = true;
        else if (name == "center nearest") centerNearest = true;
        else if (name == "windowed output") windowed = true;
        else if (name == "fullscreen output") windowed = false;
        else return false;
        return true;
    }

    void open(const char* title, int32_t width, int32_t height, const PixelFormat& format,
              int32_t) override {
        close();
        if (width <= 0 || height <= 0 || format.bits != 32)
            throw DynamicError("unsupported console size or format");
        startSdlVideo();
        videoStarted = true;

        Uint32 flags = SDL_WINDOW_FULLSCREEN_DESKTOP;
        int windowWidth = width, windowHeight = height;
        // Desktop-sized from the start, so that the output fills the screen even where no
        // window manager carries out the full-screen request (a bare X server).
        if (!windowed) desktopSize(windowWidth, windowHeight);
        if (windowed) {
            flags = SDL_WINDOW_RESIZABLE;
            int scale = largestScaleThatFits(width, height);
            windowWidth = width * scale;
            windowHeight = height * scale;
        }
#ifdef __EMSCRIPTEN__
        // In a browser the page scales the canvas and offers full screen itself (a request
        // from here would wait for the next key, which ends the show).
        flags = 0;
        windowWidth = width;
        windowHeight = height;
#endif
        window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  windowWidth, windowHeight, flags);
        if (!window) fail("cannot create the window");
        SDL_ShowCursor(windowed ? SDL_ENABLE : SDL_DISABLE);

        textureWidth = width;
        textureHeight = height;
        shown.clear();
        SDL_DisplayMode mode;
        pacer = FramePacer(SDL_GetCurrentDisplayMode(0, &mode) == 0 ? mode.refresh_rate : 0);

        // Software OpenGL spends most of the show's CPU time putting frames on the screen:
        // there the frame is scaled on the CPU into the window's own surface instead.
        if (centerNearest && openGlIsSoftwareOnly()) return useWindowSurface();
        if (centerNearest) SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
        Uint32 rendererFlags = synchronized ? SDL_RENDERER_PRESENTVSYNC : 0;
        renderer = SDL_CreateRenderer(window, -1, rendererFlags);
        if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer) fail("cannot create a renderer");
        if (centerNearest && rendersWithSoftwareOpenGl()) {
            SDL_DestroyRenderer(renderer);
            renderer = nullptr;
            return useWindowSurface();
        }
        if (centerNearest) SDL_RenderSetLogicalSize(renderer, width, height);

        // RGB888 is 0x00RRGGBB in a 32-bit word: the frame's top byte is never shown.
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                    width, height);
        if (!texture) fail("cannot create the frame texture");
    }

    // A frame identical to the one on screen is neither uploaded nor presented again.
    void load(const uint32_t* pixels, int32_t width, int32_t height, int32_t pitchBytes) override {
        if ((!texture && !surfaceOutput) || width != textureWidth || height != textureHeight) return;
        const size_t rowBytes = static_cast<size_t>(width) * sizeof(uint32_t);
        const auto* rows = reinterpret_cast<const uint8_t*>(pixels);
        fresh = shown.size() != static_cast<size_t>(width) * static_cast<size_t>(height);
        if (fresh) shown.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int32_t y = 0; y < height; ++y) {
            uint32_t* kept = shown.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
            const uint8_t* row = rows + static_cast<size_t>(y) * static_cast<size_t>(pitchBytes);
            if (!fresh && std::memcmp(kept, row, rowBytes) == 0) continue;
            fresh = true;
            std::memcpy(kept, row, rowBytes);
        }
        if (fresh && texture) SDL_UpdateTexture(texture, nullptr, pixels, pitchBytes);
    }

    void update() override {
        // Uncovered or resized, the window needs the frame again even when it has not changed.
        fresh = fresh || repaint;
        repaint = false;
        if (surfaceOutput) {
            showOnWindowSurface();
        } else if (renderer && !fresh) {
            if (synchronized && kOwnPacing) pacer.waitForRefresh();
            stats.presented(false);
        } else if (renderer) {
            SDL_RenderClear(renderer);
            SDL_RenderCopy(renderer, texture, nullptr, nullptr);
            SDL_RenderPresent(renderer);
            pacer.refreshed();
            stats.presented(true);
        }
        fresh = false;
        pumpEvents();
    }

    bool key() override {
        pumpEvents();
        return !keys.empty();
    }

    ToolkitKey read() override {
        while (keys.empty()) {
            if (!videoStarted || !SDL_WaitEvent(nullptr)) return ToolkitKey{};
            pumpEvents();
        }
        ToolkitKey key = keys.front();
        keys.pop_front();
        return key;
    }

    void close() override {
        surfaceOutput = false;
        scaler.reset();
        if (texture) SDL_DestroyTexture(texture);
        if (renderer) SDL_DestroyRenderer(renderer);
        if (window) SDL_DestroyWindow(window);
        texture = nullptr;
        renderer = nullptr;
        window = nullptr;
        if (videoStarted) stopSdlVideo();
        videoStarted = false;
    }

private:
    // True when the renderer is OpenGL and GL_RENDERER names a software rasteriser.
    bool rendersWithSoftwareOpenGl() {
#if defined(__EMSCRIPTEN__)
        return false;
#else
        SDL_RendererInfo info;
        if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name || std::strncmp(info.name, "opengl", 6) != 0)
            return false;
        using GetString = const unsigned char* (*)(unsigned int);
        auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
        constexpr unsigned int kGlRenderer = 0x1F01;
        return getString && isSoftwareGlRenderer(reinterpret_cast<const char*>(getString(kGlRenderer)));
#endif
    }

    // The CPU path: SDL's own window framebuffer (X11 shared memory), not one drawn by a
    // renderer, with the frame scaled the way the renderer's logical size shows it.
    void useWindowSurface() {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (!SDL_GetWindowSurface(window)) fail("cannot get the window surface");
        surfaceOutput = true;
    }

    void showOnWindowSurface() {
        SDL_Surface* surface = SDL_GetWindowSurface(window);
        if (!surface || surface->format->BytesPerPixel != 4) return;
        const bool resized = !scaler || scaledWidth != surface->w || scaledHeight != surface->h;
        if (resized) {
            scaler = std::make_unique<NearestScaler>(textureWidth, textureHeight, surface->w, surface->h);
            scaledWidth = surface->w;
            scaledHeight = surface->h;
        }
        if (synchronized && kOwnPacing) pacer.waitForRefresh();
        if (!fresh && !resized) {
            stats.presented(false);
            return;
        }
        if (shown.empty()) return;
        if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
        scaler->scale(shown.data(), static_cast<uint32_t*>(surface->pixels), surface->pitch / 4);
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        SDL_UpdateWindowSurface(window);
        stats.presented(true);
    }

    [[noreturn]] void fail(const char* what) {
        std::string message = std::string(what) + ": " + SDL_GetError();
        close();
        throw DynamicError(message);
    }

    void pumpEvents() {
        if (!videoStarted) return;
        WindowEvent event;
        while (pollWindowEvent(event)) {
            if (event.kind == WindowEvent::Kind::Key && !event.repeat) {
                keys.push_back(event.key);
            } else if (event.kind == WindowEvent::Kind::Repaint) {
                repaint = true;
            } else if (event.kind == WindowEvent::Kind::Close) {
                // Closing the window ends the run like a key press would.
                keys.push_back(ToolkitKey{KeyCode::Escape});
            }
        }
    }

    bool synchronized = false;
    bool centerNearest = false;
    bool windowed = false;
    bool videoStarted = false;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int32_t textureWidth = 0;
    int32_t textureHeight = 0;
    std::vector<uint32_t> shown;  // the frame last put on screen
    bool fresh = false;           // the frame loaded since the last update differs from it
    bool repaint = false;         // the window asked to be drawn again
    FramePacer pacer{0};
    bool surfaceOutput = false;
    std::unique_ptr<NearestScaler> scaler;
    int32_t scaledWidth = 0, scaledHeight = 0;
    std::deque<ToolkitKey> keys;
    PresentStats stats;
};

}  // namespace

std::unique_ptr<ToolkitConsole> SdlToolkit::createConsole() { return std::make_unique<SdlConsole>(); }

std::unique_ptr<ToolkitSurface> SdlToolkit::createSurface(int32_t width, int32_t height,
                                                          const PixelFormat& format) {
    if (format.bits != 32) throw DynamicError("unsupported surface format");
    return std::make_unique<MemorySurface>(width, height);
}
