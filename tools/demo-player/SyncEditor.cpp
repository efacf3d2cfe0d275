#include "SyncEditor.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "PlayerController.h"
#include "parts/Show.h"

namespace {

constexpr const char* kCueName = "POWPOW";
constexpr double kBeatSeconds = 60.0 / show::kBeatsPerMinute;
constexpr double kFrameSeconds = 1.0 / 60.0;
constexpr int64_t kNoteMs = 4000;

int32_t letter(char c) { return KeyCode::LetterA + (c - 'A'); }

int64_t wallMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

SyncEditor::SyncEditor(PlayerController& controller, SaveTargets targets, double latencySeconds)
    : controller(controller), targets(std::move(targets)), latency(latencySeconds) {}

bool SyncEditor::load(const std::string& text) {
    document = SyncDocument(text);
    selectedKind = TimelineContent::Kind::None;
    selected = -1;
    const std::string refusal = refusalOf(document);
    editable = refusal.empty();
    if (!editable) say("the script cannot be edited: " + refusal);
    return editable;
}

void SyncEditor::say(const std::string& text) {
    note = text;
    noteUntilMs = wallMs() + kNoteMs;
    std::fprintf(stderr, "demo-player: %s\n", text.c_str());
}

std::string SyncEditor::statusLine(const std::string& playerLine) const {
    const bool showNote = !note.empty() && (quitAsked || wallMs() < noteUntilMs);
    return std::string(document.modified() ? "*" : " ") + (showNote ? note : playerLine);
}

bool SyncEditor::handleKey(const ToolkitKey& key, bool repeat) {
    const int32_t code = key.code;
    const bool quitKey = code == KeyCode::Escape || code == letter('Q');
    if (quitKey && !repeat) {
        if (!document.modified() || quitAsked) return false;
        quitAsked = true;
        say("unsaved edits: Ctrl+S saves them; Escape or Q again quits without saving");
        return true;
    }
    if (code == letter('R') && !repeat && fileHeld) {
        reloadFromDisk();
        return true;
    }
    if (!editable) return false;
    const bool moves = code == KeyCode::Left || code == KeyCode::Right;
    if (repeat && !(moves && key.shift)) return false;

    if (key.control && !key.alt) {
        if (code == letter('Z') && !key.shift) edited(document.undo(), "nothing to undo");
        else if (code == letter('Y') || (code == letter('Z') && key.shift)) edited(document.redo(), "nothing to redo");
        else if (code == letter('S')) save();
        else if (!(moves && key.shift)) return false;
        if (moves) nudgeSelection(code == KeyCode::Right ? kFrameSeconds : -kFrameSeconds);
        return true;
    }
    if (key.alt) return false;
    if (code == letter('E')) addEventHere(!key.shift);
    else if (code == KeyCode::BracketLeft) selectNeighbour(-1);
    else if (code == KeyCode::BracketRight) selectNeighbour(1);
    else if (code == KeyCode::Delete && selectedKind == TimelineContent::Kind::Event)
        edited(document.removeEvent(static_cast<size_t>(selected)), "");
    else if (moves && key.shift && selectedKind != TimelineContent::Kind::None)
        nudgeSelection(code == KeyCode::Right ? kBeatSeconds : -kBeatSeconds);
    else return false;
    return true;
}

// While playing, what is heard lags the music position by the output buffer.
void SyncEditor::addEventHere(bool snapped) {
    double seconds = static_cast<double>(controller.timeMs()) / 1000.0;
    if (!controller.paused()) seconds = std::max(0.0, seconds - latency);
    if (snapped) seconds = snapToBeat(seconds);
    const size_t index = document.addEvent(kCueName, musicBytesAt(seconds));
    if (index == SyncDocument::kNoIndex) {
        say("the event was refused");
        return;
    }
    edited(true, "");
    select(TimelineContent::Kind::Event, static_cast<int32_t>(index));
}

std::vector<SyncEditor::Item> SyncEditor::itemsInTimeOrder() const {
    std::vector<Item> items;
    for (size_t i = 0; i < document.events().size(); i++)
        items.push_back({secondsAtBytes(document.events()[i].bytes), TimelineContent::Kind::Event, int32_t(i)});
    for (size_t i = 0; i < document.changes().size(); i++)
        items.push_back({document.changes()[i].seconds, TimelineContent::Kind::Change, int32_t(i)});
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.seconds < b.seconds; });
    return items;
}

// From the selection, or from the playhead when nothing is selected.
void SyncEditor::selectNeighbour(int32_t direction) {
    const std::vector<Item> items = itemsInTimeOrder();
    if (items.empty()) return;
    auto current = std::find_if(items.begin(), items.end(), [&](const Item& item) {
        return item.kind == selectedKind && item.index == selected;
    });
    int64_t at = 0;
    if (current != items.end()) {
        at = (current - items.begin()) + direction;
    } else {
        const double now = static_cast<double>(controller.timeMs()) / 1000.0;
        const auto after = std::upper_bound(items.begin(), items.end(), now,
                                            [](double t, const Item& item) { return t < item.seconds; });
        at = (after - items.begin()) - (direction < 0 ? 1 : 0);
    }
    at = std::clamp<int64_t>(at, 0, static_cast<int64_t>(items.size()) - 1);
    select(items[at].kind, items[at].index);
}

void SyncEditor::select(TimelineContent::Kind kind, int32_t index) {
    selectedKind = kind;
    selected = index;
}

double SyncEditor::selectedSeconds() const {
    if (selectedKind == TimelineContent::Kind::Event) return secondsAtBytes(document.events()[selected].bytes);
    return document.changes()[selected].seconds;
}

void SyncEditor::nudgeSelection(double by) {
    if (selectedKind == TimelineContent::Kind::None) return;
    moveSelection(selectedSeconds() + by, false);
}

void SyncEditor::moveSelection(double seconds, bool continuing) {
    if (selectedKind == TimelineContent::Kind::Event) {
        const size_t index = document.moveEvent(static_cast<size_t>(selected), musicBytesAt(std::max(0.0, seconds)),
                                                continuing);
        if (index == SyncDocument::kNoIndex) return;
        selected = static_cast<int32_t>(index);
        edited(true, "");
    } else if (selectedKind == TimelineContent::Kind::Change) {
        // A part change stays between its neighbours: the move is refused past them.
        edited(document.moveChange(static_cast<size_t>(selected), seconds, continuing), dragging ? "" : "a part change cannot pass its neighbours");
    }
}

bool SyncEditor::pointerDown(const Timeline::Hit& hit) {
    if (!editable || hit.kind == TimelineContent::Kind::None) return false;
    select(hit.kind, hit.index);
    dragging = true;
    dragMoved = false;
    return true;
}

void SyncEditor::pointerMove(double seconds) {
    if (!dragging) return;
    moveSelection(seconds, dragMoved);
    dragMoved = true;
}

void SyncEditor::pointerUp() { dragging = false; }

// After every edit, undo and redo: the show plays the document, and a selection that no
// longer exists goes.
void SyncEditor::edited(bool done, const std::string& refusal) {
    if (!done) {
        if (!refusal.empty()) say(refusal);
        return;
    }
    quitAsked = false;
    const size_t count = selectedKind == TimelineContent::Kind::Event ? document.events().size()
                                                                       : document.changes().size();
    if (selected < 0 || static_cast<size_t>(selected) >= count) select(TimelineContent::Kind::None, -1);
    controller.applyScript(document.text());
}

bool SyncEditor::save() {
    std::string failure;
    for (const std::string& path : targets.paths) {
        if (!saveScript(path, document.text(), failure)) {
            say("not saved: " + failure);
            return false;
        }
    }
    // The file now on disk is ours: no reload of what was just written.
    controller.scriptWritten();
    document.markSaved();
    quitAsked = false;
    fileHeld = false;
    say("saved " + targets.paths.front() + (targets.paths.size() > 1 ? " and " + targets.paths[1] : ""));
    return true;
}

bool SyncEditor::takeChangedFile(const std::string& text) {
    if (document.modified()) {
        heldFile = text;
        fileHeld = true;
        say("the script changed on disk; your edits stay (R reads the file, dropping them)");
        return false;
    }
    load(text);
    return true;
}

void SyncEditor::reloadFromDisk() {
    fileHeld = false;
    load(heldFile);
    quitAsked = false;
    controller.applyScript(document.text());
    say("read the script from disk");
}

void SyncEditor::fill(TimelineContent& content) const {
    content.events.clear();
    for (const SyncEventRecord& event : document.events())
        content.events.push_back({secondsAtBytes(event.bytes), event.name});
    content.changes.clear();
    for (const SyncChangeRecord& change : document.changes()) content.changes.push_back(change.seconds);
    content.selectedKind = selectedKind;
    content.selected = selected;
}
