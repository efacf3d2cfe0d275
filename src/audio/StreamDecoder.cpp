#include "audio/StreamDecoder.h"

#include <utility>

bool decodeStream(const uint8_t* data, size_t size, std::vector<int16_t>& stereo) {
    PcmAudio audio;
    if (!decodeWav(data, size, audio) && !decodeMp3(data, size, audio)) return false;
    stereo = toOutputFormat(std::move(audio));
    return !stereo.empty();
}
