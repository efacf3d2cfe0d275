#pragma once
#include <cstdint>

// The audio library the music player talks to: the operations, arguments and constants
// of the original's closed audio library (version 0.6), so that the player's calls can be
// recorded by a test fake, served by SDL with real decoders, or by a virtual clock.
class AudioLibrary {
public:
    using SyncProc = void (*)(uint32_t handle, uint32_t channel, uint32_t data);

    static constexpr uint32_t kVersion = 0x60000;
    static constexpr uint32_t kSyncEnd = 2;         // ChannelSetSync type: end of playback
    static constexpr uint32_t kMusicLoadFlags = 5;  // flags the player passes to MusicLoad
    static constexpr uint32_t kStreamLoop = 4;      // StreamPlay flag: loop

    virtual ~AudioLibrary() = default;

    virtual uint32_t getVersion() = 0;
    // Nonzero on success.
    virtual int32_t init(int32_t device, uint32_t rate, uint32_t flags, void* window) = 0;
    // A stream handle, 0 when the file is no stream.
    virtual uint32_t streamCreateFile(int32_t fromMemory, const void* file, uint32_t offset,
                                      uint32_t length, uint32_t flags) = 0;
    // A module handle, 0 on failure.
    virtual uint32_t musicLoad(int32_t fromMemory, const void* file, uint32_t offset,
                               uint32_t length, uint32_t flags) = 0;
    virtual uint32_t channelSetSync(uint32_t handle, uint32_t type, uint32_t param,
                                    SyncProc proc) = 0;
    virtual int32_t start() = 0;
    virtual int32_t setVolume(uint32_t volume) = 0;
    virtual void musicSetAmplify(uint32_t handle, uint32_t amplify) = 0;
    virtual int32_t streamPlay(uint32_t handle, int32_t flush, uint32_t flags) = 0;
    virtual int32_t musicPlay(uint32_t handle) = 0;
    // position: row << 16 | order.
    virtual int32_t musicPlayEx(uint32_t handle, uint32_t position, int32_t flags,
                                int32_t reset) = 0;
    virtual int32_t channelStop(uint32_t handle) = 0;
    // Stream: bytes of 44.1 kHz 16-bit stereo played; module: order | row << 16.
    virtual uint32_t channelGetPosition(uint32_t handle) = 0;
    // Moves a channel to a position in the units channelGetPosition reports: a stream to
    // that byte (down to a whole frame, at most its end), a module to that order and row.
    // Nonzero on success.
    virtual int32_t channelSetPosition(uint32_t handle, uint32_t position) = 0;
    // Not in the original library: the order | row << 16 a module plays `seconds` after its
    // start (its last row past the end), for channelSetPosition; kNoPosition when the
    // handle is no module or the library cannot tell.
    static constexpr uint32_t kNoPosition = 0xFFFFFFFFu;
    virtual uint32_t musicPositionAt(uint32_t, double) { return kNoPosition; }
    virtual int32_t errorGetCode() = 0;
    virtual void free() = 0;
};
