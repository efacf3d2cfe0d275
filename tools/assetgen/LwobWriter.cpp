#include "LwobWriter.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

class ByteSink {
public:
    std::vector<uint8_t> bytes;

    void id(const char* fourCC) { bytes.insert(bytes.end(), fourCC, fourCC + 4); }
    void u16(uint32_t v) {
        bytes.push_back(uint8_t(v >> 8));
        bytes.push_back(uint8_t(v));
    }
    void u32(uint32_t v) {
        u16(v >> 16);
        u16(v & 0xFFFF);
    }
    void f32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    // NUL-terminated, plus one zero byte when that makes an odd count.
    void evenString(const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
        if ((s.size() + 1) % 2) bytes.push_back(0);
    }
    void append(const std::vector<uint8_t>& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }
    // A chunk with a 32-bit length; IFF pads odd-length data to an even size.
    void chunk(const char* fourCC, const std::vector<uint8_t>& data) {
        id(fourCC);
        u32(uint32_t(data.size()));
        append(data);
        if (data.size() % 2) bytes.push_back(0);
    }
    // A SURF sub-chunk, with a 16-bit length.
    void subChunk(const char* fourCC, const std::vector<uint8_t>& data) {
        id(fourCC);
        u16(uint32_t(data.size()));
        append(data);
    }
};

std::vector<uint8_t> pointsData(const LwobModel& m) {
    ByteSink s;
    for (const auto& p : m.points)
        for (float c : p) s.f32(c);
    return s.bytes;
}

std::vector<uint8_t> surfaceNamesData(const LwobModel& m) {
    ByteSink s;
    for (const auto& surf : m.surfaces) s.evenString(surf.name);
    return s.bytes;
}

std::vector<uint8_t> polygonsData(const LwobModel& m) {
    ByteSink s;
    for (const auto& poly : m.polygons) {
        s.u16(uint32_t(poly.indices.size()));
        for (uint16_t i : poly.indices) s.u16(i);
        s.u16(poly.surface);
    }
    return s.bytes;
}

std::vector<uint8_t> surfaceData(const LwobSurface& surf) {
    ByteSink s;
    s.evenString(surf.name);
    s.subChunk("COLR", {surf.red, surf.green, surf.blue, 0});
    if (surf.colourTexture) {
        const LwobTexture& t = *surf.colourTexture;
        ByteSink v;
        v.evenString(t.typeName);
        s.subChunk("CTEX", v.bytes);
        v.bytes.clear();
        v.u16(t.flags);
        s.subChunk("TFLG", v.bytes);
        v.bytes.clear();
        for (float c : t.size) v.f32(c);
        s.subChunk("TSIZ", v.bytes);
        v.bytes.clear();
        for (float c : t.centre) v.f32(c);
        s.subChunk("TCTR", v.bytes);
        v.bytes.clear();
        v.evenString(t.imageName);
        s.subChunk("TIMG", v.bytes);
    }
    return s.bytes;
}

}  // namespace

std::optional<std::string> lwobModelProblem(const LwobModel& m) {
    if (m.points.size() > 65536) return "more than 65536 points";
    if (m.surfaces.empty() || m.surfaces.size() > 65535) return "needs 1 to 65535 surfaces";
    for (const auto& surf : m.surfaces) {
        if (surf.name.empty() || surf.name.size() > kMaxLwobSurfaceName)
            return "surface name \"" + surf.name + "\" must have 1 to 24 characters";
        if (surf.colourTexture && surf.colourTexture->typeName.size() + 2 > 0x7FFF)
            return "texture type name too long";
        if (surf.colourTexture && surf.colourTexture->imageName.size() + 2 > 0x7FFF)
            return "texture image name too long";
    }
    for (const auto& poly : m.polygons) {
        if (poly.indices.size() < 3 || poly.indices.size() > 1023)
            return "polygon needs 3 to 1023 corners";
        for (uint16_t i : poly.indices)
            if (i >= m.points.size()) return "polygon corner " + std::to_string(i) + " names no point";
        if (poly.surface < 1 || poly.surface > m.surfaces.size())
            return "polygon surface " + std::to_string(poly.surface) + " names no surface";
    }
    return std::nullopt;
}

std::vector<uint8_t> encodeLwob(const LwobModel& model) {
    if (auto problem = lwobModelProblem(model)) throw std::invalid_argument(*problem);
    ByteSink body;
    body.id("LWOB");
    body.chunk("PNTS", pointsData(model));
    body.chunk("SRFS", surfaceNamesData(model));
    body.chunk("POLS", polygonsData(model));
    for (const auto& surf : model.surfaces) body.chunk("SURF", surfaceData(surf));
    ByteSink file;
    file.id("FORM");
    file.u32(uint32_t(body.bytes.size()));
    file.append(body.bytes);
    return file.bytes;
}

bool writeLwob(const std::string& path, const LwobModel& model) {
    if (auto problem = lwobModelProblem(model)) {
        std::fprintf(stderr, "lwob: %s: %s\n", path.c_str(), problem->c_str());
        return false;
    }
    std::vector<uint8_t> bytes = encodeLwob(model);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "lwob: cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}
