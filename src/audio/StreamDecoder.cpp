#include "audio/StreamDecoder.h"

bool decodeStream(const uint8_t* data, size_t size, std::vector<int16_t>& stereo) {
    PcmAudio audio;
    if (!decodeWav(data, size, audio) && !decodeMp3(data, size, audio)) return false;
    stereo = toOutputFormat(audio);
    return !stereo.empty();
}
