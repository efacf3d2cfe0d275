#include "audio/ModuleRenderer.h"

#include <libopenmpt/libopenmpt.h>

#include "audio/StreamDecoder.h"

namespace {

openmpt_module* createModule(const uint8_t* data, size_t size) {
    return openmpt_module_create_from_memory2(data, size, openmpt_log_func_silent, nullptr,
                                              openmpt_error_func_ignore, nullptr, nullptr, nullptr, nullptr);
}

uint32_t packedPosition(openmpt_module* module) {
    const auto order = static_cast<uint32_t>(openmpt_module_get_current_order(module));
    const auto row = static_cast<uint32_t>(openmpt_module_get_current_row(module));
    return (order & 0xffff) | (row & 0xffff) << 16;
}

}  // namespace

std::unique_ptr<ModuleRenderer> ModuleRenderer::load(const uint8_t* data, size_t size) {
    if (!data || size == 0) return nullptr;
    openmpt_module* module = createModule(data, size);
    if (!module) return nullptr;
    // The library dithers its 16-bit output with noise that differs from run to run; without
    // it a module renders the same samples every time, as a stream does.
    openmpt_module_ctl_set_integer(module, "dither", 0);
    return std::unique_ptr<ModuleRenderer>(new ModuleRenderer(module, data, size));
}

ModuleRenderer::~ModuleRenderer() { openmpt_module_destroy(module); }

void ModuleRenderer::setLooping(bool looping) { openmpt_module_set_repeat_count(module, looping ? -1 : 0); }

void ModuleRenderer::setGainMillibel(int32_t millibel) {
    openmpt_module_set_render_param(module, OPENMPT_MODULE_RENDER_MASTERGAIN_MILLIBEL, millibel);
}

size_t ModuleRenderer::render(int16_t* stereo, size_t frames) {
    return openmpt_module_read_interleaved_stereo(module, kOutputRate, frames, stereo);
}

void ModuleRenderer::setPosition(int32_t order, int32_t row) {
    openmpt_module_set_position_order_row(module, order, row);
}

uint32_t ModuleRenderer::position() const { return packedPosition(module); }

namespace {

int32_t rowsInOrder(openmpt_module* module, int32_t order) {
    const int32_t rows = openmpt_module_get_pattern_num_rows(module, openmpt_module_get_order_pattern(module, order));
    return rows > 0 ? rows : 1;
}

}  // namespace

// A fresh copy finds the row: seeking the playing module would move what is heard, and
// libopenmpt tells the row of a time only by seeking to it. It lands on the row after the
// time; the row before wins when its start is nearer.
uint32_t ModuleRenderer::positionAt(double seconds) const {
    openmpt_module* probe = createModule(bytes.data(), bytes.size());
    if (!probe) return 0;
    int32_t order = 0, row = 0;
    const int32_t orders = openmpt_module_get_num_orders(probe);
    if (seconds >= openmpt_module_get_duration_seconds(probe) && orders > 0) {
        order = orders - 1;
        row = rowsInOrder(probe, order) - 1;
    } else if (seconds > 0.0) {
        openmpt_module_set_position_seconds(probe, seconds);
        order = openmpt_module_get_current_order(probe);
        row = openmpt_module_get_current_row(probe);
        const double after = openmpt_module_set_position_order_row(probe, order, row);
        if (after > seconds && (order > 0 || row > 0)) {
            const int32_t beforeOrder = row > 0 ? order : order - 1;
            const int32_t beforeRow = row > 0 ? row - 1 : rowsInOrder(probe, beforeOrder) - 1;
            const double before = openmpt_module_set_position_order_row(probe, beforeOrder, beforeRow);
            if (seconds - before <= after - seconds) {
                order = beforeOrder;
                row = beforeRow;
            }
        }
    }
    openmpt_module_destroy(probe);
    return (static_cast<uint32_t>(order) & 0xffff) | (static_cast<uint32_t>(row) & 0xffff) << 16;
}
