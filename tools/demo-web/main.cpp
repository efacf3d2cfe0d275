// The demo in a web browser: the same object graph, toolkit, audio library and runner as
// `demo`, compiled to WebAssembly. The page (web/) calls main after a click or key; the
// functions on `Module` below are the page's.
#include <emscripten.h>

#include <cstdio>

#include "audio/MusicPlayer.h"
#include "audio/SdlAudioLibrary.h"
#include "demo/Clock.h"
#include "program/DemoProgram.h"
#include "demo/DemoRunner.h"
#include "display/PtcDisplayDriver.h"
#include "display/SdlToolkit.h"

namespace {

struct Show {
    DemoProgram* program;
    DisplayDriver* display;
};

// The demo's loop, one turn per animation frame: a browser draws, plays and delivers keys
// only between calls, so the loop cannot block as it does on the desktop.
void playTurn(void* data) {
    Show* show = static_cast<Show*>(data);
    if (show->display->keyPressed()) {
        emscripten_cancel_main_loop();
        show->program->finish();
        EM_ASM({ Module.showEnded(); });
        return;
    }
    // Every draw's wall time goes to the page, which keeps frame statistics per part.
    const FrameReport report = show->program->runner().playFrame();
    EM_ASM({ Module.frameDone($0, $1); }, report.part, report.drawSeconds * 1000.0);
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    // Everything outlives main: the loop goes on after it returns.
    SdlToolkit* toolkit = new SdlToolkit();
    PtcDisplayDriver* display = new PtcDisplayDriver(*toolkit);
    SdlAudioLibrary* audio = new SdlAudioLibrary();
    MusicPlayer* music = new MusicPlayer(audio);
    RealClock* clock = new RealClock();
    DemoProgram* program = new DemoProgram(display, music, *clock);
    try {
        program->begin();
    } catch (const DynamicError& error) {
        std::fprintf(stderr, "cannot open the display: %s\n", error.message());
        EM_ASM({ Module.showFailure("The display could not be opened: " + UTF8ToString($0)); },
               error.message());
        return 1;
    }
    emscripten_set_main_loop_arg(playTurn, new Show{program, display}, 0, 0);
    return 0;
}
