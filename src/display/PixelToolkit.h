#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

// The pixel toolkit the display driver sits on: a console (the visible output), off-screen
// surfaces that are locked for their memory and copied to the console, key input and the
// toolkit's error class. Backends: SDL (a real window) and memory (no window).

// The only pixel format of the system: 32 bits, 0x00RRGGBB, no alpha.
struct PixelFormat {
    int32_t bits;
    uint32_t red, green, blue, alpha;
};
inline constexpr PixelFormat kFramePixelFormat{32, 0xff0000, 0xff00, 0xff, 0};

// Key codes in the original's virtual-key numbering.
namespace KeyCode {
inline constexpr int32_t Tab = 0x09;
inline constexpr int32_t Enter = 0x0D;
inline constexpr int32_t Escape = 0x1B;
inline constexpr int32_t Space = 0x20;
inline constexpr int32_t PageUp = 0x21;
inline constexpr int32_t PageDown = 0x22;
inline constexpr int32_t End = 0x23;
inline constexpr int32_t Home = 0x24;
inline constexpr int32_t Left = 0x25;
inline constexpr int32_t Up = 0x26;
inline constexpr int32_t Right = 0x27;
inline constexpr int32_t Down = 0x28;
inline constexpr int32_t Digit0 = 0x30;  // '0'..'9' follow
inline constexpr int32_t LetterA = 0x41; // 'A'..'Z' follow
inline constexpr int32_t Delete = 0x2E;
inline constexpr int32_t NumpadPlus = 0x6B;
inline constexpr int32_t NumpadMinus = 0x6D;
inline constexpr int32_t Plus = 0xBB;          // the key of '=' and '+'
inline constexpr int32_t Comma = 0xBC;
inline constexpr int32_t Minus = 0xBD;
inline constexpr int32_t Period = 0xBE;
inline constexpr int32_t BracketLeft = 0xDB;
inline constexpr int32_t BracketRight = 0xDD;
}  // namespace KeyCode

struct ToolkitKey {
    int32_t code = 0;
    bool alt = false;
    bool shift = false;
    bool control = false;
};

// The toolkit's error: thrown by console and surface operations that cannot be done.
class DynamicError : public std::runtime_error {
public:
    explicit DynamicError(const std::string& message) : std::runtime_error(message) {}
    const char* message() const { return what(); }
};

class ToolkitConsole {
public:
    virtual ~ToolkitConsole() = default;
    // True when the option string is understood.
    virtual bool option(const std::string& name) = 0;
    // Opens (or opens again) the output; throws DynamicError when it cannot.
    virtual void open(const char* title, int32_t width, int32_t height, const PixelFormat& format,
                      int32_t pages) = 0;
    // Takes a frame of pixels from a surface copy; shown by the next update.
    virtual void load(const uint32_t* pixels, int32_t width, int32_t height, int32_t pitchBytes) = 0;
    virtual void update() = 0;
    // True when a key press is waiting.
    virtual bool key() = 0;
    // The next key press; waits for one when none is waiting.
    virtual ToolkitKey read() = 0;
    virtual void close() = 0;
};

class ToolkitSurface {
public:
    virtual ~ToolkitSurface() = default;
    // The pixel memory; the same address for the surface's whole life.
    virtual uint32_t* lock() = 0;
    virtual void unlock() = 0;
    // Copies the whole surface to the console.
    virtual void copy(ToolkitConsole& destination) = 0;
};

class PixelToolkit {
public:
    virtual ~PixelToolkit() = default;
    virtual std::unique_ptr<ToolkitConsole> createConsole() = 0;
    virtual std::unique_ptr<ToolkitSurface> createSurface(int32_t width, int32_t height,
                                                          const PixelFormat& format) = 0;
    // Tells the user about an error the program carries on after.
    virtual void reportError(const DynamicError& error);
};

// A surface in plain memory: what every backend uses, since the frame must stay at one address.
class MemorySurface : public ToolkitSurface {
public:
    MemorySurface(int32_t width, int32_t height);
    uint32_t* lock() override;
    void unlock() override;
    void copy(ToolkitConsole& destination) override;

private:
    int32_t width;
    int32_t height;
    std::unique_ptr<uint32_t[]> pixels;
};
