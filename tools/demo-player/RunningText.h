#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The part of a line that a strip `columns` characters wide shows at `ms`: the line itself
// when it fits; otherwise it runs through the strip, a character every 150 ms, with a gap
// between its end and its start again, so that a long message can be read in full.
inline std::string runningText(const std::string& line, size_t columns, int64_t ms) {
    if (line.size() <= columns) return line;
    const std::string loop = line + "   ";
    const size_t first = static_cast<size_t>(ms < 0 ? 0 : ms / 150) % loop.size();
    return (loop + loop).substr(first, columns);
}
