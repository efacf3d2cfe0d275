#pragma once
#include <vector>

#include "audio/AudioLibrary.h"
#include "audio/AudioMixer.h"

// The audio library's operations over an AudioMixer; a backend supplies the output that
// pulls the mix (a sound device, or a clock the caller advances) and the lock that keeps
// the output from mixing while a call changes the channels. init opens the default output
// (its device and window arguments are not needed) at 44100 Hz only; the output runs from
// init to free. End syncs are called from the output's thread, after the mix.
class MixingAudioLibrary : public AudioLibrary {
public:
    ~MixingAudioLibrary() override = default;

    uint32_t getVersion() override;
    int32_t init(int32_t device, uint32_t rate, uint32_t flags, void* window) override;
    uint32_t streamCreateFile(int32_t fromMemory, const void* file, uint32_t offset, uint32_t length,
                              uint32_t flags) override;
    uint32_t musicLoad(int32_t fromMemory, const void* file, uint32_t offset, uint32_t length,
                       uint32_t flags) override;
    uint32_t channelSetSync(uint32_t handle, uint32_t type, uint32_t param, SyncProc proc) override;
    int32_t start() override;
    int32_t setVolume(uint32_t volume) override;
    void musicSetAmplify(uint32_t handle, uint32_t amplify) override;
    int32_t streamPlay(uint32_t handle, int32_t flush, uint32_t flags) override;
    int32_t musicPlay(uint32_t handle) override;
    int32_t musicPlayEx(uint32_t handle, uint32_t position, int32_t flags, int32_t reset) override;
    int32_t channelStop(uint32_t handle) override;
    uint32_t channelGetPosition(uint32_t handle) override;
    int32_t channelSetPosition(uint32_t handle, uint32_t position) override;
    uint32_t musicPositionAt(uint32_t handle, double seconds) override;
    int32_t errorGetCode() override;
    void free() override;

protected:
    // Opens the output at the output rate; false (with the error set) when it cannot.
    virtual bool openOutput() = 0;
    virtual void closeOutput() = 0;
    virtual void lockOutput() = 0;
    virtual void unlockOutput() = 0;

    // What the output calls, with its lock held, for the next frames of sound.
    void renderOutput(int16_t* stereo, size_t frames) { mixer.mix(stereo, frames); }
    bool isInitialised() const { return initialised; }
    // Sets the error code errorGetCode reports and returns `result`.
    template <typename T> T answer(int32_t code, T result) {
        lastError = code;
        return result;
    }

private:
    class OutputLock;

    // The file's bytes (or the caller's memory); false with the error set when unreadable.
    bool readInput(int32_t fromMemory, const void* file, uint32_t offset, uint32_t length,
                   std::vector<uint8_t>& bytes);
    // The channel with this handle and kind; null (with the error set) when there is none.
    // The caller holds the output lock while it uses the channel.
    AudioMixer::Channel* channelOf(uint32_t handle, bool wantModule);
    uint32_t addChannel(AudioMixer::Channel channel);

    AudioMixer mixer;
    bool initialised = false;
    int32_t lastError = 0;
};
