#include "SyncChecks.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/Units.h"
#include "demo/SyncScript.h"
#include "parts/Show.h"

namespace {

// A whole number as atoi would read it in full: blanks, a sign, digits, blanks.
bool wholeNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) i++;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) i++;
    const size_t digits = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) i++;
    if (i == digits) return false;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) i++;
    return i == text.size();
}

// A decimal number as atof would read it in full.
bool decimalNumber(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    std::strtod(begin, &end);
    if (end == begin) return false;
    while (*end && std::isspace(static_cast<unsigned char>(*end))) end++;
    return *end == '\0';
}

bool blank(const std::string& text) {
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string quoted(const std::string& text) {
    constexpr size_t kShown = 40;
    return "\"" + (text.size() > kShown ? text.substr(0, kShown) + "..." : text) + "\"";
}

std::string secondsText(double seconds) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", seconds);
    return buffer;
}

class Checker {
public:
    Checker(const std::string& text, const ScriptLayout& layout) : text(text), layout(layout) {}

    std::vector<SyncWarning> run() {
        checkLongLines();
        if (!layout.header) {
            const std::string first = lineText(text, layout.lines[0]);
            warn(1, text.empty() ? "the file is empty: the demo reads no events and no changes"
                                 : "the first line is " + quoted(first) +
                                       ", not QRM SYNCSCRIPT: the demo reads nothing from this file",
                 true);
            return sorted();
        }
        checkCount(layout.eventCountLine, "event");
        for (size_t i = 0; i < layout.events.size(); i++) checkEvent(i);
        if (!layout.cutShort) {
            checkCount(layout.changeCountLine, "change");
            for (size_t i = 0; i < layout.changes.size(); i++) checkChange(i);
        }
        checkEnd();
        return sorted();
    }

private:
    void warn(int32_t line, std::string message, bool fatal = false) {
        found.push_back({line, std::move(message), fatal});
    }
    const ScriptLine& line(size_t index) const { return layout.lines[index]; }
    std::string content(size_t index) const { return lineText(text, layout.lines[index]); }

    std::vector<SyncWarning> sorted() {
        std::stable_sort(found.begin(), found.end(),
                         [](const SyncWarning& a, const SyncWarning& b) { return a.line < b.line; });
        return found;
    }

    void checkLongLines() {
        for (const ScriptLine& each : layout.lines)
            if (each.real && !each.broken && each.next < text.size())
                warn(each.fileLine, "the line is longer than 255 characters: the rest is read as the next line");
    }

    void checkCount(size_t index, const std::string& kind) {
        const std::string value = content(index);
        if (!wholeNumber(value))
            warn(line(index).fileLine, "the " + kind + " count " + quoted(value) + " is not a whole number: read as " +
                                           std::to_string(scriptInteger(value)));
        else if (scriptInteger(value) < 0)
            warn(line(index).fileLine, "the " + kind + " count is below 0: read as no " + kind + "s");
    }

    void checkEvent(size_t i) {
        const size_t first = layout.events[i].first;
        const int32_t at = line(first).fileLine;
        const std::string name = content(first);
        if (static_cast<int32_t>(i) == SyncScript::kMaxEvents)
            warn(at, "events beyond " + std::to_string(SyncScript::kMaxEvents) + " are dropped");
        if (name.empty())
            warn(at, "the event has an empty name: it cues nothing");
        else if (wholeNumber(name) || decimalNumber(name))
            warn(at, "the event name " + quoted(name) + " is a number: does the event count match the records?");
        const std::string time = content(first + 1);
        const int32_t bytes = scriptInteger(time);
        const int32_t timeAt = line(first + 1).fileLine;
        if (!wholeNumber(time))
            warn(timeAt, "the event time " + quoted(time) + " is not a whole number of music bytes (" +
                             std::to_string(units::kMusicBytesPerSecond) + " a second): read as " + std::to_string(bytes));
        else if (bytes < 0)
            warn(timeAt, "the event time is before the music starts: it fires at once");
        else if (bytes == INT32_MAX)
            warn(timeAt, "the event time is beyond any music position: read as " + std::to_string(bytes));
    }

    void checkChange(size_t i) {
        const size_t first = layout.changes[i].first;
        const std::string value = content(first + 1);
        const double seconds = scriptSeconds(value);
        const int32_t at = line(first + 1).fileLine;
        if (static_cast<int32_t>(i) == SyncScript::kMaxChanges)
            warn(at, "change times beyond " + std::to_string(SyncScript::kMaxChanges) + " are dropped");
        else if (static_cast<int32_t>(i) == show::kPartCount - 1)
            warn(at, "the show has " + std::to_string(show::kPartCount) +
                         " parts: this change and later ones start no part");
        if (!decimalNumber(value)) {
            warn(at, "the change time " + quoted(value) + " is not a number of seconds: read as " + secondsText(seconds));
        } else if (!std::isfinite(seconds)) {
            warn(at, "the change time " + quoted(value) + " is not a finite time in the demo's 32-bit seconds");
            return;
        } else if (seconds < 0) {
            warn(at, "the change time is below 0: the part before it never shows");
        }
        if (i > 0 && static_cast<int32_t>(i) < SyncScript::kMaxChanges) {
            const std::string before = content(layout.changes[i - 1].first + 1);
            const double previous = scriptSeconds(before);
            if (std::isfinite(previous) && !(seconds > previous))
                warn(at, "the change time " + secondsText(seconds) + " is not after the one before (" +
                             secondsText(previous) + "): the demo sorts them, so parts get other windows");
        }
    }

    void checkEnd() {
        if (layout.cutShort) {
            const bool inEvents = static_cast<int32_t>(layout.events.size()) < layout.eventCount;
            const std::string missing = inEvents
                                            ? std::to_string(layout.eventCount) + " events its count announces (" +
                                                  std::to_string(layout.events.size()) + " there)"
                                            : std::to_string(layout.changeCount) + " changes its count announces (" +
                                                  std::to_string(layout.changes.size()) + " there)";
            warn(lastFileLine(), "the file ends before the " + missing, true);
            return;
        }
        const ScriptLine* last = lastValueLine(layout);
        if (last && !last->broken && last->real && last->next == text.size())
            warn(last->fileLine, "the file ends inside this line, without a line break: is it still being written?",
                 true);
        // What follows the last record is not read: more records there mean a count too small.
        size_t position = layout.lines.back().next;
        int32_t fileLine = layout.lines.back().fileLine + (layout.lines.back().broken ? 1 : 0);
        while (position < text.size()) {
            size_t end = text.find('\n', position);
            if (end == std::string::npos) end = text.size();
            if (!blank(text.substr(position, end - position))) {
                warn(fileLine, "text after the last change record is not read: does the change count match the records?");
                return;
            }
            position = end + 1;
            fileLine++;
        }
    }

    int32_t lastFileLine() const {
        int32_t lineNumber = 1;
        for (const ScriptLine& each : layout.lines)
            if (each.real) lineNumber = each.fileLine;
        return lineNumber;
    }

    const std::string& text;
    const ScriptLayout& layout;
    std::vector<SyncWarning> found;
};

}  // namespace

const ScriptLine* lastValueLine(const ScriptLayout& layout) {
    if (!layout.header) return nullptr;
    if (layout.cutShort) return &layout.lines.back();
    if (!layout.changes.empty()) return &layout.lines[layout.changes.back().first + 1];
    return &layout.lines[layout.changeCountLine];
}

std::vector<SyncWarning> checkScript(const std::string& text, const ScriptLayout& layout) {
    return Checker(text, layout).run();
}
