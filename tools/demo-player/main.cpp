// demo-player: the demo's parts through the demo's runner, in a window with sound, with
// seek, pause, single frames, a part loop, mute and a live sync script.

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "PlayerController.h"
#include "audio/SdlAudioLibrary.h"
#include "core/Bitmap.h"
#include "display/PlayerWindow.h"
#include "display/PtcDisplayDriver.h"

namespace {

const char* const kUsage =
    "usage: demo-player [--dir STAGE] [--start SECONDS | --part N] [--paused] [--scale N]\n"
    "                   [--fullscreen] [--mute]\n"
    "\n"
    "Plays the demo with the same parts and frame loop as `demo`, in a window with sound,\n"
    "a status line below the frame, and controls for looking at the show closely.\n"
    "\n"
    "  --dir STAGE      run in STAGE, which holds data/ and synkTest.snc (default: here)\n"
    "  --start SECONDS  start at this run time (default 0)\n"
    "  --part N         start where part N (0 = the first) begins\n"
    "  --paused         start paused\n"
    "  --scale N        show the frame N times its size (default 2)\n"
    "  --fullscreen     start full screen\n"
    "  --mute           start without sound\n"
    "  --help           show this text\n"
    "\n"
    "Keys: Space pause/resume; Right/Left 1 s on/back; Up/Down 10 s on/back; Page Down/\n"
    "Page Up the next/previous part; Home the start; L loop the current part (again: off);\n"
    "period/comma one frame on/back while paused; M mute; Tab status line; F full screen;\n"
    "Escape or Q quit. The sync script is read again whenever it changes on disk.\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "demo-player: %s\n(see demo-player --help)\n", message.c_str());
    return 2;
}

bool parseNumber(const std::string& text, double& value, double low, double high) {
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && errno == 0 && std::isfinite(value) && value >= low && value <= high;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    PlayerSettings settings;
    std::string stageDir = ".";
    int32_t scale = 2;
    for (int i = 1; i < argc; i++) {
        const std::string option = argv[i];
        double value = 0;
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stderr);
            return 0;
        } else if (option == "--paused") {
            settings.paused = true;
        } else if (option == "--fullscreen") {
            settings.fullscreen = true;
        } else if (option == "--mute") {
            settings.muted = true;
        } else if (i + 1 >= argc) {
            return usageError(option.rfind("--", 0) == 0 ? option + " needs a value" : "unknown argument " + option);
        } else if (option == "--dir") {
            stageDir = argv[++i];
        } else if (option == "--start") {
            if (!parseNumber(argv[++i], value, 0, 1e6)) return usageError("--start takes seconds, 0 or more");
            settings.startMs = std::llround(value * 1000.0);
        } else if (option == "--part") {
            if (!parseNumber(argv[++i], value, 0, 15) || value != std::floor(value))
                return usageError("--part takes a part index from 0 to 15");
            settings.startPart = static_cast<int32_t>(value);
        } else if (option == "--scale") {
            if (!parseNumber(argv[++i], value, 1, 8) || value != std::floor(value))
                return usageError("--scale takes a whole number from 1 to 8");
            scale = static_cast<int32_t>(value);
        } else {
            return usageError("unknown option " + option);
        }
    }
    if (chdir(stageDir.c_str()) != 0) {
        std::fprintf(stderr, "demo-player: cannot enter %s\n", stageDir.c_str());
        return 1;
    }

    PlayerWindow window(scale, PlayerController::kStatusHeight, settings.fullscreen);
    // Like the demo's own display, it lives until the process ends.
    PtcDisplayDriver* display = new PtcDisplayDriver(window);
    SdlAudioLibrary audio;
    RealClock wallClock;
    PlayerController controller(*display, audio, wallClock);
    try {
        controller.begin(settings);
    } catch (const DynamicError& error) {
        std::fprintf(stderr, "demo-player: %s\n", error.message());
        return 1;
    }

    const int32_t width = display->frame()->width;
    std::vector<uint32_t> status(static_cast<size_t>(width) * PlayerController::kStatusHeight);
    for (;;) {
        const auto passStart = std::chrono::steady_clock::now();
        controller.renderStatus(status.data(), width);
        window.setStatus(status.data());
        if (!controller.tick()) break;
        if (window.statusVisible() != controller.statusVisible()) window.setStatusVisible(controller.statusVisible());
        if (window.fullscreen() != controller.fullscreen()) window.setFullscreen(controller.fullscreen());
        // The vsync'd present paces the loop where there is one; elsewhere this does.
        std::this_thread::sleep_until(passStart + std::chrono::nanoseconds(units::kFrameStepNs));
    }
    controller.finish();
    return 0;
}
