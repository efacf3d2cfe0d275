#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Writer for LightWave objects of the older LWOB kind: an IFF "FORM" of type "LWOB" with
// the chunks PNTS, SRFS, POLS and one SURF per surface. Numbers are big-endian; every
// string is NUL-terminated and padded with one zero byte to an even length.

// An image texture definition (CTEX sub-chunk and the ones that follow it).
struct LwobTexture {
    std::string typeName = "Planar Image Map";
    uint16_t flags = 0;                  // TFLG: 0x1 X axis, 0x2 Y axis, 0x4 Z axis
    std::array<float, 3> size{1, 1, 1};  // TSIZ
    std::array<float, 3> centre{0, 0, 0};// TCTR
    std::string imageName;               // TIMG
};

struct LwobSurface {
    std::string name;                    // at most 24 characters
    uint8_t red = 200, green = 200, blue = 200;   // COLR
    std::optional<LwobTexture> colourTexture;
};

struct LwobPolygon {
    std::vector<uint16_t> indices;       // 0-based into the points, at least three
    uint16_t surface = 1;                // 1-based into the surfaces
};

struct LwobModel {
    std::vector<std::array<float, 3>> points;
    std::vector<LwobPolygon> polygons;
    std::vector<LwobSurface> surfaces;
};

// The longest surface name the object reader keeps.
constexpr size_t kMaxLwobSurfaceName = 24;

// Why the model cannot be written, or nothing when it can: point and polygon counts must
// fit the 16-bit fields, indices must name points, surface numbers must name surfaces,
// polygons need three to 1023 corners and surface names 1 to 24 characters.
std::optional<std::string> lwobModelProblem(const LwobModel& model);
// The whole file; throws std::invalid_argument for a model with a problem.
std::vector<uint8_t> encodeLwob(const LwobModel& model);
// Writes the file; false (message on stderr) when the model has a problem or the file
// cannot be written.
bool writeLwob(const std::string& path, const LwobModel& model);
