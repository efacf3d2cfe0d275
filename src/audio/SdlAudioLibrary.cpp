#include "audio/SdlAudioLibrary.h"

#include <SDL.h>

#include <cstdio>

#include "audio/AudioErrors.h"
#include "audio/StreamDecoder.h"

SdlAudioLibrary::~SdlAudioLibrary() { free(); }

bool SdlAudioLibrary::openOutput() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "audio: %s\n", SDL_GetError());
        return answer(AudioError::NoDevice, false);
    }
    SDL_AudioSpec wanted{};
    wanted.freq = kOutputRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = fillDeviceBuffer;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the device really takes.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        std::fprintf(stderr, "audio: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return answer(AudioError::NoDevice, false);
    }
    bufferFrames = obtained.samples;
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlAudioLibrary::closeOutput() {
    if (device == 0) return;
    SDL_CloseAudioDevice(device);
    device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioLibrary::lockOutput() { SDL_LockAudioDevice(device); }

void SdlAudioLibrary::unlockOutput() { SDL_UnlockAudioDevice(device); }

// SDL holds the device lock while it calls this.
void SdlAudioLibrary::fillDeviceBuffer(void* library, uint8_t* buffer, int bytes) {
    static_cast<SdlAudioLibrary*>(library)->renderOutput(reinterpret_cast<int16_t*>(buffer),
                                                         static_cast<size_t>(bytes) / kOutputBytesPerFrame);
}
