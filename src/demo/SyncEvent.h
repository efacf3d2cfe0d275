#pragma once
#include <cstdint>

// A named cue of the sync script, fired when the music reaches `time` (bytes of the stream).
// `name` is the first field so that a part may treat the event pointer as the name.
struct SyncEvent {
    char name[256];
    int32_t time;
};
