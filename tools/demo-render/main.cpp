// demo-render: plays the demo offline at a fixed frame rate and writes what it shows.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FrameWriters.h"
#include "OfflineRender.h"
#include "core/Units.h"
#include "core/PlatformConsole.h"

namespace {

const char* const kUsage =
    "usage: demo-render [--dir STAGE] [--fps N] [--start SECONDS] [--end SECONDS | --frames N]\n"
    "                   [--scale N] [--png DIR] [--y4m FILE|-] [--crcs FILE] [--wav FILE]\n"
    "                   [--timings FILE]\n"
    "\n"
    "Plays the demo with the same objects and frame loop as `demo`, on a virtual clock,\n"
    "display and sound device: frame i is drawn at run time START + i / FPS (to the\n"
    "millisecond of the run timer), the music follows the same clock, and the run ends\n"
    "after the last frame.\n"
    "\n"
    "  --dir STAGE      run in STAGE, which holds data/ and synkTest.snc (default: here)\n"
    "  --fps N          frames per second of run time (default 60)\n"
    "  --start SECONDS  run time of the first frame (default 0); sync events before it\n"
    "                   are consumed without being delivered\n"
    "  --end SECONDS    draw the frames before this run time (default: the sync script's\n"
    "                   last change time plus 40 seconds)\n"
    "  --frames N       draw N frames instead\n"
    "  --scale N        write the frames N times as wide and high, each pixel an N x N\n"
    "                   block (default 1: 512 x 384)\n"
    "  --png DIR        write DIR/frame-000000.png, frame-000001.png, ...\n"
    "  --y4m FILE       write a YUV4MPEG2 (4:4:4) stream for ffmpeg; '-' writes it to\n"
    "                   standard output, and the demo's own lines then go to standard error\n"
    "  --crcs FILE      write a line a frame: its index and the CRC-32 of its pixels (as the\n"
    "                   golden frames take it), to compare runs and platforms\n"
    "  --wav FILE       write the soundtrack of the frames (44100 Hz, 16-bit stereo)\n"
    "  --timings FILE   write JSON: frames, wall seconds, and per part index its frame\n"
    "                   count and the median and 99th percentile of its draw time in ms\n"
    "  --help           show this text\n"
    "\n"
    "Standard output carries the demo's own lines; this program reports on standard error.\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "demo-render: %s\n(see demo-render --help)\n", message.c_str());
    return 2;
}

bool parseNumber(const std::string& text, double& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && errno == 0 && std::isfinite(value);
}

// Seconds to whole milliseconds, the resolution of the run timer.
bool parseSeconds(const std::string& text, int64_t& ms) {
    double seconds = 0;
    if (!parseNumber(text, seconds) || seconds < 0 || seconds > 1e9) return false;
    ms = std::llround(seconds * 1000.0);
    return true;
}

bool parseCount(const std::string& text, int64_t& count, int64_t low, int64_t high) {
    double value = 0;
    if (!parseNumber(text, value) || value != std::floor(value) || value < low || value > high) return false;
    count = static_cast<int64_t>(value);
    return true;
}

// Output paths are taken relative to where the program was started, not to STAGE.
std::string absolute(const std::string& path) {
    return path.empty() || path == "-" ? path : std::filesystem::absolute(path).string();
}

}  // namespace

int main(int argc, char** argv) {
    platform::setUpStandardStreams();
    OfflineSettings settings;
    std::string pngDir, y4mPath, crcsPath, timingsPath;
    bool endGiven = false, framesGiven = false;
    int32_t scale = 1;

    for (int i = 1; i < argc; i++) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stderr);
            return 0;
        }
        if (i + 1 >= argc) return usageError(option.rfind("--", 0) == 0 ? option + " needs a value" : "unknown argument " + option);
        const std::string value = argv[++i];
        int64_t number = 0;
        if (option == "--dir") {
            settings.stageDir = value;
        } else if (option == "--fps") {
            if (!parseCount(value, number, 1, 1000)) return usageError("--fps takes a whole number from 1 to 1000");
            settings.fps = static_cast<int32_t>(number);
        } else if (option == "--start") {
            if (!parseSeconds(value, settings.startMs)) return usageError("--start takes seconds, 0 or more");
        } else if (option == "--end") {
            if (!parseSeconds(value, settings.endMs)) return usageError("--end takes seconds, 0 or more");
            endGiven = true;
        } else if (option == "--frames") {
            if (!parseCount(value, settings.frameCount, 0, 100000000)) return usageError("--frames takes a whole number");
            framesGiven = true;
        } else if (option == "--scale") {
            if (!parseCount(value, number, 1, 8)) return usageError("--scale takes a whole number from 1 to 8");
            scale = static_cast<int32_t>(number);
        } else if (option == "--png") {
            pngDir = absolute(value);
        } else if (option == "--y4m") {
            y4mPath = absolute(value);
        } else if (option == "--crcs") {
            crcsPath = absolute(value);
        } else if (option == "--wav") {
            settings.wavPath = absolute(value);
        } else if (option == "--timings") {
            timingsPath = absolute(value);
        } else {
            return usageError("unknown option " + option);
        }
    }
    if (endGiven && framesGiven) return usageError("--end and --frames exclude each other");
    if (endGiven && settings.endMs <= settings.startMs) return usageError("--end must lie after --start");
    settings.timeParts = !timingsPath.empty();

    if (!pngDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(pngDir, error);
        if (error) {
            std::fprintf(stderr, "demo-render: cannot create %s: %s\n", pngDir.c_str(), error.message().c_str());
            return 1;
        }
    }
    Y4mWriter y4m;
    if (!y4mPath.empty()) {
        // The header needs the frame size, known from the program's fixed frame.
        if (!y4m.open(y4mPath, units::kFrameWidth * scale, units::kFrameHeight * scale, settings.fps)) {
            std::fprintf(stderr, "demo-render: cannot write %s\n", y4mPath.c_str());
            return 1;
        }
        // The stream owns standard output now: the demo's lines go to standard error.
        if (y4mPath == "-" && !platform::sendStandardOutputToError()) {
            std::perror("demo-render: redirecting standard output");
            return 1;
        }
    }

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> crcs(nullptr, std::fclose);
    if (!crcsPath.empty()) {
        crcs.reset(std::fopen(crcsPath.c_str(), "w"));
        if (!crcs) {
            std::fprintf(stderr, "demo-render: cannot write %s\n", crcsPath.c_str());
            return 1;
        }
    }

    std::string failure;
    std::vector<uint32_t> enlarged;
    auto sink = [&](const OfflineFrame& frame) {
        if (frame.width != units::kFrameWidth || frame.height != units::kFrameHeight) {
            failure = "unexpected frame size";
            return false;
        }
        const uint32_t* pixels = frame.pixels;
        if (scale > 1) {
            enlargeFrame(frame.pixels, frame.width, frame.height, scale, enlarged);
            pixels = enlarged.data();
        }
        if (!pngDir.empty()) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame-%06lld.png", static_cast<long long>(frame.index));
            if (!writeFramePng(pngDir + name, pixels, frame.width * scale, frame.height * scale)) {
                failure = "cannot write " + pngDir + name;
                return false;
            }
        }
        if (!y4mPath.empty() && !y4m.writeFrame(pixels)) {
            failure = "writing the y4m stream failed";
            return false;
        }
        if (crcs && std::fprintf(crcs.get(), "%lld %08x\n", static_cast<long long>(frame.index),
                                 static_cast<unsigned>(frameCrc(frame.pixels, frame.width, frame.height))) < 0) {
            failure = "cannot write " + crcsPath;
            return false;
        }
        return true;
    };

    OfflineResult result = renderOffline(settings, sink);
    if (!y4mPath.empty() && !y4m.close() && failure.empty()) failure = "writing the y4m stream failed";
    if (crcs && std::fclose(crcs.release()) != 0 && failure.empty()) failure = "cannot write " + crcsPath;
    if (failure.empty() && !result.ok) failure = result.error;

    if (!timingsPath.empty()) {
        std::FILE* file = std::fopen(timingsPath.c_str(), "w");
        const std::string json = timingsJson(result);
        if (!file || std::fputs(json.c_str(), file) < 0 || std::fclose(file) != 0) {
            if (failure.empty()) failure = "cannot write " + timingsPath;
        }
    }

    const double shown = static_cast<double>(result.frames) / settings.fps;
    std::fprintf(stderr, "demo-render: %lld frames (%.3f s of run time) in %.3f s: %.1f frames/s, %.1fx real time\n",
                 static_cast<long long>(result.frames), shown, result.wallSeconds,
                 result.wallSeconds > 0 ? result.frames / result.wallSeconds : 0.0,
                 result.wallSeconds > 0 ? shown / result.wallSeconds : 0.0);
    if (!failure.empty()) {
        std::fprintf(stderr, "demo-render: %s\n", failure.c_str());
        return 1;
    }
    return 0;
}
