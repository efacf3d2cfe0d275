#pragma once
// The sync script reader: the input is parsed from memory into a script that sets the windows
// of a timeline. Layout: the number of parts (one byte, cut to 0..16), then the script file.
// Returns false when the loaded script breaks its promises: counts within their capacities,
// events in time order, change times in order (unless one is not a number), part windows that
// follow the change times.
#include <cmath>
#include <cstring>

#include "../InputCursor.h"
#include "demo/Demo.h"
#include "demo/DemoPart.h"
#include "demo/SyncEvent.h"
#include "demo/SyncScript.h"

class IdlePart : public DemoPart {
public:
    void init(Bitmap*, NewRenderDriver*) override {}
    void draw(Bitmap*, NewRenderDriver*, float) override {}
    int32_t onEvent(const SyncEvent* event) override { return ignoreEvent(event); }
    void notify(int32_t value) override { ignoreNotify(value); }
};

inline bool runSyncTarget(const uint8_t* data, size_t size) {
    InputCursor input(data, size);
    const int32_t partCount = input.takeByte() % (Demo::kMaxParts + 1);

    Demo demo(512, 384, 32, 0, nullptr);
    IdlePart parts[Demo::kMaxParts];
    for (int32_t i = 0; i < partCount; ++i) demo.addPart(&parts[i]);

    SyncScript script;
    script.setDemo(&demo);
    script.parse(input.rest(), input.restSize());

    if (script.eventCount < 0 || script.eventCount > SyncScript::kMaxEvents) return false;
    if (script.changeCount < 0 || script.changeCount > SyncScript::kMaxChanges) return false;
    for (int32_t i = 0; i < script.eventCount; ++i) {
        const SyncEvent* event = script.events[i];
        if (!event || std::memchr(event->name, 0, sizeof event->name) == nullptr) return false;
        if (i > 0 && script.events[i - 1]->time > event->time) return false;
    }
    bool comparable = true;
    for (int32_t i = 0; i < script.changeCount; ++i) comparable &= !std::isnan(script.changes[i]);
    for (int32_t i = 1; comparable && i < script.changeCount; ++i)
        if (script.changes[i - 1] > script.changes[i]) return false;
    if (script.changeCount > 0 && partCount > 1) {
        // The first change ends the first part and starts the second.
        if (!(parts[0].end == script.changes[0] || std::isnan(script.changes[0]))) return false;
        if (!(parts[1].start == script.changes[0] || std::isnan(script.changes[0]))) return false;
    }
    return true;
}
