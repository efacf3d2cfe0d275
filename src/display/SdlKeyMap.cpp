#include "display/SdlKeyMap.h"

#include <SDL.h>

#include "display/PixelToolkit.h"

int32_t virtualKeyFromSdl(int32_t sdlKeycode) {
    if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z) return KeyCode::LetterA + (sdlKeycode - SDLK_a);
    if (sdlKeycode >= SDLK_0 && sdlKeycode <= SDLK_9) return KeyCode::Digit0 + (sdlKeycode - SDLK_0);
    if (sdlKeycode >= SDLK_F1 && sdlKeycode <= SDLK_F12) return 0x70 + (sdlKeycode - SDLK_F1);
    switch (sdlKeycode) {
    case SDLK_LEFT: return KeyCode::Left;
    case SDLK_UP: return KeyCode::Up;
    case SDLK_RIGHT: return KeyCode::Right;
    case SDLK_DOWN: return KeyCode::Down;
    case SDLK_HOME: return KeyCode::Home;
    case SDLK_END: return KeyCode::End;
    case SDLK_PAGEUP: return KeyCode::PageUp;
    case SDLK_PAGEDOWN: return KeyCode::PageDown;
    case SDLK_ESCAPE: return KeyCode::Escape;
    case SDLK_SPACE: return KeyCode::Space;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return KeyCode::Enter;
    case SDLK_BACKSPACE: return 0x08;
    case SDLK_TAB: return KeyCode::Tab;
    case SDLK_COMMA: return KeyCode::Comma;
    case SDLK_PERIOD: return KeyCode::Period;
    case SDLK_EQUALS:
    case SDLK_PLUS: return KeyCode::Plus;
    case SDLK_MINUS: return KeyCode::Minus;
    case SDLK_KP_PLUS: return KeyCode::NumpadPlus;
    case SDLK_KP_MINUS: return KeyCode::NumpadMinus;
    case SDLK_LEFTBRACKET: return KeyCode::BracketLeft;
    case SDLK_RIGHTBRACKET: return KeyCode::BracketRight;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 0x10;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 0x11;
    case SDLK_LALT:
    case SDLK_RALT: return 0x12;
    case SDLK_INSERT: return 0x2D;
    case SDLK_DELETE: return KeyCode::Delete;
    default: return 0;
    }
}
