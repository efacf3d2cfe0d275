#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "SyncDocument.h"
#include "Timeline.h"
#include "display/PixelToolkit.h"

class PlayerController;

// The sync editor in the player: the show's script as a document that the keys and the
// timeline's pointer edit, each edit applied to the show at once and undoable; saving it
// where the build says it belongs; and the quit that asks once while edits are unsaved.
class SyncEditor {
public:
    // latencySeconds: how long the sound takes from the music position to the ear (the
    // output device's buffer); a cue dropped while playing lands that much earlier.
    SyncEditor(PlayerController& controller, SaveTargets targets, double latencySeconds);

    // Reads the script the controller plays. False (and nothing to edit) when it is no
    // script or a file cut short: the reason is in message().
    bool load(const std::string& text);

    // An editing key (with its modifiers): true when it was the editor's. Escape and Q are
    // taken once while edits are unsaved, to ask.
    bool handleKey(const ToolkitKey& key, bool repeat);
    // The pointer on the timeline: a press on an event tick or a part change selects it
    // (true) and a move drags it, one undo step; false leaves the press to the caller.
    bool pointerDown(const Timeline::Hit& hit);
    void pointerMove(double seconds);
    void pointerUp();

    // The script changed on disk and may be applied: false while edits are unsaved (they
    // stay; R reads the file then). Otherwise the document becomes the file's.
    bool takeChangedFile(const std::string& text);

    // The events, changes and selection for the timeline.
    void fill(TimelineContent& content) const;
    bool modified() const { return document.modified(); }
    // The status line: '*' while edits are unsaved, then the controller's line, or a
    // message the editor has for the user.
    std::string statusLine(const std::string& playerLine) const;
    const SyncDocument& script() const { return document; }

private:
    struct Item {
        double seconds;
        TimelineContent::Kind kind;
        int32_t index;
    };
    std::vector<Item> itemsInTimeOrder() const;
    void addEventHere(bool snapped);
    void selectNeighbour(int32_t direction);
    void moveSelection(double seconds, bool continuing);
    void nudgeSelection(double by);
    double selectedSeconds() const;
    void edited(bool done, const std::string& what);
    void reloadFromDisk();
    void say(const std::string& text);
    bool save();
    void select(TimelineContent::Kind kind, int32_t index);

    PlayerController& controller;
    SaveTargets targets;
    double latency;
    SyncDocument document;
    bool editable = false;
    TimelineContent::Kind selectedKind = TimelineContent::Kind::None;
    int32_t selected = -1;
    bool dragging = false;
    bool dragMoved = false;
    bool quitAsked = false;
    std::string heldFile;   // a change on disk not applied while edits are unsaved
    bool fileHeld = false;
    std::string note;
    int64_t noteUntilMs = 0;
};
