// The demo in a web browser: the same object graph, toolkit, audio library and runner as
// `demo`, compiled to WebAssembly. The page (web/) calls main after a click or key, with
// `--classic` for the demo as it is (any key ends it), otherwise as a player that the page
// steers through the exported functions below; `--start SECONDS` and `--paused` begin there.
// The functions on `Module` that this calls are the page's.
#include <emscripten.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "audio/MusicPlayer.h"
#include "audio/SdlAudioLibrary.h"
#include "core/Units.h"
#include "demo/Clock.h"
#include "demo/DemoRunner.h"
#include "display/PtcDisplayDriver.h"
#include "display/SdlToolkit.h"
#include "parts/Show.h"
#include "program/DemoProgram.h"

namespace {

using units::kNsPerMs;

struct WebShow {
    DemoProgram* program = nullptr;
    DisplayDriver* display = nullptr;
    AudioLibrary* audio = nullptr;
    MusicPlayer* music = nullptr;
    bool classic = false;

    // The player's show time, moved on by the browser's clock while playing; the run timer
    // reads it through showClock.
    VirtualClock showClock;
    int64_t showNs = 0;
    int64_t lengthNs = 0;
    double lastWallMs = 0;
    bool paused = false;
    bool drawPending = true;
};
WebShow web;

DemoRunner& runner() { return web.program->runner(); }

// Every draw goes to the page, which shows the time and keeps frame statistics per part.
void reportFrame(const FrameReport& report, double seconds) {
    EM_ASM({ Module.frameDone($0, $1, $2); }, report.part, report.drawSeconds * 1000.0, seconds);
}

// The demo's loop, one turn per animation frame: a browser draws, plays and delivers keys
// only between calls, so the loop cannot block as it does on the desktop.
void classicTurn(void*) {
    if (web.display->keyPressed()) {
        emscripten_cancel_main_loop();
        web.program->finish();
        EM_ASM({ Module.showEnded(); });
        return;
    }
    const FrameReport report = runner().playFrame();
    reportFrame(report, report.time);
}

// The run timer reads the middle of the show time's millisecond, as the offline renderer
// draws a frame.
void setShowClock() { web.showClock.set(web.showNs / kNsPerMs * kNsPerMs + kNsPerMs / 2); }

// Goes to a time (within the show) as a run starting there would be; the next turn draws it.
void restartAt(int64_t ns) {
    web.showNs = ns < 0 ? 0 : ns > web.lengthNs ? web.lengthNs : ns;
    // The clock first, so the restart keeps the run timer on it.
    setShowClock();
    runner().restart(web.showNs / kNsPerMs);
    web.drawPending = true;
    // The show is there now, however long ago the last turn was.
    web.lastWallMs = emscripten_get_now();
}

// The player's turn: time moves on while playing, and a frame is drawn when it has moved or
// a seek asked for one. Keys are the page's: the demo does not see them.
void playerTurn(void*) {
    const double wallMs = emscripten_get_now();
    if (!web.paused) {
        web.showNs += std::llround((wallMs - web.lastWallMs) * kNsPerMs);
        web.drawPending = true;
        if (web.showNs >= web.lengthNs) {
            // The show is over: hold its last frame, as a video does.
            web.showNs = web.lengthNs;
            web.paused = true;
            web.music->pause();
            EM_ASM({ Module.showOver(); });
        }
    }
    web.lastWallMs = wallMs;
    if (!web.drawPending) return;
    web.drawPending = false;
    setShowClock();
    reportFrame(runner().playFrame(), static_cast<double>(web.showNs) / 1e9);
}

// The show's parts for the seek bar: each one's label from the show's record and its window
// as the sync script set it.
std::string partsJson() {
    std::string json = "{\"length\": " + std::to_string(static_cast<double>(web.lengthNs) / 1e9) + ", \"parts\": [";
    for (int32_t i = 0; i < runner().partCount(); i++) {
        const char* label = i < show::kPartCount ? show::kParts[i].label : "part";
        const PartWindow window = runner().window(i);
        char entry[160];
        std::snprintf(entry, sizeof entry, "%s{\"label\": \"%s\", \"start\": %.9g, \"end\": %.9g}", i ? ", " : "",
                      label, static_cast<double>(window.start), static_cast<double>(window.end));
        json += entry;
    }
    return json + "]}";
}

int64_t secondsToNs(double seconds) {
    if (!(seconds > 0)) return 0;
    const double ms = std::floor(seconds * 1e3);
    return ms * kNsPerMs >= static_cast<double>(web.lengthNs) ? web.lengthNs : static_cast<int64_t>(ms) * kNsPerMs;
}

}  // namespace

extern "C" {

// Goes to a time of the show, in whole milliseconds; the next turn draws it, paused or not.
EMSCRIPTEN_KEEPALIVE void webSeek(double seconds) {
    if (web.classic || !web.program) return;
    restartAt(secondsToNs(seconds));
}

EMSCRIPTEN_KEEPALIVE void webSetPaused(int paused) {
    if (web.classic || !web.program || web.paused == (paused != 0)) return;
    web.paused = paused != 0;
    if (web.paused) {
        web.music->pause();
        return;
    }
    // The music plays on from the show's time, which a seek may have moved.
    web.music->setPosition(units::musicBytesAt(web.showNs / kNsPerMs));
    web.music->resume();
    web.lastWallMs = emscripten_get_now();
}

EMSCRIPTEN_KEEPALIVE void webSetMuted(int muted) {
    if (!web.classic && web.audio) web.audio->setVolume(muted ? 0 : 100);
}

}  // extern "C"

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    double startSeconds = 0;
    bool startPaused = false;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--classic") == 0) web.classic = true;
        else if (std::strcmp(argv[i], "--paused") == 0) startPaused = true;
        else if (std::strcmp(argv[i], "--start") == 0 && i + 1 < argc) startSeconds = std::atof(argv[++i]);
    }

    // Everything outlives main: the loop goes on after it returns.
    SdlToolkit* toolkit = new SdlToolkit();
    web.display = new PtcDisplayDriver(*toolkit);
    SdlAudioLibrary* audio = new SdlAudioLibrary();
    web.audio = audio;
    web.music = new MusicPlayer(audio);
    Clock* clock = web.classic ? static_cast<Clock*>(new RealClock()) : &web.showClock;
    web.program = new DemoProgram(web.display, web.music, *clock);
    try {
        web.program->begin();
    } catch (const DynamicError& error) {
        std::fprintf(stderr, "cannot open the display: %s\n", error.message());
        EM_ASM({ Module.showFailure("The display could not be opened: " + UTF8ToString($0)); },
               error.message());
        return 1;
    }
    if (web.classic) {
        emscripten_set_main_loop_arg(classicTurn, nullptr, 0, 0);
        return 0;
    }

    const double lastChange = runner().changeCount() > 0 ? runner().change(runner().changeCount() - 1) : 0.0;
    web.lengthNs = (std::llround(lastChange * 1e3) + units::kShowTailMs) * kNsPerMs;
    EM_ASM({ Module.showBegun(UTF8ToString($0)); }, partsJson().c_str());
    // Paused first, so that no sound plays past the starting point.
    if (startPaused) webSetPaused(1);
    restartAt(secondsToNs(startSeconds));
    emscripten_set_main_loop_arg(playerTurn, nullptr, 0, 0);
    return 0;
}
