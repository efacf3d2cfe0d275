#include "display/PtcDisplayDriver.h"

#include <cstdio>

#include "core/Bitmap.h"

PtcDisplayDriver::PtcDisplayDriver(PixelToolkit& toolkit)
    : toolkit(toolkit), console(toolkit.createConsole()) {}

PtcDisplayDriver::~PtcDisplayDriver() {
    if (frameView) {
        frameView->pixels = nullptr;  // surface memory, owned by the surface
        delete frameView;
    }
}

// Before open there is no surface to show.
void PtcDisplayDriver::present() {
    if (!surface) return;
    surface->copy(*console);
    console->update();
}

// A source with more pixels than the surface would write past its memory: refused.
void PtcDisplayDriver::presentBitmap(const Bitmap* source) {
    if (!surface || !source) return;
    if (source->width < 0 || source->height < 0 ||
        static_cast<int64_t>(source->width) * source->height > static_cast<int64_t>(width) * height) {
        std::fprintf(stderr, "presentBitmap: a %dx%d bitmap does not fit the %dx%d display\n",
                     source->width, source->height, width, height);
        return;
    }
    source->copyToMemory(surface->lock());
    surface->unlock();
    present();
}

void PtcDisplayDriver::open(int32_t width, int32_t height, bool windowed, int32_t bitsPerPixel) {
    this->width = width;
    this->height = height;
    this->windowed = windowed ? 1 : 0;
    this->bitsPerPixel = bitsPerPixel;

    console->option("synchronized update");
    console->option("center nearest");
    console->option("synchronized update");
    console->option("center nearest");
    console->option(windowed ? "windowed output" : "fullscreen output");

    surface = toolkit.createSurface(width, height, kFramePixelFormat);
    if (!frameView) frameView = new Bitmap();
    frameView->width = width;
    frameView->height = height;
    frameView->pixels = surface->lock();
    surface->unlock();

    console->open(kDisplayTitle, width, height, kFramePixelFormat, 0);
}

void PtcDisplayDriver::reopen() {
    try {
        console->open(kDisplayTitle, width, height, kFramePixelFormat, 0);
    } catch (const DynamicError& error) {
        toolkit.reportError(error);
    }
}

void PtcDisplayDriver::idle() {}

bool PtcDisplayDriver::keyPressed() { return console->key(); }

KeyState PtcDisplayDriver::readKey() { return keyStateFor(console->read().code); }

void PtcDisplayDriver::close() { console->close(); }

Bitmap* PtcDisplayDriver::frame() { return frameView; }

KeyState keyStateFor(int32_t code) {
    KeyState state;
    state.code = static_cast<uint8_t>(code & 0xff);
    switch (code) {
    case KeyCode::Down: state.down = 1; break;
    case KeyCode::Up: state.up = 1; break;
    case KeyCode::Left: state.left = 1; break;
    case KeyCode::Right: state.right = 1; break;
    case KeyCode::Home: state.home = 1; break;
    case KeyCode::End: state.end = 1; break;
    case KeyCode::PageUp: state.pageUp = 1; break;
    case KeyCode::PageDown: state.pageDown = 1; break;
    default: break;
    }
    return state;
}
