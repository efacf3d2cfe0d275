#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The frame enlarged by a whole factor, each pixel a factor x factor block (nearest
// neighbour): edges stay sharp through a video site's re-encoding. out is resized to fit.
void enlargeFrame(const uint32_t* pixels, int32_t width, int32_t height, int32_t factor,
                  std::vector<uint32_t>& out);

// Writes one 0x00RRGGBB frame as an 8-bit RGB PNG; false on any failure.
bool writeFramePng(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height);

// A YUV4MPEG2 stream (4:4:4, full-range BT.601) that ffmpeg reads as it is.
class Y4mWriter {
public:
    Y4mWriter() = default;
    ~Y4mWriter();
    Y4mWriter(const Y4mWriter&) = delete;
    Y4mWriter& operator=(const Y4mWriter&) = delete;

    // path "-" writes to what standard output is when open is called.
    bool open(const std::string& path, int32_t width, int32_t height, int32_t fps);
    bool writeFrame(const uint32_t* pixels);
    bool close();

private:
    std::FILE* file = nullptr;
    bool failed = false;
    int32_t width = 0, height = 0;
    std::vector<uint8_t> planes;
};

// CRC-32 (zlib's) of the frame's shown bits: R, G, B bytes of each pixel in order; the top
// byte of a pixel is carried but never shown.
uint32_t frameCrc(const uint32_t* pixels, int32_t width, int32_t height);

// Full-range BT.601 conversion of one pixel, exposed for tests.
void rgbToYuv(uint32_t pixel, uint8_t& y, uint8_t& u, uint8_t& v);
