#include "audio/StreamDecoder.h"

#include <cstring>
#include <utility>

namespace {
// Samples a source piece holds: a few milliseconds, so that the output never waits long.
constexpr size_t kPieceSamples = 8192;
}  // namespace

OutputStream::OutputStream(std::unique_ptr<PcmSource> source)
    : source(std::move(source)),
      channels(this->source->channels()),
      step((static_cast<uint64_t>(this->source->rate()) << 32) / kOutputRate),
      window(kPieceSamples + 4) {}

bool OutputStream::nextFrameReady() {
    for (;;) {
        if (sourceEnded) {
            const uint64_t total = framesHeld();
            return next < total * kOutputRate / static_cast<uint64_t>(source->rate());
        }
        const uint64_t a = sourcePosition >> 32;
        if (a + 1 < framesHeld()) return true;
        // Frames before `a` are done with; what is left moves to the front.
        const uint64_t drop = a > base ? std::min<uint64_t>(a - base, held / channels) : 0;
        if (drop > 0) {
            const size_t dropped = static_cast<size_t>(drop) * channels;
            std::memmove(window.data(), window.data() + dropped, (held - dropped) * sizeof(int16_t));
            held -= dropped;
            base += drop;
        }
        const size_t got = source->read(window.data() + held, window.size() - held);
        if (got == 0) sourceEnded = true;
        held += got;
    }
}

size_t OutputStream::read(int16_t* stereo, size_t frames) {
    size_t done = 0;
    for (; done < frames && nextFrameReady(); done++) {
        const uint64_t a = sourcePosition >> 32;
        const uint64_t b = a + 1 < framesHeld() ? a + 1 : a;
        const int64_t fraction = static_cast<int64_t>((sourcePosition >> 16) & 0xffff);
        for (int c = 0; c < 2; c++) {
            const int channel = channels == 2 ? c : 0;
            const int64_t s0 = window[static_cast<size_t>(a - base) * channels + channel];
            const int64_t s1 = window[static_cast<size_t>(b - base) * channels + channel];
            stereo[2 * done + c] = static_cast<int16_t>(s0 + (((s1 - s0) * fraction) >> 16));
        }
        sourcePosition += step;
        next++;
    }
    return done;
}

void OutputStream::rewind() {
    if (next == 0) return;  // what the window holds is still the start
    source->rewind();
    held = 0;
    base = 0;
    next = 0;
    sourcePosition = 0;
    sourceEnded = false;
}

bool OutputStream::seek(uint64_t frame) {
    if (frame < next) rewind();
    while (next < frame && nextFrameReady()) {
        sourcePosition += step;
        next++;
    }
    return next == frame;
}

std::function<std::unique_ptr<OutputStream>()> OutputStream::opener() const {
    return [open = source->opener()]() -> std::unique_ptr<OutputStream> {
        std::unique_ptr<PcmSource> again = open();
        if (!again) return nullptr;
        return std::make_unique<OutputStream>(std::move(again));
    };
}

std::unique_ptr<OutputStream> openOutputStream(std::vector<uint8_t> bytes) {
    // A RIFF file is never taken for an MP3: it plays as a WAV or not at all.
    const bool riff = bytes.size() >= 4 && std::memcmp(bytes.data(), "RIFF", 4) == 0;
    std::unique_ptr<PcmSource> source = riff ? openWavSource(std::move(bytes)) : openMp3Source(std::move(bytes));
    if (!source || source->channels() < 1 || source->channels() > 2 || source->rate() <= 0) return nullptr;
    auto stream = std::make_unique<OutputStream>(std::move(source));
    if (stream->atEnd()) return nullptr;
    return stream;
}

bool decodeStream(const uint8_t* data, size_t size, std::vector<int16_t>& stereo) {
    stereo.clear();
    if (!data || size == 0) return false;
    std::unique_ptr<OutputStream> stream = openOutputStream(std::vector<uint8_t>(data, data + size));
    if (!stream) return false;
    int16_t piece[2 * 4096];
    size_t got;
    while ((got = stream->read(piece, 4096)) > 0) stereo.insert(stereo.end(), piece, piece + 2 * got);
    return !stereo.empty();
}
