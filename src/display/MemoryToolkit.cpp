#include "display/MemoryToolkit.h"

#include <cstring>

// The console of the memory toolkit; its state lives in the toolkit so that a test or the
// offline renderer can reach it without holding the console.
class MemoryConsole : public ToolkitConsole {
public:
    explicit MemoryConsole(MemoryToolkit& toolkit) : toolkit(toolkit) {}

    bool option(const std::string& name) override {
        return name == "synchronized update" || name == "center nearest" ||
               name == "windowed output" || name == "fullscreen output";
    }

    void open(const char* title, int32_t width, int32_t height, const PixelFormat& format,
              int32_t) override {
        if (width <= 0 || height <= 0 || format.bits != 32)
            throw DynamicError("unsupported console size or format");
        toolkit.openTitle = title;
        toolkit.open = true;
    }

    void load(const uint32_t* pixels, int32_t width, int32_t height, int32_t pitchBytes) override {
        toolkit.loaded.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int32_t y = 0; y < height; y++) {
            const auto* row = reinterpret_cast<const uint8_t*>(pixels) + static_cast<size_t>(y) * pitchBytes;
            std::memcpy(&toolkit.loaded[static_cast<size_t>(y) * width], row, sizeof(uint32_t) * width);
        }
        toolkit.loadedWidth = width;
        toolkit.loadedHeight = height;
        toolkit.loadedIsNew = true;
    }

    // The loaded frame changes places with the shown one instead of being copied again;
    // an update without a new load shows the same frame once more.
    void update() override {
        if (toolkit.loadedIsNew) {
            toolkit.shown.swap(toolkit.loaded);
            toolkit.shownWidth = toolkit.loadedWidth;
            toolkit.shownHeight = toolkit.loadedHeight;
            toolkit.loadedIsNew = false;
        }
        toolkit.presents++;
        if (toolkit.onPresent)
            toolkit.onPresent(toolkit.shown.data(), toolkit.shownWidth, toolkit.shownHeight);
    }

    bool key() override { return !toolkit.keys.empty(); }

    // Nothing can arrive while waiting here, so an empty queue reads as code 0.
    ToolkitKey read() override {
        ToolkitKey key;
        if (!toolkit.keys.empty()) {
            key.code = toolkit.keys.front();
            toolkit.keys.pop_front();
        }
        return key;
    }

    void close() override { toolkit.open = false; }

private:
    MemoryToolkit& toolkit;
};

std::unique_ptr<ToolkitConsole> MemoryToolkit::createConsole() {
    return std::make_unique<MemoryConsole>(*this);
}

std::unique_ptr<ToolkitSurface> MemoryToolkit::createSurface(int32_t width, int32_t height,
                                                             const PixelFormat& format) {
    if (format.bits != 32) throw DynamicError("unsupported surface format");
    return std::make_unique<MemorySurface>(width, height);
}

void MemoryToolkit::pushKey(int32_t code) { keys.push_back(code); }

void MemoryToolkit::setPresentCallback(PresentCallback callback) { onPresent = std::move(callback); }
