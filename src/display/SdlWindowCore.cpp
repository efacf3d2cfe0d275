#include "display/SdlWindowCore.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "display/SdlKeyMap.h"

void startSdlVideo() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) throw DynamicError(std::string("no display: ") + SDL_GetError());
    // Without a display SDL quietly falls back to a window-less driver and the show would
    // play unseen: unless that driver was asked for, it counts as no display.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!std::getenv("SDL_VIDEODRIVER") && driver &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw DynamicError(std::string("no display: only the ") + driver + " video driver is available");
    }
}

void stopSdlVideo() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

int32_t largestScaleThatFits(int32_t width, int32_t height) {
    SDL_Rect bounds;
    if (SDL_GetDisplayUsableBounds(0, &bounds) != 0) {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 1;
        bounds.w = mode.w;
        bounds.h = mode.h;
    }
    return std::max(1, std::min(bounds.w / width, bounds.h / height));
}

bool desktopSize(int32_t& width, int32_t& height) {
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return false;
    width = desktop.w;
    height = desktop.h;
    return true;
}

bool pollWindowEvent(WindowEvent& out) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        out = WindowEvent{};
        switch (event.type) {
        case SDL_KEYDOWN:
            out.kind = WindowEvent::Kind::Key;
            out.key.code = virtualKeyFromSdl(event.key.keysym.sym);
            out.key.alt = (event.key.keysym.mod & KMOD_ALT) != 0;
            out.key.shift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
            out.key.control = (event.key.keysym.mod & KMOD_CTRL) != 0;
            out.repeat = event.key.repeat != 0;
            return true;
        case SDL_WINDOWEVENT: {
            // Uncovered, shown again or resized, the window needs the frame again.
            const Uint8 what = event.window.event;
            if (what != SDL_WINDOWEVENT_EXPOSED && what != SDL_WINDOWEVENT_SHOWN &&
                what != SDL_WINDOWEVENT_RESTORED && what != SDL_WINDOWEVENT_SIZE_CHANGED)
                continue;
            out.kind = WindowEvent::Kind::Repaint;
            return true;
        }
        case SDL_QUIT: out.kind = WindowEvent::Kind::Close; return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_LEFT) continue;
            out.kind = event.type == SDL_MOUSEBUTTONDOWN ? WindowEvent::Kind::PointerDown : WindowEvent::Kind::PointerUp;
            out.x = event.button.x;
            out.y = event.button.y;
            return true;
        case SDL_MOUSEMOTION:
            out.kind = WindowEvent::Kind::PointerMove;
            out.x = event.motion.x;
            out.y = event.motion.y;
            return true;
        case SDL_MOUSEWHEEL:
            out.kind = WindowEvent::Kind::Wheel;
            out.steps = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            return true;
        default: continue;
        }
    }
    return false;
}
