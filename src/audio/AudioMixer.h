#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "audio/AudioLibrary.h"
#include "audio/ModuleRenderer.h"
#include "audio/StreamDecoder.h"

// The channels of an audio library and their mixing into the output: decoded streams and
// rendered modules, each playing or stopped, looping or not. Not thread-safe: the library
// holds its output lock around every call.
class AudioMixer {
public:
    struct EndSync {
        uint32_t handle;
        AudioLibrary::SyncProc proc;
        uint32_t data;
    };

    struct Channel {
        std::unique_ptr<OutputStream> stream;  // a stream, decoded as it plays
        size_t frame = 0;          // a stream: the next frame to play
        std::unique_ptr<ModuleRenderer> module;
        bool looping = false;
        bool playing = false;
        bool ended = false;        // played to its end without looping
        std::vector<EndSync> endSyncs;

        bool isModule() const { return module != nullptr; }
        // A stream from its first frame again.
        void restart() {
            frame = 0;
            if (stream) stream->rewind();
        }
    };

    AudioMixer();

    // Returns the new channel's handle (never 0).
    uint32_t add(Channel channel);
    // Null when no channel has this handle.
    Channel* find(uint32_t handle);
    uint32_t newSyncHandle() { return nextSyncHandle++; }
    void clear() { channels.clear(); }
    // 0..100; 100 leaves the samples as they are.
    void setVolume(uint32_t percent) { volume = percent; }

    // Fills `frames` stereo frames with the mix of the playing channels and advances them;
    // then calls the end syncs of the channels that ended, once all mixing is done.
    void mix(int16_t* stereo, size_t frames);

private:
    static constexpr size_t kChunkFrames = 1024;

    void mixChunk(int16_t* stereo, size_t frames);
    void mixStream(uint32_t handle, Channel& channel, size_t frames);
    void mixModule(uint32_t handle, Channel& channel, size_t frames);
    // A stream at its end: back to the start when it loops, else it ends. False when it ended.
    bool wrapOrFinish(uint32_t handle, Channel& channel);
    void finish(uint32_t handle, Channel& channel);

    std::map<uint32_t, Channel> channels;
    uint32_t nextHandle = 1;
    uint32_t nextSyncHandle = 1;
    uint32_t volume = 100;
    std::array<int32_t, 2 * kChunkFrames> sum{};
    std::array<int16_t, 2 * kChunkFrames> channelSamples{};
    struct PendingSync {
        EndSync sync;
        uint32_t channel;
    };
    std::vector<PendingSync> pendingSyncs;
};
