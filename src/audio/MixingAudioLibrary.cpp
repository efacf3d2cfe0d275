#include "audio/MixingAudioLibrary.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "audio/AudioErrors.h"
#include "audio/StreamDecoder.h"
#include "core/DataFile.h"

// Holds the output lock for one call, when there is an output to lock.
class MixingAudioLibrary::OutputLock {
public:
    explicit OutputLock(MixingAudioLibrary& library) : library(library), locked(library.initialised) {
        if (locked) library.lockOutput();
    }
    ~OutputLock() {
        if (locked) library.unlockOutput();
    }
    OutputLock(const OutputLock&) = delete;
    OutputLock& operator=(const OutputLock&) = delete;

private:
    MixingAudioLibrary& library;
    bool locked;
};

uint32_t MixingAudioLibrary::getVersion() { return kVersion; }

int32_t MixingAudioLibrary::init(int32_t, uint32_t rate, uint32_t, void*) {
    if (initialised) return answer(AudioError::AlreadyInitialised, 0);
    if (rate != static_cast<uint32_t>(kOutputRate)) return answer(AudioError::UnsupportedRate, 0);
    if (!openOutput()) return 0;
    initialised = true;
    return answer(AudioError::None, 1);
}

bool MixingAudioLibrary::readInput(int32_t fromMemory, const void* file, uint32_t offset,
                                   uint32_t length, std::vector<uint8_t>& bytes) {
    if (!file) return answer(AudioError::FileOpen, false);
    if (fromMemory) {
        if (length == 0) return answer(AudioError::FileOpen, false);
        const auto* start = static_cast<const uint8_t*>(file) + offset;
        bytes.assign(start, start + length);
        return true;
    }
    std::FILE* f = openDataFile(static_cast<const char*>(file), "rb");
    if (!f) return answer(AudioError::FileOpen, false);
    bool ok = std::fseek(f, static_cast<long>(offset), SEEK_SET) == 0;
    uint8_t buffer[65536];
    size_t got;
    while (ok && (got = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
        if (length != 0 && bytes.size() >= length) break;
    }
    ok = ok && !std::ferror(f);
    std::fclose(f);
    if (length != 0 && bytes.size() > length) bytes.resize(length);
    return ok ? true : answer(AudioError::FileOpen, false);
}

uint32_t MixingAudioLibrary::addChannel(AudioMixer::Channel channel) {
    OutputLock lock(*this);
    const uint32_t handle = mixer.add(std::move(channel));
    return answer(AudioError::None, handle);
}

uint32_t MixingAudioLibrary::streamCreateFile(int32_t fromMemory, const void* file, uint32_t offset,
                                              uint32_t length, uint32_t flags) {
    if (!initialised) return answer(AudioError::NotInitialised, 0u);
    std::vector<uint8_t> bytes;
    if (!readInput(fromMemory, file, offset, length, bytes)) return 0;
    AudioMixer::Channel channel;
    channel.stream = openOutputStream(std::move(bytes));
    if (!channel.stream) return answer(AudioError::FileFormat, 0u);
    channel.looping = (flags & kStreamLoop) != 0;
    return addChannel(std::move(channel));
}

uint32_t MixingAudioLibrary::musicLoad(int32_t fromMemory, const void* file, uint32_t offset,
                                       uint32_t length, uint32_t flags) {
    if (!initialised) return answer(AudioError::NotInitialised, 0u);
    std::vector<uint8_t> bytes;
    if (!readInput(fromMemory, file, offset, length, bytes)) return 0;
    AudioMixer::Channel channel;
    channel.module = ModuleRenderer::load(bytes.data(), bytes.size());
    if (!channel.module) return answer(AudioError::FileFormat, 0u);
    channel.looping = (flags & kStreamLoop) != 0;
    channel.module->setLooping(channel.looping);
    return addChannel(std::move(channel));
}

AudioMixer::Channel* MixingAudioLibrary::channelOf(uint32_t handle, bool wantModule) {
    AudioMixer::Channel* channel = mixer.find(handle);
    if (!channel || channel->isModule() != wantModule) return answer(AudioError::BadHandle, nullptr);
    lastError = AudioError::None;
    return channel;
}

uint32_t MixingAudioLibrary::channelSetSync(uint32_t handle, uint32_t type, uint32_t param, SyncProc proc) {
    OutputLock lock(*this);
    AudioMixer::Channel* channel = mixer.find(handle);
    if (!channel) return answer(AudioError::BadHandle, 0u);
    if (type != kSyncEnd || !proc) return answer(AudioError::BadSyncType, 0u);
    const uint32_t sync = mixer.newSyncHandle();
    channel->endSyncs.push_back({sync, proc, param});
    return answer(AudioError::None, sync);
}

// The output runs from init on; starting it again changes nothing.
int32_t MixingAudioLibrary::start() {
    if (!initialised) return answer(AudioError::NotInitialised, 0);
    return answer(AudioError::None, 1);
}

int32_t MixingAudioLibrary::setVolume(uint32_t volume) {
    if (!initialised) return answer(AudioError::NotInitialised, 0);
    OutputLock lock(*this);
    mixer.setVolume(volume < 100 ? volume : 100);
    return answer(AudioError::None, 1);
}

// Amplification 0..100 with 50 as the module's own level.
void MixingAudioLibrary::musicSetAmplify(uint32_t handle, uint32_t amplify) {
    OutputLock lock(*this);
    AudioMixer::Channel* channel = channelOf(handle, true);
    if (!channel) return;
    const double level = (amplify < 100 ? amplify : 100) / 50.0;
    const int32_t millibel = level > 0 ? static_cast<int32_t>(std::lround(2000.0 * std::log10(level))) : -10000;
    channel->module->setGainMillibel(millibel);
}

int32_t MixingAudioLibrary::streamPlay(uint32_t handle, int32_t flush, uint32_t flags) {
    OutputLock lock(*this);
    AudioMixer::Channel* channel = channelOf(handle, false);
    if (!channel) return 0;
    if (flags & kStreamLoop) channel->looping = true;
    if (flush || channel->ended) channel->restart();
    channel->ended = false;
    channel->playing = true;
    return 1;
}

int32_t MixingAudioLibrary::musicPlay(uint32_t handle) {
    OutputLock lock(*this);
    AudioMixer::Channel* channel = channelOf(handle, true);
    if (!channel) return 0;
    if (channel->ended) channel->module->setPosition(0, 0);
    channel->ended = false;
    channel->playing = true;
    return 1;
}

// flags -1 keeps the channel's flags; otherwise the loop flag is taken from them.
int32_t MixingAudioLibrary::musicPlayEx(uint32_t handle, uint32_t position, int32_t flags, int32_t) {
    OutputLock lock(*this);
    AudioMixer::Channel* channel = channelOf(handle, true);
    if (!channel) return 0;
    if (flags != -1) {
        channel->looping = (static_cast<uint32_t>(flags) & kStreamLoop) != 0;
        channel->module->setLooping(channel->looping);
    }
    channel->module->setPosition(static_cast<int32_t>(position & 0xffff), static_cast<int32_t>(position >> 16));
    channel->ended = false;
    channel->playing = true;
    return 1;
}

int32_t MixingAudioLibrary::channelStop(uint32_t handle) {
    OutputLock lock(*this);
    AudioMixer::Channel* channel = mixer.find(handle);
    if (!channel) return answer(AudioError::BadHandle, 0);
    channel->playing = false;
    return answer(AudioError::None, 1);
}

// 0 for an unknown handle (a huge value would fire every pending sync event at once).
uint32_t MixingAudioLibrary::channelGetPosition(uint32_t handle) {
    OutputLock lock(*this);
    AudioMixer::Channel* channel = mixer.find(handle);
    if (!channel) return answer(AudioError::BadHandle, 0u);
    lastError = AudioError::None;
    if (channel->isModule()) return channel->module->position();
    return static_cast<uint32_t>(channel->frame * kOutputBytesPerFrame);
}

int32_t MixingAudioLibrary::channelSetPosition(uint32_t handle, uint32_t position) {
    std::function<std::unique_ptr<OutputStream>()> open;
    {
        OutputLock lock(*this);
        AudioMixer::Channel* channel = mixer.find(handle);
        if (!channel) return answer(AudioError::BadHandle, 0);
        if (channel->isModule()) {
            channel->module->setPosition(static_cast<int32_t>(position & 0xffff), static_cast<int32_t>(position >> 16));
            channel->ended = false;
            return answer(AudioError::None, 1);
        }
        open = channel->stream->opener();
    }
    // A second stream of the file decodes its way there from its start (the same samples as
    // playing through; past the end it stops at the end) while the output plays on: the
    // output waits only for the swap.
    std::unique_ptr<OutputStream> prepared = open();
    if (!prepared) return answer(AudioError::FileFormat, 0);
    prepared->seek(position / kOutputBytesPerFrame);
    {
        OutputLock lock(*this);
        AudioMixer::Channel* channel = mixer.find(handle);
        if (!channel || channel->isModule()) return answer(AudioError::BadHandle, 0);
        channel->frame = static_cast<size_t>(prepared->position());
        channel->stream.swap(prepared);
        channel->ended = false;
    }
    // The stream that played until now is closed after the lock is given back.
    prepared.reset();
    return answer(AudioError::None, 1);
}

uint32_t MixingAudioLibrary::musicPositionAt(uint32_t handle, double seconds) {
    OutputLock lock(*this);
    AudioMixer::Channel* channel = channelOf(handle, true);
    if (!channel) return kNoPosition;
    return channel->module->positionAt(seconds);
}

int32_t MixingAudioLibrary::errorGetCode() { return lastError; }

void MixingAudioLibrary::free() {
    if (initialised) closeOutput();
    initialised = false;
    mixer.clear();
    lastError = AudioError::None;
}
