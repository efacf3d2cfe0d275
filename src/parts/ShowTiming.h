#pragma once
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Units.h"

// The show's timing as its sync script holds it (show/synkTest.snc in the source tree, the
// one place it is written down): when each part after the first begins, and the cue events.
// The data generator lays out the music by it and the tests take their expectations from
// it. The reader is strict: the script is
// ours, so what the demo's reader would take in some odd way is refused, with its line.
// Besides the standard library it needs only the units header.
namespace show {

struct Cue {
    std::string name;
    int32_t bytes;   // music position: bytes of 44.1 kHz 16-bit stereo
    double seconds() const { return static_cast<double>(bytes) / units::kMusicBytesPerSecond; }
};

struct Timing {
    std::vector<double> changes;   // seconds, ascending: where parts 1, 2, ... begin
    std::vector<Cue> cues;         // in file order, which is time order

    double partStart(int part) const { return part == 0 ? 0.0 : changes[static_cast<size_t>(part - 1)]; }
    // The "POWPOW" cues from the start of `part` up to the next part's start, in seconds.
    std::vector<double> flashesOf(int part) const {
        const double end = static_cast<size_t>(part) < changes.size() ? partStart(part + 1) : 1e30;
        std::vector<double> found;
        for (const Cue& cue : cues)
            if (cue.name == "POWPOW" && cue.seconds() >= partStart(part) && cue.seconds() < end)
                found.push_back(cue.seconds());
        return found;
    }
};

// Reads the script's text; false with `error` ("line N: ...") when it is not a whole and
// plain script: the header, counts that match the records, whole-number event times in
// time order, change times ascending.
inline bool readTiming(const std::string& text, Timing& timing, std::string& error) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        at = end + 1;
    }
    size_t next = 0;
    auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(next) + ": " + what;
        return false;
    };
    auto line = [&]() -> const std::string* { return next < lines.size() ? &lines[next++] : nullptr; };
    auto whole = [](const std::string* value, long& number) {
        char* end = nullptr;
        number = value && !value->empty() ? std::strtol(value->c_str(), &end, 10) : 0;
        return value && end && *end == '\0' && !value->empty();
    };
    const std::string* header = line();
    if (!header || *header != "QRM SYNCSCRIPT") return fail("the header is not QRM SYNCSCRIPT");
    long count = 0;
    if (!whole(line(), count) || count < 0) return fail("the event count is no count");
    timing = Timing();
    for (long i = 0; i < count; i++) {
        const std::string* name = line();
        long bytes = 0;
        if (!name || !whole(line(), bytes) || bytes < 0 || bytes > INT32_MAX) return fail("no event time");
        if (!timing.cues.empty() && bytes < timing.cues.back().bytes) return fail("the events are not in time order");
        timing.cues.push_back({*name, static_cast<int32_t>(bytes)});
        if (!line()) return fail("the event record ends early");
    }
    if (!whole(line(), count) || count < 0) return fail("the change count is no count");
    for (long i = 0; i < count; i++) {
        const std::string* label = line();
        const std::string* value = label ? line() : nullptr;
        char* end = nullptr;
        const double seconds = value ? std::strtod(value->c_str(), &end) : 0.0;
        if (!value || value->empty() || *end != '\0') return fail("no change time");
        if (!timing.changes.empty() && seconds <= timing.changes.back()) return fail("the change times do not ascend");
        timing.changes.push_back(seconds);
        if (!line()) return fail("the change record ends early");
    }
    return true;
}

}  // namespace show
