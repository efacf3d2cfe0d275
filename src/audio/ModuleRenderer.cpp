#include "audio/ModuleRenderer.h"

#include <libopenmpt/libopenmpt.h>

#include "audio/StreamDecoder.h"

std::unique_ptr<ModuleRenderer> ModuleRenderer::load(const uint8_t* data, size_t size) {
    if (!data || size == 0) return nullptr;
    openmpt_module* module = openmpt_module_create_from_memory2(
        data, size, openmpt_log_func_silent, nullptr, openmpt_error_func_ignore, nullptr, nullptr,
        nullptr, nullptr);
    if (!module) return nullptr;
    // The library dithers its 16-bit output with noise that differs from run to run; without
    // it a module renders the same samples every time, as a stream does.
    openmpt_module_ctl_set_integer(module, "dither", 0);
    return std::unique_ptr<ModuleRenderer>(new ModuleRenderer(module));
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

uint32_t ModuleRenderer::position() const {
    const auto order = static_cast<uint32_t>(openmpt_module_get_current_order(module));
    const auto row = static_cast<uint32_t>(openmpt_module_get_current_row(module));
    return (order & 0xffff) | (row & 0xffff) << 16;
}
