#include "audio/MusicPlayer.h"

#include <cstdio>
#include <cstdlib>

#include "audio/AudioLibrary.h"
#include "core/Units.h"

namespace {

constexpr uint32_t kVolume = 100;
constexpr uint32_t kModuleAmplify = 70;

// The end-of-playback callback: the run does not react to the end of the music.
void onPlaybackEnd(uint32_t, uint32_t, uint32_t) {}

// Reports the library's error and ends the process. The status is non-zero so that a
// caller sees the failure.
[[noreturn]] void fail(AudioLibrary* library, const char* message) {
    std::printf("BASS Error(%d): %s\n", library->errorGetCode(), message);
    library->free();
    std::exit(EXIT_FAILURE);
}

}  // namespace

MusicPlayer::MusicPlayer(AudioLibrary* library) : library(library) {}

bool MusicPlayer::load(const char* fileName) {
    std::printf("bass used for module replaying\n");
    if (library->getVersion() != AudioLibrary::kVersion) {
        std::printf("BASS version 0.6 was not loaded\n");
        return false;
    }
    outputRate = units::kSampleRate;
    // No window of our own exists yet; the library needs none.
    if (!library->init(-1, units::kSampleRate, 0, nullptr)) fail(library, "Can't initialize device");

    std::printf("trying to load stream %s \n", fileName);
    streamHandle = library->streamCreateFile(0, fileName, 0, 0, 0);
    if (streamHandle)
        return library->channelSetSync(streamHandle, AudioLibrary::kSyncEnd, 0, onPlaybackEnd) != 0;

    std::printf("trying to load mod %s \n", fileName);
    moduleHandle = library->musicLoad(0, fileName, 0, 0, AudioLibrary::kMusicLoadFlags);
    if (!moduleHandle) fail(library, "Can't play the file");
    return library->channelSetSync(moduleHandle, AudioLibrary::kSyncEnd, 0, onPlaybackEnd) != 0;
}

bool MusicPlayer::play() {
    library->start();
    library->setVolume(kVolume);
    library->musicSetAmplify(moduleHandle, kModuleAmplify);
    if (streamHandle) return library->streamPlay(streamHandle, 0, AudioLibrary::kStreamLoop) != 0;
    return library->musicPlay(moduleHandle) != 0;
}

bool MusicPlayer::resumeStream(int32_t) {
    if (!streamHandle) return false;
    return library->streamPlay(streamHandle, 0, AudioLibrary::kStreamLoop) != 0;
}

bool MusicPlayer::playModuleAt(int32_t order, int32_t row) {
    library->start();
    if (!moduleHandle) return false;
    uint32_t position = (static_cast<uint32_t>(row) << 16) | (static_cast<uint32_t>(order) & 0xFFFF);
    library->musicPlayEx(moduleHandle, position, -1, 1);
    return true;
}

bool MusicPlayer::stop() {
    if (streamHandle) library->channelStop(streamHandle);
    return moduleHandle != 0;
}

bool MusicPlayer::free() {
    library->free();
    return true;
}

int32_t MusicPlayer::currentOrder() {
    if (!moduleHandle) return 0;
    return static_cast<int32_t>(library->channelGetPosition(moduleHandle) & 0xFFFF);
}

int32_t MusicPlayer::currentRow() {
    if (!moduleHandle) return 0;
    return static_cast<int32_t>(library->channelGetPosition(moduleHandle) >> 16);
}

bool MusicPlayer::pauseStream() {
    if (!streamHandle) return false;
    pausedPosition = library->channelGetPosition(streamHandle);
    library->channelStop(streamHandle);
    return true;
}

bool MusicPlayer::pause() {
    if (moduleHandle) return library->channelStop(moduleHandle) != 0;
    return pauseStream();
}

bool MusicPlayer::resume() {
    if (moduleHandle) return library->musicPlay(moduleHandle) != 0;
    return resumeStream(0);
}

bool MusicPlayer::setPosition(uint32_t bytes) {
    if (moduleHandle) {
        const double seconds = bytes / static_cast<double>(units::kMusicBytesPerSecond);
        const uint32_t orderRow = library->musicPositionAt(moduleHandle, seconds);
        return orderRow != AudioLibrary::kNoPosition && library->channelSetPosition(moduleHandle, orderRow) != 0;
    }
    if (!streamHandle) return false;
    return library->channelSetPosition(streamHandle, bytes) != 0;
}

uint32_t MusicPlayer::position() {
    if (!streamHandle) return 0;
    return library->channelGetPosition(streamHandle);
}
