#pragma once
#include <cstdint>

#include "Timeline.h"
#include "display/SdlWindowCore.h"

class PlayerController;
class SyncEditor;

// Where the window's input goes: the sync editor's keys to it, the timeline's own keys
// and pointer here (a press on a tick selects and drags it, elsewhere it seeks and scrubs),
// the player's keys to the controller. A held key repeats only what moves (seeks, steps,
// zoom, the selection), never a toggle: holding Space pauses once.
class PlayerInput {
public:
    PlayerInput(PlayerController& controller, SyncEditor& editor, Timeline& timeline)
        : controller(controller), editor(editor), timeline(timeline) {}

    // timelineTop: the timeline's top row in the window's logical pixels, -1 while hidden.
    void handle(const WindowEvent& event, int32_t timelineTop, const TimelineContent& content);
    // After a pass's input: the pointer's last move, for a scrub or a drag. Moves are
    // taken once a pass, since each one restarts the show or applies the script.
    void settlePointer();
    bool timelineShown() const { return showTimeline; }

private:
    void handleKey(const WindowEvent& event, const TimelineContent& content);
    void seekTo(double seconds);

    PlayerController& controller;
    SyncEditor& editor;
    Timeline& timeline;
    bool showTimeline = true;
    bool scrubbing = false;
    bool pointerMoved = false;
    int32_t pointerX = 0;
};

// True for the keys that act again while held.
bool repeatsWhenHeld(int32_t code);
