#include "audio/AudioMixer.h"

#include <algorithm>

AudioMixer::AudioMixer() { pendingSyncs.reserve(16); }

uint32_t AudioMixer::add(Channel channel) {
    const uint32_t handle = nextHandle++;
    channels.emplace(handle, std::move(channel));
    return handle;
}

AudioMixer::Channel* AudioMixer::find(uint32_t handle) {
    auto it = channels.find(handle);
    return it == channels.end() ? nullptr : &it->second;
}

void AudioMixer::mix(int16_t* stereo, size_t frames) {
    for (size_t done = 0; done < frames;) {
        const size_t n = std::min(kChunkFrames, frames - done);
        mixChunk(stereo + 2 * done, n);
        done += n;
    }
    // Syncs run last so that a callback that calls back into the library finds every
    // channel in a settled state.
    for (const PendingSync& pending : pendingSyncs)
        pending.sync.proc(pending.sync.handle, pending.channel, pending.sync.data);
    pendingSyncs.clear();
}

void AudioMixer::mixChunk(int16_t* stereo, size_t frames) {
    std::fill(sum.begin(), sum.begin() + 2 * frames, 0);
    for (auto& [handle, channel] : channels) {
        if (!channel.playing) continue;
        if (channel.isModule()) mixModule(handle, channel, frames);
        else mixStream(handle, channel, frames);
    }
    for (size_t i = 0; i < 2 * frames; i++) {
        const int32_t scaled = volume == 100 ? sum[i] : sum[i] * static_cast<int32_t>(volume) / 100;
        stereo[i] = static_cast<int16_t>(std::clamp(scaled, -32768, 32767));
    }
}

void AudioMixer::mixStream(uint32_t handle, Channel& channel, size_t frames) {
    size_t out = 0;
    while (out < frames && channel.playing) {
        const size_t n = channel.stream->read(channelSamples.data(), frames - out);
        for (size_t i = 0; i < 2 * n; i++) sum[2 * out + i] += channelSamples[i];
        out += n;
        channel.frame += n;
        if (out < frames && !wrapOrFinish(handle, channel)) break;
    }
    // Settle the end now, so that the position wraps and the end sync runs without waiting
    // for the next chunk.
    if (channel.playing && channel.stream->atEnd()) wrapOrFinish(handle, channel);
}

bool AudioMixer::wrapOrFinish(uint32_t handle, Channel& channel) {
    if (channel.looping && channel.frame > 0) {
        channel.restart();
        return true;
    }
    finish(handle, channel);
    return false;
}

void AudioMixer::mixModule(uint32_t handle, Channel& channel, size_t frames) {
    const size_t rendered = channel.module->render(channelSamples.data(), frames);
    for (size_t i = 0; i < 2 * rendered; i++) sum[i] += channelSamples[i];
    if (rendered < frames) finish(handle, channel);
}

void AudioMixer::finish(uint32_t handle, Channel& channel) {
    channel.playing = false;
    channel.ended = true;
    for (const EndSync& sync : channel.endSyncs) pendingSyncs.push_back({sync, handle});
}
