#include "PlayerInput.h"

#include <cmath>

#include "PlayerController.h"
#include "SyncEditor.h"

bool repeatsWhenHeld(int32_t code) {
    switch (code) {
    case KeyCode::Left:
    case KeyCode::Right:
    case KeyCode::Up:
    case KeyCode::Down:
    case KeyCode::PageUp:
    case KeyCode::PageDown:
    case KeyCode::Period:
    case KeyCode::Comma:
    case KeyCode::Plus:
    case KeyCode::Minus:
    case KeyCode::NumpadPlus:
    case KeyCode::NumpadMinus: return true;
    default: return false;
    }
}

void PlayerInput::handle(const WindowEvent& event, int32_t timelineTop, const TimelineContent& content) {
    switch (event.kind) {
    case WindowEvent::Kind::Key: handleKey(event, content); break;
    case WindowEvent::Kind::PointerDown:
        pointerMoved = false;
        if (timelineTop < 0 || event.y < timelineTop || event.y >= timelineTop + Timeline::kHeight) break;
        if (editor.pointerDown(timeline.hitTest(event.x, event.y - timelineTop, content))) break;
        scrubbing = true;
        seekTo(timeline.timeAt(event.x));
        break;
    case WindowEvent::Kind::PointerMove:
        pointerMoved = true;
        pointerX = event.x;
        break;
    case WindowEvent::Kind::PointerUp:
        settlePointer();
        scrubbing = false;
        editor.pointerUp();
        break;
    case WindowEvent::Kind::Wheel: timeline.zoom(event.steps, content.playhead, content.length); break;
    default: break;
    }
}

void PlayerInput::settlePointer() {
    if (!pointerMoved) return;
    pointerMoved = false;
    if (scrubbing) seekTo(timeline.timeAt(pointerX));
    else editor.pointerMove(timeline.timeAt(pointerX));
}

void PlayerInput::handleKey(const WindowEvent& event, const TimelineContent& content) {
    const int32_t code = event.key.code;
    if (editor.handleKey(event.key, event.repeat)) return;
    if (event.repeat && !repeatsWhenHeld(code)) return;
    if (code == KeyCode::LetterA + ('T' - 'A')) {
        showTimeline = !showTimeline;
    } else if (code == KeyCode::Plus || code == KeyCode::NumpadPlus) {
        timeline.zoom(1, content.playhead, content.length);
    } else if (code == KeyCode::Minus || code == KeyCode::NumpadMinus) {
        timeline.zoom(-1, content.playhead, content.length);
    } else {
        controller.handleKey(code);
    }
}

// The music follows: a seek moves it with the time.
void PlayerInput::seekTo(double seconds) { controller.seek(static_cast<int64_t>(std::llround(seconds * 1000.0))); }
