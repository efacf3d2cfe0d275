#include "demo/SyncScript.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/DataFile.h"
#include "core/TextCompare.h"
#include "demo/Demo.h"
#include "demo/DemoPart.h"
#include "demo/ScriptLineReader.h"
#include "demo/SyncEvent.h"

namespace {

// atoi, with values beyond 32 bits saturating instead of undefined.
int32_t parseInteger(const char* text) {
    long value = std::strtol(text, nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace

SyncScript::SyncScript()
    : events(new SyncEvent*[kMaxEvents]()), changes(new float[kMaxChanges]()) {}

SyncScript::~SyncScript() {
    for (int32_t i = 0; i < eventCount; i++) delete events[i];
    delete[] events;
    delete[] changes;
}

void SyncScript::clear() {
    for (int32_t i = 0; i < eventCount; i++) delete events[i];
    eventCount = 0;
    changeCount = 0;
}

void SyncScript::load(const char* fileName) {
    std::vector<uint8_t> bytes;
    if (readDataFile(fileName, bytes)) parse(bytes.data(), bytes.size());
}

void SyncScript::parse(const uint8_t* data, size_t size) {
    ScriptLineReader reader(data, size);
    if (compareIgnoringCase(reader.next(), "QRM SYNCSCRIPT") == 0) {
        int32_t records = parseInteger(reader.next());
        for (int32_t i = 0; i < records; i++) {
            // Past the end with a full list the remaining records change nothing; a
            // huge count must not keep the loader spinning.
            if (reader.atEnd() && eventCount >= kMaxEvents) break;
            char name[ScriptLineReader::kMaxLine + 1];
            std::strcpy(name, reader.next());
            addEvent(name, parseInteger(reader.next()));
            reader.next();
        }
        records = parseInteger(reader.next());
        for (int32_t i = 0; i < records; i++) {
            if (reader.atEnd() && changeCount >= kMaxChanges) break;
            reader.next();
            addChange(static_cast<float>(std::atof(reader.next())));
            reader.next();
        }
    }
}

void SyncScript::addEvent(const char* name, int32_t time) {
    if (eventCount >= kMaxEvents) return;
    SyncEvent* event = new SyncEvent();
    std::strcpy(event->name, name);
    event->time = time;
    events[eventCount++] = event;
    sortEvents();
}

void SyncScript::sortEvents() {
    // Stable insertion sort: an event moves left only past strictly later times, so
    // equal times keep file order, as a bubble sort would leave them. Appending to a
    // sorted list costs one pass.
    for (int32_t i = 1; i < eventCount; i++) {
        SyncEvent* event = events[i];
        int32_t j = i;
        for (; j > 0 && event->time < events[j - 1]->time; j--) events[j] = events[j - 1];
        events[j] = event;
    }
}

void SyncScript::addChange(float value) {
    if (changeCount < kMaxChanges) {
        changes[changeCount++] = value;
        printChanges();
        sortChanges();
        printChanges();
    }
    deriveWindows();
}

void SyncScript::sortChanges() {
    for (int32_t pass = 1; pass < changeCount; pass++)
        for (int32_t j = 0; j < changeCount - 1; j++)
            if (changes[j] > changes[j + 1]) {
                float left = changes[j];
                changes[j] = changes[j + 1];
                changes[j + 1] = left;
            }
}

void SyncScript::printChanges() const {
    for (int32_t i = 0; i < changeCount; i++) std::printf("change %i: %f\n", i, changes[i]);
}

void SyncScript::deriveWindows() {
    if (!demo || demo->partCount < 1) return;
    DemoPart** parts = demo->parts;
    parts[0]->start = 0.0f;
    for (int32_t i = 0; i < demo->partCount; i++) parts[i]->end = 100000.0f;
    for (int32_t i = 0; i < changeCount && i + 1 < demo->partCount; i++) {
        parts[i]->end = changes[i];
        parts[i + 1]->start = changes[i];
    }
}
