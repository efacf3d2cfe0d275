#pragma once
// Test-only builder of LWOB byte blobs: big-endian fields, chunks and sub-chunks.
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

struct LwobBlob {
    std::vector<uint8_t> bytes;

    LwobBlob& u8(uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    LwobBlob& u16(uint16_t v) { return u8(v >> 8).u8(v & 0xFF); }
    LwobBlob& u32(uint32_t v) { return u16(v >> 16).u16(v & 0xFFFF); }
    LwobBlob& f32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return u32(bits);
    }
    LwobBlob& vec(float x, float y, float z) { return f32(x).f32(y).f32(z); }
    LwobBlob& id(const char* fourCharacters) {
        bytes.insert(bytes.end(), fourCharacters, fourCharacters + 4);
        return *this;
    }
    // A NUL-terminated string, padded to an even length when `pad` is set.
    LwobBlob& text(const std::string& s, bool pad) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        u8(0);
        if (pad && (s.size() + 1) % 2) u8(0);
        return *this;
    }
    LwobBlob& append(const LwobBlob& other) {
        bytes.insert(bytes.end(), other.bytes.begin(), other.bytes.end());
        return *this;
    }
    LwobBlob& chunk(const char* name, const LwobBlob& body) {
        return id(name).u32(static_cast<uint32_t>(body.bytes.size())).append(body);
    }
    LwobBlob& subChunk(const char* name, const LwobBlob& body) {
        return id(name).u16(static_cast<uint16_t>(body.bytes.size())).append(body);
    }
    LwobBlob& points(std::initializer_list<std::initializer_list<float>> list) {
        LwobBlob body;
        for (const auto& p : list) {
            auto it = p.begin();
            body.vec(it[0], it[1], it[2]);
        }
        return chunk("PNTS", body);
    }
    // Each polygon: its corner indices followed by its 1-based surface number.
    LwobBlob& polygons(std::initializer_list<std::initializer_list<uint16_t>> list) {
        LwobBlob body;
        for (const auto& p : list) {
            body.u16(static_cast<uint16_t>(p.size() - 1));
            for (uint16_t value : p) body.u16(value);
        }
        return chunk("POLS", body);
    }
    LwobBlob& surface(const std::string& name, const LwobBlob& subChunks) {
        return chunk("SURF", LwobBlob().text(name, true).append(subChunks));
    }
    static LwobBlob colour(uint8_t r, uint8_t g, uint8_t b) {
        return LwobBlob().subChunk("COLR", LwobBlob().u8(r).u8(g).u8(b).u8(0));
    }
    // The whole file around the chunks.
    std::vector<uint8_t> form(const char* type = "LWOB") const {
        LwobBlob file;
        file.id("FORM").u32(static_cast<uint32_t>(bytes.size() + 4)).id(type).append(*this);
        return file.bytes;
    }
};
