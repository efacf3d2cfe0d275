#include "SyncDocument.h"

#include <cmath>
#include <cstdio>

#include "SyncChecks.h"

namespace {

// Change times to the millisecond, with at least one decimal: "72.0", "72.5", "72.017".
std::string secondsText(double seconds) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", seconds);
    std::string text = buffer;
    while (text.back() == '0' && text[text.size() - 2] != '.') text.pop_back();
    return text;
}

bool usableName(const std::string& name) {
    return !name.empty() && name.size() <= 255 && name.find_first_of("\r\n") == std::string::npos;
}

// Moves are keyed by kind and index, so that a drag of event 2 is not folded into a
// drag of change 2.
size_t eventKey(size_t i) { return i * 2; }
size_t changeKey(size_t i) { return i * 2 + 1; }

// The demo's windows end here; a change beyond it would never come.
constexpr double kEndOfWindows = 100000.0;

}  // namespace

SyncDocument::SyncDocument(std::string text) : current(std::move(text)), savedText(current) { reparse(); }

bool SyncDocument::isScript() const { return script; }
bool SyncDocument::complete() const { return whole; }
const std::vector<SyncEventRecord>& SyncDocument::events() const { return eventList; }
const std::vector<SyncChangeRecord>& SyncDocument::changes() const { return changeList; }
const std::vector<SyncWarning>& SyncDocument::warnings() const { return warningList; }

void SyncDocument::setText(std::string text, bool continuing, size_t movedBefore, size_t movedAfter) {
    if (text == current) return;
    const bool fold = continuing && movedBefore != kNoIndex && movedBefore == lastMoved && !undoSteps.empty();
    if (!fold) undoSteps.push_back(current);
    redoSteps.clear();
    lastMoved = movedAfter;
    current = std::move(text);
    reparse();
}

void SyncDocument::reparse() {
    layout = layoutScript(current);
    script = layout.header;
    const ScriptLine* last = lastValueLine(layout);
    // A file that ends inside its last value may be one still being written.
    whole = script && !layout.cutShort && last && (last->broken || last->next < current.size());
    eventList.clear();
    for (const ScriptLayout::Record& record : layout.events) {
        const ScriptLine& name = layout.lines[record.first];
        eventList.push_back({lineText(current, name), scriptInteger(lineText(current, layout.lines[record.first + 1])),
                             name.fileLine});
    }
    changeList.clear();
    for (const ScriptLayout::Record& record : layout.changes) {
        const ScriptLine& time = layout.lines[record.first + 1];
        changeList.push_back({lineText(current, layout.lines[record.first]), scriptSeconds(lineText(current, time)),
                              time.fileLine});
    }
    warningList = checkScript(current, layout);
    // Every line up to the last change time must end in a line break, or rewriting one
    // would join it to the next.
    editable = whole;
    for (const ScriptLine& line : layout.lines)
        if (editable && &line <= last) editable = line.broken;
}

std::vector<std::string> SyncDocument::eventRecords() const {
    std::vector<std::string> records;
    for (const ScriptLayout::Record& record : layout.events) {
        const size_t begin = layout.lines[record.first].begin;
        records.push_back(current.substr(begin, layout.lines[record.first + 2].next - begin));
    }
    return records;
}

std::string SyncDocument::withEvents(const std::vector<std::string>& records) const {
    const ScriptLine& countLine = layout.lines[layout.eventCountLine];
    std::string text = current.substr(0, countLine.begin) + std::to_string(records.size());
    const size_t sectionEnd = layout.lines[layout.changeCountLine].begin;
    text += current.substr(countLine.end, countLine.next - countLine.end);
    for (const std::string& record : records) text += record;
    return text + current.substr(sectionEnd);
}

size_t SyncDocument::addEvent(const std::string& name, int32_t bytes) {
    if (!editable || !usableName(name) || bytes < 0) return kNoIndex;
    size_t at = 0;
    for (size_t j = 0; j < eventList.size(); j++)
        if (eventList[j].bytes <= bytes) at = j + 1;
    const ScriptLine& countLine = layout.lines[layout.eventCountLine];
    const std::string lineBreak = current.substr(countLine.end, countLine.next - countLine.end);
    std::vector<std::string> records = eventRecords();
    records.insert(records.begin() + static_cast<ptrdiff_t>(at),
                   name + lineBreak + std::to_string(bytes) + lineBreak + lineBreak);
    setText(withEvents(records));
    return at;
}

size_t SyncDocument::moveEvent(size_t i, int32_t bytes, bool continuing) {
    if (!editable || i >= eventList.size() || bytes < 0) return kNoIndex;
    std::vector<std::string> records = eventRecords();
    std::vector<int32_t> times;
    for (const SyncEventRecord& event : eventList) times.push_back(event.bytes);
    // The record with its new time: the time line's content replaced, its break kept.
    const ScriptLine& timeLine = layout.lines[layout.events[i].first + 1];
    const size_t recordBegin = layout.lines[layout.events[i].first].begin;
    std::string& record = records[i];
    record.replace(timeLine.begin - recordBegin, timeLine.end - timeLine.begin, std::to_string(bytes));
    // It passes those it moves beyond and lands after the ones at its new time.
    size_t at = i;
    if (bytes < times[i])
        while (at > 0 && times[at - 1] > bytes) at--;
    else if (bytes > times[i])
        while (at + 1 < times.size() && times[at + 1] <= bytes) at++;
    std::string moved = std::move(record);
    records.erase(records.begin() + static_cast<ptrdiff_t>(i));
    records.insert(records.begin() + static_cast<ptrdiff_t>(at), std::move(moved));
    setText(withEvents(records), continuing, eventKey(i), eventKey(at));
    return at;
}

bool SyncDocument::removeEvent(size_t i) {
    if (!editable || i >= eventList.size()) return false;
    std::vector<std::string> records = eventRecords();
    records.erase(records.begin() + static_cast<ptrdiff_t>(i));
    setText(withEvents(records));
    return true;
}

bool SyncDocument::moveChange(size_t i, double seconds, bool continuing) {
    if (!editable || i >= changeList.size() || !std::isfinite(seconds)) return false;
    const std::string content = secondsText(seconds);
    const double value = scriptSeconds(content);
    const double earliest = i > 0 ? changeList[i - 1].seconds : 0.0;
    const double latest = i + 1 < changeList.size() ? changeList[i + 1].seconds : kEndOfWindows;
    if (!(value > earliest && value < latest)) return false;
    const ScriptLine& line = layout.lines[layout.changes[i].first + 1];
    setText(current.substr(0, line.begin) + content + current.substr(line.end), continuing, changeKey(i),
            changeKey(i));
    return true;
}

bool SyncDocument::undo() {
    if (undoSteps.empty()) return false;
    redoSteps.push_back(std::move(current));
    current = std::move(undoSteps.back());
    undoSteps.pop_back();
    lastMoved = kNoIndex;
    reparse();
    return true;
}

bool SyncDocument::redo() {
    if (redoSteps.empty()) return false;
    undoSteps.push_back(std::move(current));
    current = std::move(redoSteps.back());
    redoSteps.pop_back();
    lastMoved = kNoIndex;
    reparse();
    return true;
}
