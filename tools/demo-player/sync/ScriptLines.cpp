#include "ScriptLines.h"

#include <strings.h>

#include <climits>
#include <cstdlib>

namespace {

constexpr size_t kMaxLine = 255;

class LineSplitter {
public:
    explicit LineSplitter(const std::string& text) : text(text) {}

    ScriptLine next() {
        ScriptLine line;
        line.begin = line.end = line.next = position;
        line.fileLine = fileLine;
        if (ended) return line;
        size_t length = 0;
        while (length < kMaxLine) {
            if (position == text.size()) {
                ended = true;
                break;
            }
            const char c = text[position++];
            if (c == '\r' && position < text.size() && text[position] == '\n') {
                ++position;
                line.broken = true;
                break;
            }
            if (c == '\n') {
                line.broken = true;
                break;
            }
            ++length;
        }
        line.end = line.begin + length;
        line.next = position;
        line.real = line.next > line.begin;
        if (line.broken) ++fileLine;
        return line;
    }

private:
    const std::string& text;
    size_t position = 0;
    int32_t fileLine = 1;
    bool ended = false;
};

}  // namespace

int32_t scriptInteger(const std::string& content) {
    const long value = std::strtol(content.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

double scriptSeconds(const std::string& content) {
    return static_cast<float>(std::atof(content.c_str()));
}

ScriptLayout layoutScript(const std::string& text) {
    ScriptLayout layout;
    LineSplitter splitter(text);
    // Reads a line; a line the reader takes a value from must come from the text.
    auto read = [&](bool meaningful) {
        layout.lines.push_back(splitter.next());
        if (meaningful && !layout.lines.back().real) layout.cutShort = true;
        return layout.lines.size() - 1;
    };
    const size_t header = read(true);
    layout.header = ::strcasecmp(lineText(text, layout.lines[header]).c_str(), "QRM SYNCSCRIPT") == 0;
    if (!layout.header) return layout;

    layout.eventCountLine = read(true);
    layout.eventCount = scriptInteger(lineText(text, layout.lines[layout.eventCountLine]));
    for (int32_t i = 0; i < layout.eventCount && !layout.cutShort; i++) {
        const size_t first = read(true);
        read(true);
        read(false);
        if (!layout.cutShort) layout.events.push_back({first});
    }
    if (layout.cutShort) return layout;
    layout.changeCountLine = read(true);
    layout.changeCount = scriptInteger(lineText(text, layout.lines[layout.changeCountLine]));
    for (int32_t i = 0; i < layout.changeCount && !layout.cutShort; i++) {
        const size_t first = read(false);
        read(true);
        read(false);
        if (!layout.cutShort) layout.changes.push_back({first});
    }
    return layout;
}
