#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ScriptLines.h"

// The player's sync editor on plain data: the show's script as a document that edits only
// its own records and counts and keeps every other byte, the checks that find what the
// demo's reader would silently misread, and the reading and saving around it. Nothing
// here knows the window, the keys or the runner.

// One event record: the name and the music position (bytes of the stream) as the demo's
// reader takes them, and the line of its name (1 = the header).
struct SyncEventRecord {
    std::string name;
    int32_t bytes = 0;
    int32_t line = 0;
};

// One change record: its label (the line the reader ignores), the change time in seconds
// as the reader takes it (a 32-bit float), and the line of its time.
struct SyncChangeRecord {
    std::string label;
    double seconds = 0.0;
    int32_t line = 0;
};

// What the checks found: the line (1 = the header) and a sentence that says what the
// demo's reader does with it. A fatal finding (no header, a file cut short) keeps the
// player from applying the file.
struct SyncWarning {
    int32_t line = 0;
    std::string message;
    bool fatal = false;
};

// The script as text, read as the demo's reader reads it. Edits rewrite only the lines of
// the records they touch and the event count; each one is a step that undo takes back,
// without limit, so undoing every edit gives the text it was made from byte for byte.
class SyncDocument {
public:
    static constexpr size_t kNoIndex = static_cast<size_t>(-1);

    explicit SyncDocument(std::string text = std::string());

    // The file to write.
    const std::string& text() const { return current; }
    // The header is right, so the demo reads records from it.
    bool isScript() const;
    // It holds every record its counts announce and ends after its last value with a line
    // break (a file cut short, or one that stops inside its last value, may still be being
    // written). Only a whole script takes edits.
    bool complete() const;

    // In file order.
    const std::vector<SyncEventRecord>& events() const;
    const std::vector<SyncChangeRecord>& changes() const;
    // The checks of the current text, in line order.
    const std::vector<SyncWarning>& warnings() const;

    // Adds an event; its record goes in time order, after those at the same time. The
    // index of the new record, or kNoIndex when refused (no script, a name that is empty,
    // longer than a line or with a line break, bytes below 0).
    size_t addEvent(const std::string& name, int32_t bytes);
    // Gives event i a new time; the record moves among the others to keep time order. Its
    // new index, or kNoIndex when refused. `continuing` folds it into the previous step
    // when that moved the same event (a drag is one step).
    size_t moveEvent(size_t i, int32_t bytes, bool continuing = false);
    bool removeEvent(size_t i);
    // Gives change i a new time (written to the millisecond); refused unless it stays
    // after the previous change (or 0) and before the next one.
    bool moveChange(size_t i, double seconds, bool continuing = false);

    bool undo();
    bool redo();
    bool canUndo() const { return !undoSteps.empty(); }
    bool canRedo() const { return !redoSteps.empty(); }
    // The text differs from the one last saved (or read).
    bool modified() const { return current != savedText; }
    // The current text is what the file now holds.
    void markSaved() { savedText = current; }

private:
    // Makes `text` the current one as one undo step (none when nothing changed). `moved`
    // names the record the step moves before and after it, for `continuing`.
    void setText(std::string text, bool continuing = false, size_t movedBefore = kNoIndex,
                 size_t movedAfter = kNoIndex);
    void reparse();
    // The text with the event records in this order (each one's bytes) and count.
    std::string withEvents(const std::vector<std::string>& records) const;
    std::vector<std::string> eventRecords() const;

    std::string current;
    std::string savedText;
    std::vector<std::string> undoSteps;
    std::vector<std::string> redoSteps;
    size_t lastMoved = kNoIndex;   // the record the last step moved, for `continuing`
    ScriptLayout layout;
    bool editable = false;         // whole, and every line an edit touches ends in a line break
    std::vector<SyncEventRecord> eventList;
    std::vector<SyncChangeRecord> changeList;
    std::vector<SyncWarning> warningList;
    bool script = false;
    bool whole = false;
};

// Music positions and the show's beat.
// The music position of a time: bytes of the stream, on a whole sample frame.
int32_t musicBytesAt(double seconds);
double secondsAtBytes(int32_t bytes);
// The nearest beat at the show's tempo (a half beat rounds up).
double snapToBeat(double seconds);

// Writes `text` as the file at `path` atomically: a temporary file beside it, then a
// rename over it; the previous file, if there was one, is kept as `path` + "~". False,
// with the reason in `error`, when it cannot (the file then is as it was).
bool saveScript(const std::string& path, const std::string& text, std::string& error);

// Where the player saves: into the show's source script and the stage copy when it plays
// the stage the build made from that source tree, into the stage copy alone otherwise.
struct SaveTargets {
    std::vector<std::string> paths;   // the stage's script first
    std::string note;                  // what the player tells the user about it
};
// `stageScript`: the script the player plays; `buildStage`, `sourceScript`: what the build
// recorded (empty when it recorded nothing).
SaveTargets saveTargets(const std::string& stageScript, const std::string& buildStage,
                        const std::string& sourceScript);
// The same with what this build recorded: its stage folder and the show's script in the
// source tree it was built from.
SaveTargets saveTargetsOfThisBuild(const std::string& stageScript);

// When to read a script that changed on disk: once its stamp (size and modification time,
// empty when the file is missing) has stopped changing for kSettleNs, so that a file being
// written is read when it is done.
class ScriptSettle {
public:
    static constexpr int64_t kSettleNs = 200000000;

    explicit ScriptSettle(std::string readStamp = std::string()) : readStamp(std::move(readStamp)) {}
    // True once per settled change: the caller reads the file now.
    bool due(const std::string& stamp, int64_t nowNs);
    // The file now has this stamp and needs no reading (it was just read or written).
    void markRead(const std::string& stamp);

private:
    std::string readStamp;
    std::string seenStamp;
    int64_t seenSinceNs = 0;
    bool waiting = false;
};

// Why a script read from disk is not applied ("" when it may be): no header, or a file
// that ends before the records its counts announce.
std::string refusalOf(const SyncDocument& document);
// The checks' findings as the player says them: "synkTest.snc line 7: ...".
std::vector<std::string> scriptFindings(const std::string& fileName, const SyncDocument& document);
