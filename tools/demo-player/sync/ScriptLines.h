#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The script split as the demo's reader splits it (demo/ScriptLineReader): lines of at most
// 255 characters, a line feed (or carriage return and line feed) ending one, and empty
// lines once the text has ended. Each line keeps where its bytes lie, so that an edit can
// replace exactly one line and leave every other byte.
struct ScriptLine {
    size_t begin = 0, end = 0;   // the content's bytes
    size_t next = 0;             // where the following line begins (after the line break)
    int32_t fileLine = 0;        // counted by line feeds, as an editor shows it
    bool real = false;           // read from the text, not after its end
    bool broken = false;         // ended by a line break (not by the length limit or the end)
};

// The lines the demo's reader reads and what it makes of them.
struct ScriptLayout {
    std::vector<ScriptLine> lines;   // in reading order, up to the last one read
    bool header = false;
    size_t eventCountLine = 0;       // an index into `lines`
    int32_t eventCount = 0;          // as read (the reader takes none when 0 or less)
    struct Record {
        size_t first;                // index of its first line; the record has three
    };
    std::vector<Record> events;      // name, time, ignored line
    size_t changeCountLine = 0;
    int32_t changeCount = 0;
    std::vector<Record> changes;     // label, time, ignored line
    bool cutShort = false;           // the text ended before a line the reader takes
};

ScriptLayout layoutScript(const std::string& text);

// The line's content.
inline std::string lineText(const std::string& text, const ScriptLine& line) {
    return text.substr(line.begin, line.end - line.begin);
}

// atoi's reading of a count or an event time, saturating beyond 32 bits as the demo's reader does.
int32_t scriptInteger(const std::string& content);
// atof's, narrowed to the reader's 32-bit float.
double scriptSeconds(const std::string& content);
