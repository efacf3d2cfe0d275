#pragma once
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Walks an LWOB file chunk by chunk for the tests, independently of the demo's reader.
struct IffChunk {
    std::string id;
    size_t offset = 0;            // of the data
    std::vector<uint8_t> data;
};

inline uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
inline uint16_t be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
inline float beFloat(const uint8_t* p) {
    uint32_t bits = be32(p);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

// The chunks after "FORM" length "LWOB"; empty if the walk runs off the end.
inline std::vector<IffChunk> lwobChunks(const std::vector<uint8_t>& file) {
    std::vector<IffChunk> chunks;
    size_t at = 12;
    while (at + 8 <= file.size()) {
        IffChunk c;
        c.id.assign(file.begin() + long(at), file.begin() + long(at) + 4);
        uint32_t n = be32(&file[at + 4]);
        c.offset = at + 8;
        if (c.offset + n > file.size()) return {};
        c.data.assign(file.begin() + long(c.offset), file.begin() + long(c.offset + n));
        chunks.push_back(c);
        at = c.offset + n + (n % 2);
    }
    return chunks;
}

struct SubChunk {
    std::string id;
    std::vector<uint8_t> data;
};

struct ParsedSurface {
    std::string name;
    size_t nameBytes = 0;         // name, terminator and pad
    std::vector<SubChunk> subChunks;
    bool consistent = false;      // sub-chunk lengths add up to the chunk's length
};

inline ParsedSurface parseSurf(const std::vector<uint8_t>& data) {
    ParsedSurface s;
    s.name = reinterpret_cast<const char*>(data.data());
    s.nameBytes = s.name.size() + 1;
    if (s.nameBytes % 2) ++s.nameBytes;
    size_t at = s.nameBytes;
    while (at + 6 <= data.size()) {
        SubChunk sub;
        sub.id.assign(data.begin() + long(at), data.begin() + long(at) + 4);
        size_t m = be16(&data[at + 4]);
        if (at + 6 + m > data.size()) return s;
        sub.data.assign(data.begin() + long(at) + 6, data.begin() + long(at + 6 + m));
        s.subChunks.push_back(sub);
        at += 6 + m;
    }
    s.consistent = at == data.size();
    return s;
}

struct ParsedPolygon {
    std::vector<uint16_t> indices;
    uint16_t surface = 0;
};

inline std::vector<ParsedPolygon> parsePols(const std::vector<uint8_t>& data) {
    std::vector<ParsedPolygon> polys;
    for (size_t at = 0; at + 2 <= data.size();) {
        ParsedPolygon p;
        size_t k = be16(&data[at]);
        if (at + 2 * k + 4 > data.size()) return {};
        for (size_t i = 0; i < k; ++i) p.indices.push_back(be16(&data[at + 2 + 2 * i]));
        p.surface = be16(&data[at + 2 + 2 * k]);
        polys.push_back(p);
        at += 2 * k + 4;
    }
    return polys;
}

inline std::vector<std::array<float, 3>> parsePnts(const std::vector<uint8_t>& data) {
    std::vector<std::array<float, 3>> points;
    for (size_t at = 0; at + 12 <= data.size(); at += 12)
        points.push_back({beFloat(&data[at]), beFloat(&data[at + 4]), beFloat(&data[at + 8])});
    return points;
}
