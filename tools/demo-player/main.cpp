// demo-player: the demo's parts through the demo's runner, in a window with sound, with
// seek, pause, single frames, a part loop, mute and a live sync script.

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "PlayerController.h"
#include "PlayerInput.h"
#include "PlayerWindow.h"
#include "RunningText.h"
#include "StripText.h"
#include "SyncEditor.h"
#include "Timeline.h"
#include "assets/FontSheet.h"
#include "audio/SdlAudioLibrary.h"
#include "audio/StreamDecoder.h"
#include "core/Bitmap.h"
#include "core/DataFile.h"
#include "core/Units.h"
#include "demo/DemoRunner.h"
#include "display/PtcDisplayDriver.h"
#include "parts/Show.h"
#include "program/DemoProgram.h"

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
    "  --scale N        show the frame N times its size (default 2; lowered to what fits\n"
    "                   the screen)\n"
    "  --fullscreen     start full screen\n"
    "  --mute           start without sound\n"
    "  --help           show this text\n"
    "\n"
    "Keys: Space pause/resume; Right/Left 1 s on/back; Up/Down 10 s on/back; Page Down/\n"
    "Page Up the next/previous part; Home the start; L loop the current part (again: off);\n"
    "period/comma one frame on/back while paused; M mute; Tab status line; T timeline;\n"
    "+/- or the mouse wheel zoom the timeline, a click or drag on it seeks; F full screen;\n"
    "Escape or Q quit (with unsaved edits: press it again to quit without saving).\n"
    "\n"
    "Editing the sync script: E drops a POWPOW event on the nearest beat (Shift+E: at the\n"
    "exact time); [ and ] select the previous/next event or part change, as does a click on\n"
    "it; Shift+Left/Right move the selection a beat, Ctrl+Shift+Left/Right a frame, a drag\n"
    "anywhere; Delete removes the selected event; Ctrl+Z undoes, Ctrl+Shift+Z or Ctrl+Y\n"
    "redoes; Ctrl+S saves. The script is read again whenever it changes on disk (while\n"
    "edits are unsaved they stay, and R reads the file).\n";

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

// What the build recorded: the stage it made and the script it made it from.
#ifdef DEMO_PLAYER_BUILD_STAGE
constexpr const char* kBuildStage = DEMO_PLAYER_BUILD_STAGE;
constexpr const char* kSourceScript = DEMO_PLAYER_SOURCE_SCRIPT;
#else
constexpr const char* kBuildStage = "";
constexpr const char* kSourceScript = "";
#endif

// The script the player plays, as a path (the stage's file in whatever letter case it has).
std::string resolvedStageScript() {
    const std::string found = resolveDataPath(DemoProgram::kSyncFile);
    return found.empty() ? DemoProgram::kSyncFile : found;
}
constexpr double kLengthWithoutMusic = 200.0;

// What the timeline shows now: the parts' windows, the script's events and changes, the
// time, and the music's length (when it is known).
void showContent(PlayerController& controller, const SyncEditor& editor, double musicSeconds,
                 TimelineContent& content) {
    const DemoRunner& run = controller.runner();
    content.parts.clear();
    for (int32_t i = 0; i < run.partCount(); i++) {
        std::string kind = run.partName(i);
        if (kind.size() > 4 && kind.compare(kind.size() - 4, 4, "Part") == 0) kind.resize(kind.size() - 4);
        const PartWindow window = run.window(i);
        content.parts.push_back({window.start, window.end, i < show::kPartCount ? show::kParts[i].label : "", kind});
    }
    editor.fill(content);
    content.beatsPerMinute = show::kBeatsPerMinute;
    content.beatsPerBar = show::kBeatsPerBar;
    content.length = musicSeconds > 0.0 ? musicSeconds : kLengthWithoutMusic;
    content.playhead = static_cast<double>(controller.timeMs()) / 1000.0;
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
            std::fputs(kUsage, stdout);
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
            if (!parseNumber(argv[++i], value, 0, show::kPartCount - 1) || value != std::floor(value))
                return usageError("--part takes a part index from 0 to " + std::to_string(show::kPartCount - 1));
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

    PlayerWindow window(scale, {PlayerController::kStatusHeight, Timeline::kHeight}, settings.fullscreen);
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
    if (window.scale() < scale)
        std::fprintf(stderr, "demo-player: scale %d does not fit the screen: showing at scale %d\n", scale,
                     window.scale());

    // The music's envelope for the timeline, decoded beside the show.
    MusicEnvelope envelope;
    std::atomic<bool> envelopeReady{false};
    std::thread envelopeMaker([&envelope, &envelopeReady] {
        std::vector<uint8_t> bytes;
        std::vector<int16_t> stereo;
        if (readDataFile(DemoProgram::kMusicFile, bytes) && decodeStream(bytes.data(), bytes.size(), stereo))
            envelope = MusicEnvelope(stereo);
        envelopeReady = true;
    });

    // The editor works on the stage's script; saves go where the build says they belong.
    const SaveTargets targets = saveTargets(resolvedStageScript(), kBuildStage, kSourceScript);
    std::fprintf(stderr, "demo-player: %s\n", targets.note.c_str());
    if (audio.outputLatencySeconds() > 0.0)
        std::fprintf(stderr, "demo-player: the sound device buffers %.1f ms: E while playing lands that much earlier\n",
                     audio.outputLatencySeconds() * 1000.0);
    SyncEditor editor(controller, targets, audio.outputLatencySeconds());
    std::vector<uint8_t> scriptBytes;
    if (readDataFile(DemoProgram::kSyncFile, scriptBytes)) editor.load(std::string(scriptBytes.begin(), scriptBytes.end()));
    else std::fprintf(stderr, "demo-player: no %s here: nothing to edit\n", DemoProgram::kSyncFile);
    controller.setScriptGuard([&editor](const std::string& text) { return editor.takeChangedFile(text); });

    const int32_t width = display->frame()->width;
    const FontSheet& font = controller.runner().fontSheet();
    Timeline timeline(width);
    PlayerInput input(controller, editor, timeline);
    std::vector<uint32_t> status(static_cast<size_t>(width) * PlayerController::kStatusHeight);
    std::vector<uint32_t> strip(static_cast<size_t>(width) * Timeline::kHeight);
    TimelineContent content;
    const MusicEnvelope noMusic;
    for (;;) {
        const auto passStart = std::chrono::steady_clock::now();
        showContent(controller, editor, envelopeReady ? envelope.seconds() : 0.0, content);
        for (const WindowEvent& event : window.takeInput()) input.handle(event, window.stripTop(1), content);
        input.settlePointer();
        if (!controller.tick()) break;
        showContent(controller, editor, envelopeReady ? envelope.seconds() : 0.0, content);
        const auto wallMs = std::chrono::duration_cast<std::chrono::milliseconds>(passStart.time_since_epoch()).count();
        drawStatusLine(status.data(), width, PlayerController::kStatusHeight, font,
                       runningText(editor.statusLine(controller.statusText()),
                                   static_cast<size_t>(width / font.glyphSize), wallMs));
        window.setStrip(0, status.data());
        if (input.timelineShown()) {
            timeline.follow(content.playhead, content.length);
            timeline.draw(strip.data(), content, envelopeReady ? envelope : noMusic, font);
            window.setStrip(1, strip.data());
        }
        window.setStripVisible(0, controller.statusVisible());
        window.setStripVisible(1, input.timelineShown());
        if (window.fullscreen() != controller.fullscreen()) window.setFullscreen(controller.fullscreen());
        // The vsync'd present paces the loop where there is one; elsewhere this does.
        std::this_thread::sleep_until(passStart + std::chrono::nanoseconds(units::kFrameStepNs));
    }
    envelopeMaker.join();
    controller.finish();
    return 0;
}
