#pragma once

// Whether OpenGL on this machine can only be a software rasteriser, judged without loading
// a GL driver (which alone costs a quarter of a second and tens of MB): software is forced
// (LIBGL_ALWAYS_SOFTWARE), or a Linux machine has no GPU device at all. False when unsure.
bool openGlIsSoftwareOnly();
// True for the GL_RENDERER text of a software rasteriser (llvmpipe, softpipe, swrast).
bool isSoftwareGlRenderer(const char* renderer);
