#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct openmpt_module;

// A tracker module (MOD, S3M, XM, IT, ...) rendered by libopenmpt at the output rate.
class ModuleRenderer {
public:
    // Null when the bytes are no module libopenmpt can play. Output is not dithered, so the
    // same module renders the same samples every time.
    static std::unique_ptr<ModuleRenderer> load(const uint8_t* data, size_t size);
    ~ModuleRenderer();

    ModuleRenderer(const ModuleRenderer&) = delete;
    ModuleRenderer& operator=(const ModuleRenderer&) = delete;

    // Looping modules start over at their end instead of finishing.
    void setLooping(bool looping);
    // Output gain in millibel (0 leaves the module as it is).
    void setGainMillibel(int32_t millibel);
    // Renders interleaved stereo at the output rate; fewer frames than asked once it has ended.
    size_t render(int16_t* stereo, size_t frames);
    void setPosition(int32_t order, int32_t row);
    // The order in the low 16 bits, the row in the high 16 bits.
    uint32_t position() const;
    // The order and row (packed as position() packs them) playing `seconds` after the start,
    // the last row past the end. The playing position does not move.
    uint32_t positionAt(double seconds) const;

private:
    ModuleRenderer(openmpt_module* module, const uint8_t* data, size_t size)
        : module(module), bytes(data, data + size) {}
    openmpt_module* module;
    std::vector<uint8_t> bytes;   // for positionAt, which plays a copy to the time
};
