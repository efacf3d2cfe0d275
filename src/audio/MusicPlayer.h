#pragma once
#include <cstdint>

class AudioLibrary;

// Plays the soundtrack through an AudioLibrary and reports the position that drives the
// sync events. A stream file is tried first, then a tracker module.
class MusicPlayer {
public:
    explicit MusicPlayer(AudioLibrary* library);
    virtual ~MusicPlayer() = default;

    virtual bool load(const char* fileName);
    virtual bool play();
    virtual bool resumeStream(int32_t unused);
    virtual bool playModuleAt(int32_t order, int32_t row);
    virtual bool stop();
    virtual bool free();
    virtual int32_t currentOrder();
    virtual int32_t currentRow();
    virtual bool pauseStream();
    virtual uint32_t position();
    // Moves a stream to a byte position (at most its end), a module to the row playing at
    // the time those bytes would take (its last row past its end); false with nothing loaded.
    virtual bool setPosition(uint32_t bytes);
    // A pause for either kind of music (pauseStream and stop leave a module playing, as the
    // demo expects of them): the channel stops where it is and resume plays on from there.
    bool pause();
    bool resume();

protected:
    AudioLibrary* library;
    int32_t outputRate = 0;
    uint32_t moduleHandle = 0;
    uint32_t streamHandle = 0;
    uint32_t pausedPosition = 0;
};
