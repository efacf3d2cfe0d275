#pragma once
#include <string>
#include <vector>

#include "display/PixelToolkit.h"

// A toolkit that writes every call it receives into a log, so a test sees the driver's calls
// in order. Surfaces are real memory so that the frame can be drawn into.
class RecordingToolkit : public PixelToolkit {
public:
    std::vector<std::string> log;
    std::vector<int32_t> keys;          // read() hands these out in order
    bool failOpen = false;              // open() throws DynamicError
    uint32_t* surfaceMemory = nullptr;  // what lock() returned
    std::vector<uint32_t> copied;       // pixels the last surface copy delivered
    std::vector<std::string> reported;  // messages given to reportError

    std::unique_ptr<ToolkitConsole> createConsole() override;
    std::unique_ptr<ToolkitSurface> createSurface(int32_t width, int32_t height,
                                                  const PixelFormat& format) override;
    void reportError(const DynamicError& error) override { reported.push_back(error.message()); }
};
