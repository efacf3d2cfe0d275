#pragma once
#include <cstdint>

class Bitmap;
struct SyncEvent;

// The one-second full-screen flash that "POWPOW" triggers. A part class keeps one of
// these for all its objects, so every object of the class shows a flash that any of
// them received.
struct PowFlash {
    float localTime = 0.0f;  // the part's local time at its last draw
    float powTime = 0.0f;    // local time of the last "POWPOW"
    bool powActive = false;

    PowFlash() = default;
    PowFlash(const PowFlash&) = delete;
    PowFlash& operator=(const PowFlash&) = delete;

    // Back to the state before any draw: a part class calls it from init, which runs
    // before the first draw of every run of the process, and from rewind.
    void reset();
    // Records the part's local time at a draw. A flash stamped later than that was left by
    // another object of the class whose local time had run further: it is dropped, so a
    // part does not open on a flash it never received.
    void setLocalTime(float t);
    // Starts the flash on "POWPOW" (case ignored) and returns 0; otherwise returns the
    // comparison's non-zero result.
    int32_t onEvent(const SyncEvent* event);
    // True while the last "POWPOW" is less than a second old in local time.
    bool showing() const;
    // Copies the flash picture over the whole frame while showing.
    void draw(const Bitmap* powPicture, Bitmap* frame) const;
};
