#include "RecordingToolkit.h"

namespace {

class RecordingConsole : public ToolkitConsole {
public:
    explicit RecordingConsole(RecordingToolkit& owner) : owner(owner) {}

    bool option(const std::string& name) override {
        owner.log.push_back("option " + name);
        return true;
    }
    void open(const char* title, int32_t width, int32_t height, const PixelFormat& format,
              int32_t pages) override {
        owner.log.push_back("open " + std::string(title) + " " + std::to_string(width) + "x" +
                            std::to_string(height) + " bits " + std::to_string(format.bits) +
                            " masks " + std::to_string(format.red) + "," + std::to_string(format.green) +
                            "," + std::to_string(format.blue) + "," + std::to_string(format.alpha) +
                            " pages " + std::to_string(pages));
        if (owner.failOpen) throw DynamicError("no output");
    }
    void load(const uint32_t* pixels, int32_t width, int32_t height, int32_t pitchBytes) override {
        owner.log.push_back("load pitch " + std::to_string(pitchBytes));
        owner.copied.assign(pixels, pixels + static_cast<size_t>(width) * height);
    }
    void update() override { owner.log.push_back("update"); }
    bool key() override {
        owner.log.push_back("key");
        return !owner.keys.empty();
    }
    ToolkitKey read() override {
        owner.log.push_back("read");
        ToolkitKey key;
        if (!owner.keys.empty()) {
            key.code = owner.keys.front();
            owner.keys.erase(owner.keys.begin());
        }
        return key;
    }
    void close() override { owner.log.push_back("close"); }

private:
    RecordingToolkit& owner;
};

class RecordingSurface : public MemorySurface {
public:
    RecordingSurface(RecordingToolkit& owner, int32_t width, int32_t height)
        : MemorySurface(width, height), owner(owner) {}
    uint32_t* lock() override {
        owner.log.push_back("lock");
        owner.surfaceMemory = MemorySurface::lock();
        return owner.surfaceMemory;
    }
    void unlock() override { owner.log.push_back("unlock"); }
    void copy(ToolkitConsole& destination) override {
        owner.log.push_back("copy");
        MemorySurface::copy(destination);
    }

private:
    RecordingToolkit& owner;
};

}  // namespace

std::unique_ptr<ToolkitConsole> RecordingToolkit::createConsole() {
    log.push_back("console create");
    return std::make_unique<RecordingConsole>(*this);
}

std::unique_ptr<ToolkitSurface> RecordingToolkit::createSurface(int32_t width, int32_t height,
                                                                const PixelFormat& format) {
    log.push_back("surface create " + std::to_string(width) + "x" + std::to_string(height) +
                  " bits " + std::to_string(format.bits));
    return std::make_unique<RecordingSurface>(*this, width, height);
}
