#pragma once
// The music loading as the player does it, through the real decoders and mixer without a
// device: the file as a stream (MP3, WAV), otherwise as a module (libopenmpt), then a short
// stretch of playback on the virtual clock. Layout: flags (bit 0: loop, bit 1: play from an
// order/row given by the next two bytes), then the file.
// Returns false when the library contradicts itself (a handle without a playable channel).
#include "../InputCursor.h"
#include "audio/AudioLibrary.h"
#include "audio/VirtualAudioLibrary.h"

inline bool runMusicTarget(const uint8_t* data, size_t size) {
    InputCursor input(data, size);
    const uint8_t flags = input.takeByte();
    const uint16_t startAt = input.takeU16();
    if (input.restSize() == 0) return true;

    VirtualAudioLibrary library;
    if (!library.init(-1, 44100, 0, nullptr)) return false;
    const uint32_t loop = (flags & 1) ? AudioLibrary::kStreamLoop : 0;
    bool played = false;
    uint32_t stream = library.streamCreateFile(1, input.rest(), 0, uint32_t(input.restSize()), 0);
    if (stream) {
        played = library.streamPlay(stream, 0, loop) != 0;
    } else if (uint32_t music = library.musicLoad(1, input.rest(), 0, uint32_t(input.restSize()),
                                                  AudioLibrary::kMusicLoadFlags | loop)) {
        played = (flags & 2) ? library.musicPlayEx(music, startAt, -1, 1) != 0
                             : library.musicPlay(music) != 0;
        stream = music;
    } else {
        library.free();
        return true;  // neither: the player reports the error code
    }
    if (!played) return false;
    // A quarter of a second in small steps, reading the position as the playback loop does.
    for (int step = 1; step <= 8; ++step) {
        library.setTimeSeconds(step / 32.0);
        library.channelGetPosition(stream);
    }
    library.channelStop(stream);
    library.free();
    return true;
}
