#pragma once
#include <cstddef>
#include <cstdint>

class Demo;
struct SyncEvent;

// The sync script: named events at music positions, delivered by the runner, and change
// times that set the parts' time windows of the registered Demo.
class SyncScript {
public:
    static constexpr int32_t kMaxEvents = 1024;
    static constexpr int32_t kMaxChanges = 32;

    SyncEvent** events;     // sorted by time, ascending; equal times keep file order
    float* changes;         // seconds, sorted ascending
    int32_t eventCount = 0;
    int32_t changeCount = 0;

    SyncScript();
    ~SyncScript();
    SyncScript(const SyncScript&) = delete;
    SyncScript& operator=(const SyncScript&) = delete;

    // The Demo whose part windows the change times set; must be set before load.
    void setDemo(Demo* demo) { this->demo = demo; }

    // Appends the file's events and change times. A missing file or a wrong header
    // loads nothing.
    void load(const char* fileName);
    // The same for a script held in memory (`size` bytes at `data`).
    void parse(const uint8_t* data, size_t size);
    // Forgets every event and change time; the part windows stay as they are.
    void clear();
    // Sorts events by time, ascending; equal times keep their order.
    void sortEvents();
    // Adds a change time (printing the list before and after sorting) and derives the
    // part windows from the whole list.
    void addChange(float value);

private:
    void addEvent(const char* name, int32_t time);
    void sortChanges();
    void printChanges() const;
    void deriveWindows();

    Demo* demo = nullptr;
};
